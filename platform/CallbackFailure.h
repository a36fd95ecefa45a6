#pragma once
// A failure inside a function that Windows calls back during one of its own
// calls (an enumeration): it must not unwind through Windows's frames, which
// know nothing of C++ exceptions. The callback keeps its message and stops
// the enumeration; once Windows's call has returned, the caller raises it
// again, so the failure reaches the framework's error box as any other does.


namespace platform {

class CallbackFailure {
 public:
  // Call inside the callback's catch with the failure's text
  // (CurrentFailureText); the answer (false) stops the enumeration.
  bool Keep(const char* message) noexcept;
  // Call after the enumeration has returned: a kept failure is raised as a
  // platform::Failure with the same message.
  void RaiseAgain() const;

 private:
  // Room of its own, since the failure may be that no memory is left.
  char message_[512] = {};
  bool kept_ = false;
};

}  // namespace platform
