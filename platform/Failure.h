#pragma once
// The one kind of failure the program raises. Its message is what the user
// reads in the error box, so it is written in the program's own words.

#include <cstddef>
#include <exception>
#include <optional>
#include <string>

#include "platform/Language.h"

namespace platform {

// The failures that the platform meets itself (Windows refuses a window or
// a menu item), each worded by the text of the program's table that the
// program names for it (TApplication::SetTexts), in that order.
enum class PlatformText { CreateWindow, InsertMenuItem };
constexpr std::size_t kPlatformTextCount = 2;

// Not a std::runtime_error: that class keeps its message in a string type
// of its own, which would add the library's second string to the program.
class Failure : public std::exception {
 public:
  // A message that is the same in every language: a mistake of the program.
  explicit Failure(std::string message) : message_(std::move(message)) {}
  // A message of the table of texts: `english`, the text `text` in English,
  // with `value` (in the system's ANSI code page) for its "%1". The message
  // is the English one, which the event log keeps; the error box shows the
  // text in the user's language.
  Failure(TextId text, const char* english, std::string value)
      : message_(FormatText(english, {value})), text_(text), value_(std::move(value)) {}

  // A failure the platform meets itself: `english` until the program's
  // texts word it.
  Failure(PlatformText which, const char* english) : message_(english), platform_(which) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::optional<TextId>& Text() const { return text_; }
  const std::optional<PlatformText>& Platform() const { return platform_; }
  const std::string& Value() const { return value_; }

 private:
  std::string message_;
  std::optional<TextId> text_;
  std::string value_;
  std::optional<PlatformText> platform_;
};

// Replaces the one "%s" of a message pattern with an argument, as the
// program's failure messages are written ("Failed to get data for '%s'").
std::string FormatFailure(const std::string& pattern, const std::string& argument);

// The text of the error box: the failure's message with a full stop added
// when its last character sorts after "." (so "Stream write error" gains
// one and a message ending in "." or "!" keeps its own).
std::string ErrorBoxText(const std::string& message);

// Inside a catch: the text of the failure being handled, valid while that
// catch runs. A std::exception gives its message, anything else "Unknown
// failure". So a function that Windows calls back ends with one
// catch (...), and nothing unwinds through Windows's frames. Where the
// failure is a Failure, `ours` is set to it, for the text it is of.
const char* CurrentFailureText(const Failure** ours = nullptr) noexcept;

}  // namespace platform
