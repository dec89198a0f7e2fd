// The programs the end-to-end tests start. CMake compiles in their build-tree
// paths; an environment variable of the same name overrides one.
#pragma once

#include "harness/Paths.h"

#include <string>

inline std::string standInExe() {
    return e2e::programPath("E2E_STANDIN_EXE", E2E_STANDIN_EXE);
}

#ifdef E2E_UPDATE_EXE
inline std::string updateExe() {
    return e2e::programPath("E2E_UPDATE_EXE", E2E_UPDATE_EXE);
}
#endif
