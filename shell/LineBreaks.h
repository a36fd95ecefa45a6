#pragma once
// The line breaks of a log file's text: found without taking the second
// byte of a double-byte character for one, and made CR LF.

#include <cstddef>
#include <string>

#include "platform/Files.h"

// The text of a log file with every line break made CR LF.
std::string NormalizeLineBreaks(const std::string& bytes, platform::Locale& locale);

// Whether every line break of the text is already CR LF, so that
// NormalizeLineBreaks would give it back unchanged.
bool HasOnlyCrLfBreaks(const std::string& bytes, platform::Locale& locale);

// Makes `text` the normalised text of `bytes`, in a buffer with `room`
// bytes to spare after it, when some break of `bytes` is not CR LF.
// Answers false, and leaves `text` alone, when every break already is:
// then `bytes` is the text, and no second copy of a large file is made.
bool NormalizeLineBreaksInto(std::string& text, const std::string& bytes, platform::Locale& locale,
                             std::size_t room);

// Whether the text's last line ends with its break.
bool EndsWithLineBreak(const std::string& text);

// The break that the log writes.
inline constexpr char kLineBreak[] = "\r\n";
