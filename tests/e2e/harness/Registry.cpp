#include "Registry.h"

#include <stdexcept>

namespace e2e {

const char* const appPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";

namespace {

REGSAM appPathsView = KEY_WOW64_64KEY;

void setValue(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size, REGSAM view = 0) {
    HKEY key;
    LONG rc =
        RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    if (rc != ERROR_SUCCESS) {
        throw std::runtime_error(std::string("cannot set registry value in ") + path + ": error " +
                                 std::to_string(rc));
    }
}

const char* const desktopKey = "Control Panel\\Desktop";

} // namespace

void setAppPathsView(REGSAM view) {
    appPathsView = view;
}

void setAppPath(DWORD type, const std::string& bytes) {
    setValue(HKEY_LOCAL_MACHINE, appPathsKey, "Path", type, bytes.data(),
             static_cast<DWORD>(bytes.size()), appPathsView);
}

void deleteAppPathsKey() {
    // RegDeleteTree takes no view: open the parent in each view, delete below it.
    const std::string path = appPathsKey;
    const std::string parent = path.substr(0, path.rfind('\\'));
    const std::string name = path.substr(parent.size() + 1);
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key;
        LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS | view, &key);
        if (rc == ERROR_SUCCESS) {
            rc = RegDeleteTreeA(key, name.c_str());
            RegCloseKey(key);
        }
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
            throw std::runtime_error("cannot delete the App Paths key: error " +
                                     std::to_string(rc));
        }
    }
}

void setLogPixels(DWORD dpi) {
    setValue(HKEY_CURRENT_USER, desktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

DWORD logPixels() {
    DWORD dpi = 0;
    DWORD size = sizeof dpi;
    if (RegGetValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &dpi,
                     &size) != ERROR_SUCCESS) {
        return 0;
    }
    return dpi;
}

} // namespace e2e
