// Prepares a fresh Wine prefix for the end-to-end tests.
//
//   WineSetup.exe                  writes the registry settings the tests expect
//   WineSetup.exe --keep-desktop   holds a hidden window until wineserver -k
//
// A Win32 program rather than `wine reg add`, which mangles Japanese value
// names: the A functions pass the cp932 bytes through unchanged.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool setValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    if (rc != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot set HKCU\\%s value: error %ld\n", keyPath, rc);
        return false;
    }
    return true;
}

bool setString(const char* keyPath, const char* name, const char* data) {
    return setValue(keyPath, name, REG_SZ, data, static_cast<DWORD>(std::strlen(data) + 1));
}

bool setDword(const char* keyPath, const char* name, DWORD data) {
    return setValue(keyPath, name, REG_DWORD, &data, sizeof data);
}

// Wine ends its desktop process soon after the last window closes, and the
// next program to make a window then waits 10 s for a new one. A window kept
// open for the whole run keeps that wait out of the tests.
int keepDesktop() {
    HWND window = CreateWindowExA(0, "STATIC", "e2e desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--keep-desktop") == 0) {
        return keepDesktop();
    }
    // Everything else assumes cp932 literals mean what they say.
    if (GetACP() != 932) {
        std::fprintf(stderr, "ANSI code page is %u, not 932: is the ja_JP locale there?\n",
                     GetACP());
        return 1;
    }
    bool ok = true;
    // The dialog font does not exist under Wine; Ume P Gothic has its metrics
    // (a "0" of 6 x 12 at height -12), so layouts come out unscaled.
    ok &= setString("Software\\Wine\\Fonts\\Replacements", "ＭＳ Ｐゴシック", "Ume P Gothic");
    // A crash must fail its test, not wait on a dialog.
    ok &= setDword("Software\\Wine\\WineDbg", "ShowCrashDialog", 0);
    ok &= setDword("Control Panel\\Desktop", "LogPixels", 96);
    // There is no window manager: with windows it manages, Wine leaves the
    // frame undrawn on screen and waits 2 s in every DestroyWindow for the
    // manager's reply. Unmanaged, Wine draws the frame and closes at once.
    ok &= setString("Software\\Wine\\X11 Driver", "Managed", "N");
    // A new prefix draws every program themed; Windows draws one without a
    // manifest, like Update.exe, with classic controls and a bar in segments.
    ok &=
        setString("Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive", "0");
    return ok ? 0 : 1;
}
