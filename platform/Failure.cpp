#include "platform/Failure.h"

namespace platform {

std::string FormatFailure(const std::string& pattern, const std::string& argument) {
  std::string::size_type at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + argument + pattern.substr(at + 2);
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

const char* CurrentFailureText(const Failure** ours) noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    if (ours != nullptr) *ours = &failure;
    return failure.what();
  } catch (const std::exception& failure) {
    return failure.what();
  } catch (...) {
    return "Unknown failure";
  }
}

}  // namespace platform
