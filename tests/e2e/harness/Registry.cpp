#include "Registry.h"

#include <stdexcept>

namespace e2e {

const char* const appPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";

namespace {

void setValue(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size) {
    HKEY key;
    LONG rc = RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
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

void setAppPath(DWORD type, const std::string& bytes) {
    setValue(HKEY_LOCAL_MACHINE, appPathsKey, "Path", type, bytes.data(),
             static_cast<DWORD>(bytes.size()));
}

void deleteAppPathsKey() {
    const LONG rc = RegDeleteTreeA(HKEY_LOCAL_MACHINE, appPathsKey);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
        throw std::runtime_error("cannot delete the App Paths key: error " + std::to_string(rc));
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
