// The registry state the program under test reads, set up from the test.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\RZB52.exe
extern const char* const appPathsKey;

// Which view of HKLM\SOFTWARE setAppPath writes: KEY_WOW64_64KEY,
// or KEY_WOW64_32KEY, where a 32-bit program and a 32-bit installer look
// (WOW6432Node). KEY_WOW64_64KEY until set.
void setAppPathsView(REGSAM view);

// Creates the key when missing and sets its "Path" value with exactly these
// bytes and type (an odd type or a missing terminator included), in that
// view. Throws on failure.
void setAppPath(DWORD type, const std::string& bytes);
// Removes the key with its values from both views; absent is fine.
void deleteAppPathsKey();

// HKCU\Control Panel\Desktop LogPixels, which each Wine process reads when it starts.
void setLogPixels(DWORD dpi);
DWORD logPixels();

// Sets LogPixels for its lifetime and puts 96 back after, so a failing test
// does not change the dpi of the ones after it.
class ScopedLogPixels {
  public:
    explicit ScopedLogPixels(DWORD dpi) { setLogPixels(dpi); }
    ~ScopedLogPixels() { setLogPixels(96); }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
};

} // namespace e2e
