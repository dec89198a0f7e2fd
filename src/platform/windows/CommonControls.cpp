#include "CommonControls.h"

#include "Win32.h"

#include <commctrl.h>
#include <string>

bool LoadCommonControls() {
    char systemFolder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const std::string path = std::string(systemFolder) + "\\comctl32.dll";
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr)
        return false;

    using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto initialise = reinterpret_cast<InitCommonControlsExFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    if (initialise == nullptr)
        return false; // an old library registers its classes when it is loaded
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    return initialise(&controls) != FALSE;
}
