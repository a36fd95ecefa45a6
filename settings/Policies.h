#pragma once
// The options an administrator sets with Group Policy: the values under
// SOFTWARE\Policies\Kestrome\Dorvane\4.0 of the computer
// (HKEY_LOCAL_MACHINE) and of the user (HKEY_CURRENT_USER), with the same
// names and types as the stored settings. Group Policy writes them and
// takes them away again; the program only reads them. While a policy sets
// an option, its value is in force over the stored one, which stays the
// user's and is in force again once the policy is gone.

#include <string>
#include <vector>

#include "platform/EventLog.h"
#include "platform/Registry.h"
#include "settings/CheckOptions.h"

// The policy key, below either root.
extern const char kPolicyKeyPath[];  // "SOFTWARE\Policies\Kestrome\Dorvane\4.0"

// The options of a set by the names of their values, "Drives, Logging";
// empty for none.
std::string OptionNames(TOptionSet options);

// Copies the options of `which` from one record to the other; the two hold
// the same drive entries.
void CopyOptions(TOptionSet which, const TCheckOptions& from, TCheckOptions& to);

// Reads both policy keys into `options` and answers the options they set;
// where both set an option, the computer's value wins. A value of the
// wrong type or content counts as not set, leaves `options` as it was, and
// is named in `ignored`.
TOptionSet ReadPolicies(platform::Registry& machine, platform::Registry& user,
                        TCheckOptions& options, const std::string& defaultLogFile,
                        std::vector<std::string>& ignored);

// The language that a policy chooses (the value "Language", a language
// tag or empty for Windows' display language), the computer's over the
// user's: true with `language` set where one does. A value of another type,
// or a text that is no tag, chooses nothing and is reported as event 1002;
// the stored choice holds then, as with no policy.
bool PolicyLanguage(platform::Registry& machine, platform::Registry& user,
                    platform::EventLog& events, std::string& language);

// The options in force: the stored ones, with the policies' values over
// those that a policy sets. Each value ignored is reported once, as event
// 1002, until it is mended or gone.
class PolicyOverlay {
 public:
  // `defaultLogFile` outlives the overlay (the store's).
  PolicyOverlay(platform::Registry& machine, platform::Registry& user, platform::EventLog& events,
                const std::string& defaultLogFile);

  // After the store has filled `options`: keeps them as the stored options
  // and puts the policies' values in force.
  void Loaded(TCheckOptions& options);

  // Reads the policies again. An option that a policy sets takes its
  // value; one that a policy no longer sets takes its stored value back;
  // the others keep theirs, unsaved edits included. Answers the options
  // that a policy set before or sets now.
  TOptionSet Refresh(TCheckOptions& options);

  // Before the store loads again: the options that a policy sets take
  // their stored values back, so that a repair keeps the user's labels,
  // never the policy's.
  void Withdraw(TCheckOptions& options) const;

  // The options that a policy sets.
  TOptionSet Managed() const { return managed_; }

 private:
  platform::Registry& machine_;
  platform::Registry& user_;
  platform::EventLog& events_;
  const std::string& defaultLogFile_;
  TCheckOptions stored_;
  TOptionSet managed_ = 0;
  std::vector<std::string> reported_;
};
