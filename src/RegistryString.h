// Reading one string value from the registry, the way the updater needs it:
// the value's own bytes, cut at the first NUL, with no expansion. Shared by
// the Windows registry calls and by anything that stands in for them.
#pragma once

#include "Error.h"
#include "Platform.h"

#include <cstdint>
#include <vector>

// A registry value that exists but cannot be used. what() is the cp932 text
// the error box shows.
class RegistryError : public Error {
  public:
    using Error::Error;
};

// The four registry calls the read is made of, on one key at a time.
class RegistryKeyAccess {
  public:
    static constexpr uint32_t TypeString = 1;       // REG_SZ
    static constexpr uint32_t TypeExpandString = 2; // REG_EXPAND_SZ

    virtual ~RegistryKeyAccess() = default;
    // Opens an existing key with full access; false when it is absent or refused.
    virtual bool Open(RootKey root, const Text& subKey) = 0;
    // The value's type and size in bytes; false when the value is absent.
    virtual bool QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) = 0;
    // Fills `data`, already sized to the value's size; false on failure.
    virtual bool QueryData(const Text& valueName, std::vector<char>& data) = 0;
    virtual void Close() = 0;
};

// `keyPath` may start with a backslash, which roots it; the key opened is the
// path without it. The key is closed on every path, errors included.
Text ReadRegistryString(RegistryKeyAccess& registry, RootKey root, const Text& keyPath,
                        const Text& valueName);
