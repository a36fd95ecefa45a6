// The log's line-break normaliser, in single-byte and double-byte code
// pages, and the append that reads a log through it.
//
// Input: a code-page byte, a label, then the log's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/FakeFiles.h"
#include "shell/LineBreaks.h"
#include "shell/NotificationLog.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;
using fuzz::Shown;

const char kLog[] = "C:\\DVN\\dvn.dvl";

// The characters of a text as the code page reads them: a lead byte with
// the byte after it, one byte otherwise. A CR LF pair is a line break
// wherever it stands, even right after a lead byte.
std::vector<std::string> Characters(const std::string& text, platform::Locale& locale) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const bool pairsWithNext = locale.IsLeadByte(static_cast<unsigned char>(text[i])) &&
                               i + 1 < text.size() && text.compare(i + 1, 2, "\r\n") != 0;
    const std::size_t size = pairsWithNext ? 2 : 1;
    characters.push_back(text.substr(i, size));
    i += size;
  }
  return characters;
}

bool IsBreakByte(const std::string& character) { return character == "\r" || character == "\n"; }

// The characters that are no line breaks, in order, and how many breaks
// (CR LF, lone CR, lone LF) stand between them.
struct Reading {
  std::vector<std::string> others;
  std::size_t breaks = 0;
  bool loneBreak = false;  // a CR without its LF, or an LF without its CR
};

Reading Read(const std::string& text, platform::Locale& locale) {
  Reading reading;
  const std::vector<std::string> characters = Characters(text, locale);
  for (std::size_t k = 0; k < characters.size(); ++k) {
    if (!IsBreakByte(characters[k])) {
      reading.others.push_back(characters[k]);
    } else if (characters[k] == "\r" && k + 1 < characters.size() && characters[k + 1] == "\n") {
      ++reading.breaks;
      ++k;
    } else {
      ++reading.breaks;
      reading.loneBreak = true;
    }
  }
  return reading;
}

void CheckNormaliser(const std::string& bytes, platform::Locale& locale) {
  const std::string normal = NormalizeLineBreaks(bytes, locale);
  const auto detail = [&] { return "in:  " + Shown(bytes) + "\nout: " + Shown(normal); };
  const Reading before = Read(bytes, locale);
  const Reading after = Read(normal, locale);
  Require(!after.loneBreak, "no lone CR or LF is left", detail);
  Require(after.others == before.others, "every byte but the breaks is kept, in order", detail);
  Require(after.breaks == before.breaks, "each break stays one break", detail);
  Require(NormalizeLineBreaks(normal, locale) == normal, "normalising twice changes nothing",
          detail);
}

bool EndsWithBreak(const std::string& text) {
  return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

// Two runs of the check each append a line. The log keeps what it held,
// with its breaks made CR LF, and the second run leaves the first run's
// file as it was, only longer: the program's own writing needs no repair.
void CheckAppends(const std::string& bytes, const std::string& label,
                  platform::FakeLocale& locale) {
  platform::Journal journal;
  platform::FakeFiles files{journal};
  platform::FakeClock clock;
  clock.readings = {platform::FakeClock::At(2026, 12, 8, 16, 35, 12)};
  NotificationLog log{files, clock, locale};
  files.files[kLog].bytes = bytes;

  std::string firstRun, secondRun;
  log.AppendLogLine(firstRun, kLog, label, 'A');
  const std::string first = files.Bytes(kLog).value_or("");
  const std::string normal = NormalizeLineBreaks(bytes, locale);
  const auto detail = [&] {
    return "log:   " + Shown(bytes) + "\nlabel: " + Shown(label) + "\nfirst: " + Shown(first);
  };
  Require(first.compare(0, normal.size(), normal) == 0, "the log keeps its text", detail);
  Require(EndsWithBreak(first) == (normal.empty() || EndsWithBreak(normal)),
          "a last line without a break stays without one", detail);
  Require(!Read(first, locale).loneBreak, "the written log has no lone CR or LF", detail);

  log.AppendLogLine(secondRun, kLog, label, 'A');
  const std::string second = files.Bytes(kLog).value_or("");
  Require(second.size() > first.size() && second.compare(0, first.size(), first) == 0,
          "the next run keeps the log as the last run wrote it",
          [&] { return detail() + "\nsecond: " + Shown(second); });
  Require(files.Names().size() == 1, "no temporary file is left", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  platform::FakeLocale locale;
  locale.leadBytes = fuzz::LeadBytesOf(input.Byte());
  std::string label = input.Text(32);
  // A volume label holds no line breaks; the log quotes it as it is.
  for (char& c : label) {
    if (c == '\r' || c == '\n') c = '_';
  }
  const std::string bytes = input.Rest();

  CheckNormaliser(bytes, locale);
  CheckAppends(bytes, label, locale);
  return 0;
}
