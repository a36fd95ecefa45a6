#pragma once
// The failure figures: a fault test adds a row of what it observed to a
// table file, figures-TABLE.tsv, in the folder that DORVANE_FIGURES names
// (cells separated by tabs, one row a line). scripts/test-all.sh prints
// the tables after the test counts. Without the variable nothing is
// written, so a test run by hand leaves no file.
//
// Header only: the host tests, the Windows-side tests and the end-to-end
// driver each build it into their own program.

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace figures {

// The folder as the calling program can open it: under Wine a Unix path
// from the environment is reached through drive Z:.
inline std::string Folder() {
  const char* folder = std::getenv("DORVANE_FIGURES");
  if (folder == nullptr || *folder == '\0') return {};
  std::string path = folder;
#ifdef _WIN32
  if (path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
  }
  return path + "\\";
#else
  return path + "/";
#endif
}

inline void AddRow(const std::string& table, const std::vector<std::string>& cells) {
  const std::string folder = Folder();
  if (folder.empty()) return;
  std::ofstream out(folder + "figures-" + table + ".tsv", std::ios::app | std::ios::binary);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << '\t';
    // A cell is one line of text: the tab and the line breaks of a message
    // would break the table.
    for (char c : cells[i]) out << (c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
  }
  out << '\n';
}

// The log table's columns: the fault, whether the log is intact, the
// message the user saw, and the program's answer to the end of the session.
inline void AddLogRow(const std::string& fault, const std::string& logIntact,
                      const std::string& message, bool sessionMayEnd) {
  AddRow("log", {fault, logIntact, message.empty() ? "none" : message,
                 sessionMayEnd ? "TRUE" : "FALSE"});
}

// What became of the log: its bytes unchanged, its bytes followed by
// exactly one line of the program's (`isOneLine` judges what follows
// them), or otherwise changed; and any file the fault left beside it.
inline std::string LogIntact(const std::string& before, const std::string& after,
                             const std::function<bool(const std::string&)>& isOneLine,
                             int strayFiles) {
  std::string verdict = "CHANGED";
  if (after == before) {
    verdict = "unchanged";
  } else if (after.size() > before.size() && after.compare(0, before.size(), before) == 0 &&
             isOneLine(after.substr(before.size()))) {
    verdict = "one line added";
  }
  if (strayFiles > 0) verdict += ", " + std::to_string(strayFiles) + " file(s) left beside it";
  return verdict;
}

// A test's name made of a row's fault: its letters and digits.
inline std::string TestNameOf(const std::string& fault) {
  std::string name;
  for (char c : fault) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) name += c;
  }
  return name;
}

}  // namespace figures
