#include "StartupSteps.h"
#include "Update.h"
#include "Win32.h"
#include "WindowsPlatform.h"

#include <cstdlib>

// Replaces libstdc++'s default terminate handler, which prints the uncaught
// exception's demangled type to stderr: a GUI program has no stderr, and the
// demangler and printf it brings are a third of the file's size.
#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
#endif

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
    MARK_STARTUP_STEP("WinMain reached");
    LoadDllsFromSystemFolderOnly();
    WindowsPlatform platform;
    return Update(platform);
}
