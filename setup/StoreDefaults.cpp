// Prints the program's defaults, as a reset of its settings stores them,
// for the two installers that write them at a first install:
//   store_defaults nsh   an NSIS macro that writes them (setup/dorvane.nsi)
//   store_defaults wxi   WiX definitions of their values (setup/dorvane.wxs)
// Built from the program's own table (settings/StoreValues.h), an install
// stores exactly what the program's first start would.
#include <cstdio>
#include <cstring>

#include "settings/StoreValues.h"

namespace {

// The log file beside the program: the installers know the folder.
void PrintNsh() {
  std::printf("; Made by setup/StoreDefaults.cpp from settings/StoreValues.h.\n");
  std::printf("!macro WriteStoreDefaults LOG_FILE\n");
  for (const StoreDefault& value : kStoreDefaults) {
    switch (value.kind) {
      case TStoredKind::Text:
        std::printf("  WriteRegStr HKLM \"${SETTINGS_KEY}\" \"%s\" \"%s\"\n", value.name, value.text);
        break;
      case TStoredKind::Flag:
        std::printf("  WriteRegDWORD HKLM \"${SETTINGS_KEY}\" \"%s\" %s\n", value.name, value.text);
        break;
      case TStoredKind::BesideProgram:
        std::printf("  WriteRegStr HKLM \"${SETTINGS_KEY}\" \"%s\" \"${LOG_FILE}\"\n", value.name);
        break;
    }
  }
  std::printf("!macroend\n");
  for (const StoreDefault& value : kStoreDefaults) {
    if (value.kind == TStoredKind::BesideProgram) {
      std::printf("!define DEFAULT_LOG_FILE_NAME \"%s\"\n", value.text);
    }
  }
}

void PrintWxi() {
  std::printf("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
  std::printf("<!-- Made by setup/StoreDefaults.cpp from settings/StoreValues.h. -->\n");
  std::printf("<Include>\n");
  for (const StoreDefault& value : kStoreDefaults) {
    const char* folder = value.kind == TStoredKind::BesideProgram ? "[INSTALLDIR]" : "";
    std::printf("  <?define Default%s = \"%s%s\" ?>\n", value.name, folder, value.text);
  }
  std::printf("</Include>\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "nsh") == 0) {
    PrintNsh();
  } else if (argc == 2 && std::strcmp(argv[1], "wxi") == 0) {
    PrintWxi();
  } else {
    std::fprintf(stderr, "usage: store_defaults nsh|wxi\n");
    return 2;
  }
  return 0;
}
