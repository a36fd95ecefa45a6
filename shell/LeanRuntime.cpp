// Two pieces of the C++ runtime that dorvane.exe supplies itself, because
// the library's own pull in far more than the program uses: together they
// are more than a quarter of the file a user copies.
//
// - The library's terminate handler names the uncaught exception's type on
//   the standard error stream, and links the whole symbol demangler and a
//   printf engine for it. A windowed program has no such stream; it just
//   ends, as Windows's own handler would.
// - The standard containers report a fault in the program (an index out of
//   range, a length past max_size) by throwing std::out_of_range and its
//   kin, whose messages are held in a second, copy-on-write string type
//   that the library then links in full. Here they throw LibraryFault
//   instead, which the window framework shows in the error box like any
//   other failure; running out of memory stays std::bad_alloc.
// Only the program links this file; the test programs keep the library's
// own versions.

#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryFault : public std::exception {
 public:
  explicit LibraryFault(const char* what) noexcept : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

[[noreturn]] void Fault(const char* what) { throw LibraryFault(what); }

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// Every function that the library's own definitions come in together with,
// so that none of those is linked.
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { Fault(what); }
void __throw_domain_error(const char* what) { Fault(what); }
void __throw_invalid_argument(const char* what) { Fault(what); }
void __throw_length_error(const char* what) { Fault(what); }
void __throw_out_of_range(const char* what) { Fault(what); }
// The pattern's numbers are left unfilled: the message is for whoever
// mends the program, and filling them would link a formatter.
void __throw_out_of_range_fmt(const char* pattern, ...) { Fault(pattern); }
void __throw_runtime_error(const char* what) { Fault(what); }
void __throw_range_error(const char* what) { Fault(what); }
void __throw_overflow_error(const char* what) { Fault(what); }
void __throw_underflow_error(const char* what) { Fault(what); }
}  // namespace std
