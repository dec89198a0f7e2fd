// The programs the end-to-end tests start. CMake compiles in their build-tree
// paths; an environment variable of the same name overrides one.
#pragma once

#include "harness/Files.h"
#include "harness/Paths.h"

#include <string>

inline std::string standInExe() {
    return e2e::programPath("E2E_STANDIN_EXE", E2E_STANDIN_EXE);
}

#ifdef E2E_UPDATE_EXE
inline std::string updateExe() {
    return e2e::programPath("E2E_UPDATE_EXE", E2E_UPDATE_EXE);
}

// The registry view the program under test reads HKLM\SOFTWARE in.
inline REGSAM updateExeView() {
    static const REGSAM view =
        e2e::peMachine(updateExe()) == IMAGE_FILE_MACHINE_I386 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    return view;
}
#endif

// The DLL whose hooks the tests set in the program's thread.
inline std::string menuReaderDll() {
    return e2e::programPath("E2E_MENU_READER_DLL", E2E_MENU_READER_DLL);
}
