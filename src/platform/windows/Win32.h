// <windows.h> as every file of the Windows front end includes it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Control identifiers of the dialog's windowed controls, as WM_COMMAND names them.
enum : int { Button1Id = 1, Button2Id = 2, ProgressBar1Id = 3 };

// The keyboard messages offered to a control before they are dispatched:
// WM_KEYDOWN to 0x0108, the range as it was before WM_UNICHAR. The headers'
// WM_KEYLAST takes in WM_UNICHAR (0x0109) too on the Windows versions this
// program builds for.
constexpr UINT FirstOfferedKeyMessage = 0x0100;
constexpr UINT LastOfferedKeyMessage = 0x0108;

// A keyboard message offered to one of the program's controls before it is
// dispatched comes as its own message number plus this offset.
constexpr UINT KeyNotificationOffset = 0xBC00;
constexpr UINT KeyDownNotification = WM_KEYDOWN + KeyNotificationOffset;
constexpr UINT SysKeyDownNotification = WM_SYSKEYDOWN + KeyNotificationOffset;

// Posted by the owner window to itself when it receives the focus.
constexpr UINT PassFocusMessage = WM_APP + 1;
// Posted by the dialog to itself after its first paint: time to load what a run needs.
constexpr UINT PrepareControlsMessage = WM_APP + 2;
