#pragma once
// The one kind of failure the program raises. Its message is what the user
// reads in the error box, so it is written in the program's own words.

#include <exception>
#include <string>

namespace platform {

// Not a std::runtime_error: that class keeps its message in a string type
// of its own, which would add the library's second string to the program.
class Failure : public std::exception {
 public:
  explicit Failure(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
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
// catch (...), and nothing unwinds through Windows's frames.
const char* CurrentFailureText() noexcept;

}  // namespace platform
