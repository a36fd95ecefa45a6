#pragma once
// What every fuzz target shares: reading its cases out of the fuzzer's
// bytes, and stopping the run with a readable report when a property does
// not hold (libFuzzer then keeps the input as a crash).

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>

namespace fuzz {

// Reads the fuzzer's bytes from the front. Past the end every read gives
// zeros and empty texts, so each target takes any input.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte();
  std::uint32_t Number32();  // four bytes, little-endian
  // A number from `low` to `high`, both included.
  int Between(int low, int high);
  // A length byte (at most `maxLength`), then that many bytes.
  std::string Text(std::size_t maxLength = 255);
  // Every byte not read yet.
  std::string Rest();

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The lead-byte sets of the code pages the targets try: none (1252 and the
// other single-byte ones), Japanese (932), and Chinese and Korean (936,
// 949, 950), chosen by `selector`.
std::set<unsigned char> LeadBytesOf(std::uint8_t selector);

// The bytes, with the unprintable ones as \xNN, for a report.
std::string Shown(const std::string& bytes);

// Stops the run, naming the broken property and the case.
[[noreturn]] void Fail(const char* property, const std::string& detail);

// Stops the run when `holds` is false. `detail` describes the case: a text,
// or a function that makes it, called only then, so that a passing run
// spends nothing on reports.
template <class Detail>
void Require(bool holds, const char* property, const Detail& detail) {
  if (holds) return;
  if constexpr (std::is_invocable_v<Detail>) {
    Fail(property, detail());
  } else {
    Fail(property, detail);
  }
}
inline void Require(bool holds, const char* property) { Require(holds, property, ""); }

}  // namespace fuzz
