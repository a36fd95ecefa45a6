#pragma once
// Every store that the seven values of the settings key can make, each of
// them missing, of a wrong type or right: 3^7 = 2187 stores, each loaded
// through the settings store on whatever registry is given (the host's
// in-memory one, or the real one under Wine), judged against the design's
// rule for the reset, and loaded a second time. Each is loaded three
// times over, with the eighth value, "RemovableDrives", missing, of a wrong
// type and right.

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace figures {

struct CombinationCounts {
  int combinations = 0;
  int resets = 0;
  int noResets = 0;
  int crashes = 0;        // loads that ended with an exception
  int rereadClean = 0;    // second loads that found the store as the first left it
  int disagreements = 0;  // loads whose outcome is not the design's
  std::vector<std::string> firstDisagreements;  // a few, to show what went wrong

  // "2187 combinations: 1920 reset, 267 no reset, 0 crashes, 2187 re-read
  // without reset, 0 against the design"
  std::string Summary() const;
};

// The design's rule: a missing boolean, or a value of a wrong type, resets
// the store; a missing text does not.
// `states` holds one of 'm' (missing), 'w' (wrong type), 'r' (right) for
// each value, in the order of ValueNames().
bool DesignResets(const std::string& states);
const std::vector<std::string>& ValueNames();

// `removable` is the state of the eighth value, "RemovableDrives", in every
// store: 'm', 'w' or 'r' as above. It never resets the store.
CombinationCounts LoadEveryCombination(platform::Registry& registry, char removable);

// A stored REG_DWORD `name` ("NoDialog" or "RemovableDrives") of `size`
// bytes whose last byte is 1 (none at all for 0), the other values right:
// whether the load reset the store and what it read.
struct SizedBoolean {
  bool reset = false;
  bool value = false;
};
SizedBoolean LoadBooleanOfSize(platform::Registry& registry, const std::string& name,
                               unsigned size);

// The tests of both registries: each loads every combination, or each
// boolean size from 0 to 5, on `registry`, adds the figures to the
// registry table under `registryName`, and expects the design's outcome.
// Only the stores whose two booleans are right and whose five texts are
// each right or missing (2^5 of them) load without a reset, whichever
// state "RemovableDrives" is in: the 2187 are loaded for each of its three.
void ExpectEveryCombinationAsDesigned(platform::Registry& registry,
                                      const std::string& registryName);
void ExpectBooleanSizesAsDesigned(platform::Registry& registry, const std::string& registryName);

}  // namespace figures
