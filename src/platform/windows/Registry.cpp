#include "Registry.h"

bool WindowsRegistryKey::Open(RootKey root, const Text& subKey) {
    HKEY rootKey = HKEY_LOCAL_MACHINE;
    (void)root; // the only root the updater reads
    // Full access, as the installer that registered the application had: the
    // answer follows from this open alone.
    return RegOpenKeyExA(rootKey, subKey.c_str(), 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS;
}

bool WindowsRegistryKey::QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) {
    DWORD valueType = 0;
    DWORD valueSize = 0;
    if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &valueType, nullptr, &valueSize) !=
        ERROR_SUCCESS)
        return false;
    type = valueType;
    size = valueSize;
    return true;
}

bool WindowsRegistryKey::QueryData(const Text& valueName, std::vector<char>& data) {
    DWORD size = static_cast<DWORD>(data.size());
    return RegQueryValueExA(key_, valueName.c_str(), nullptr, nullptr,
                            reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
}

void WindowsRegistryKey::Close() {
    RegCloseKey(key_);
    key_ = nullptr;
}
