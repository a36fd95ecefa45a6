#pragma once
// The main window's answer when Windows asks whether the session may end.

#include "platform/Session.h"

// The answer to WM_QUERYENDSESSION with `flags` (its lParam): true when the
// session may end. A request to close the program alone is agreed to at
// once, without the close query and so without a check or a box; any other
// runs the close query (the disk check) and answers as it does.
template <class CloseQuery>
bool SessionMayEnd(unsigned flags, CloseQuery closeQuery) {
  if ((flags & platform::kEndSessionCloseApp) != 0) return true;
  return closeQuery();
}
