#pragma once

#include "RegistryString.h"
#include "Win32.h"

// The registry calls behind reading the install folder.
class WindowsRegistryKey : public RegistryKeyAccess {
  public:
    bool Open(RootKey root, const Text& subKey) override;
    bool QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) override;
    bool QueryData(const Text& valueName, std::vector<char>& data) override;
    void Close() override;

  private:
    HKEY key_ = nullptr;
};
