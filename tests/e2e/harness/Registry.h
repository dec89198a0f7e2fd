// The registry state the program under test reads, set up from the test.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\RZB52.exe
extern const char* const appPathsKey;

// Creates the key when missing and sets its "Path" value with exactly these
// bytes and type (an odd type or a missing terminator included). Throws on failure.
void setAppPath(DWORD type, const std::string& bytes);
// Removes the key with its values; absent is fine.
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
