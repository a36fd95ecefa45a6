#pragma once
// The one kind of failure the program raises. Its message is what the user
// reads in the error box, so it is written in the program's own words.

#include <stdexcept>
#include <string>

namespace platform {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the one "%s" of a message pattern with an argument, as the
// program's failure messages are written ("Failed to get data for '%s'").
std::string FormatFailure(const std::string& pattern, const std::string& argument);

}  // namespace platform
