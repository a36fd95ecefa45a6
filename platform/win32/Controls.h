#pragma once
// Everything a window of the program needs to make and drive its controls.

#include "platform/win32/ControlSet.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/OwnControls.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Pages.h"
#include "platform/win32/PopupMenu.h"
