// The two Windows builds the tests inspect, loaded once per test program.
// A missing build fails the test, naming the preset that makes it.
#pragma once

#include "PeFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

struct BuiltProgram {
    const char* label;
    const char* path;
    const char* preset;
    uint16_t machine;
};

inline const BuiltProgram ReleaseBuild{"release (i686)", UPDATER_RELEASE_EXE, "windows-i686",
                                       0x014C};
inline const BuiltProgram TestedBuild{"x64", UPDATER_X64_EXE, "windows-x64", 0x8664};

inline void PrintTo(const BuiltProgram& program, std::ostream* out) {
    *out << program.label;
}

// Loads the program or records a fatal failure saying how to build it.
inline pe::PeFile LoadBuilt(const BuiltProgram& program) {
    try {
        return pe::PeFile::Load(program.path);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what() << "\n  build it first: cmake --preset " << program.preset
                      << " && cmake --build --preset " << program.preset;
        throw;
    }
}
