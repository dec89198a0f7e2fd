#include "Update.h"
#include "Win32.h"
#include "WindowsPlatform.h"

namespace {

// Only DLLs from the system folder are ever loaded: the program is typically
// started, elevated, from a download folder where anyone can leave a DLL.
void LoadDllsFromSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (restrict != nullptr)
        restrict(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LoadDllsFromSystemFolderOnly();
    WindowsPlatform platform;
    return Update(platform);
}
