#include "shell/LineBreaks.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Which bytes start a two-byte character of the ANSI code page, asked of
// the locale once per text and then looked up by value.
class LeadBytes {
 public:
  explicit LeadBytes(platform::Locale& locale) {
    for (const platform::Locale::LeadByteRange& range : locale.LeadByteRanges()) {
      for (int byte = range.first; byte <= range.last; ++byte) table_[byte] = true;
      any_ = any_ || range.first <= range.last;
    }
  }
  bool Any() const { return any_; }
  bool operator()(unsigned char byte) const { return table_[byte]; }

 private:
  std::array<bool, 256> table_{};
  bool any_ = false;
};

// Hands each line break of the text to `onBreak(position, length)`: length
// 2 for CR LF, 1 for a lone CR or LF. `onBreak` answers whether to go on.
// In a single-byte code page (every Western one) no byte is a lead byte,
// and the breaks are found with memchr, a block at a time; only a
// double-byte code page needs the bytes one by one, so that the second
// byte of a character is never taken for a break.
template <typename OnBreak>
void ForEachLineBreak(const char* data, std::size_t size, const LeadBytes& lead, OnBreak onBreak) {
  const char* const end = data + size;
  auto breakLength = [&](const char* at) -> std::size_t {
    return at[0] == '\r' && at + 1 < end && at[1] == '\n' ? 2 : 1;
  };
  if (!lead.Any()) {
    auto next = [end](const char* from, char byte) {
      const void* found = std::memchr(from, byte, static_cast<std::size_t>(end - from));
      return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* nextCr = next(data, '\r');
    const char* nextLf = next(data, '\n');
    for (const char* at = data;;) {
      if (nextCr < at) nextCr = next(at, '\r');
      if (nextLf < at) nextLf = next(at, '\n');
      const char* found = std::min(nextCr, nextLf);
      if (found == end) return;
      const std::size_t length = breakLength(found);
      if (!onBreak(static_cast<std::size_t>(found - data), length)) return;
      at = found + length;
    }
  }
  for (const char* at = data; at < end;) {
    if (*at == '\r' || *at == '\n') {
      const std::size_t length = breakLength(at);
      if (!onBreak(static_cast<std::size_t>(at - data), length)) return;
      at += length;
    } else {
      // A lead byte takes the next byte into its character, unless a CR LF
      // follows it: that is a break even there (see NormalizeLineBreaks).
      const bool crLfFollows = at + 2 < end && at[1] == '\r' && at[2] == '\n';
      at += lead(static_cast<unsigned char>(*at)) && at + 1 < end && !crLfFollows ? 2 : 1;
    }
  }
}

std::size_t CountLoneBreaks(const std::string& bytes, const LeadBytes& lead) {
  std::size_t lone = 0;
  ForEachLineBreak(bytes.data(), bytes.size(), lead, [&](std::size_t, std::size_t length) {
    lone += length == 1 ? 1 : 0;
    return true;
  });
  return lone;
}

// `text` becomes `bytes` with every break CR LF, copied a stretch between
// two breaks at a time into a buffer of the bytes' size and `extra` bytes
// more: one for each lone break, and the room the caller asked for.
void NormalizeInto(std::string& text, const std::string& bytes, const LeadBytes& lead,
                   std::size_t extra) {
  std::string normalized;
  normalized.reserve(bytes.size() + extra);
  std::size_t copied = 0;
  ForEachLineBreak(bytes.data(), bytes.size(), lead, [&](std::size_t at, std::size_t length) {
    normalized.append(bytes, copied, at - copied);
    normalized += kLineBreak;
    copied = at + length;
    return true;
  });
  normalized.append(bytes, copied, std::string::npos);
  text.swap(normalized);
}

}  // namespace

// Editors on other systems leave LF or CR alone as line breaks; the log
// is for Windows readers, so every break becomes CR LF. In a double-byte
// code page the second byte of a character may have any value, and it is
// copied with its lead byte so that it is never taken for a break.
//
// A CR LF pair is the one exception: it is a break even after a lead
// byte. A file cut short inside a character ends in a lone lead byte, the
// program writes its break right after it, and the next run must find
// that break again rather than take its CR into the character and add a
// CR of its own. No code page has CR as the second byte of a character.
std::string NormalizeLineBreaks(const std::string& bytes, platform::Locale& locale) {
  const LeadBytes lead(locale);
  std::string text;
  NormalizeInto(text, bytes, lead, CountLoneBreaks(bytes, lead));
  return text;
}

bool HasOnlyCrLfBreaks(const std::string& bytes, platform::Locale& locale) {
  bool clean = true;
  ForEachLineBreak(bytes.data(), bytes.size(), LeadBytes(locale),
                   [&](std::size_t, std::size_t length) {
                     clean = length == 2;
                     return clean;
                   });
  return clean;
}

bool NormalizeLineBreaksInto(std::string& text, const std::string& bytes, platform::Locale& locale,
                             std::size_t room) {
  const LeadBytes lead(locale);
  const std::size_t lone = CountLoneBreaks(bytes, lead);
  if (lone == 0) return false;
  NormalizeInto(text, bytes, lead, lone + room);
  return true;
}

bool EndsWithLineBreak(const std::string& text) {
  return text.size() >= 2 && text.compare(text.size() - 2, 2, kLineBreak) == 0;
}
