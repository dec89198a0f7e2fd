// The Windows programs the tests inspect, loaded once per test program: the two
// builds, and the signed Update.exe of a release when the release test names it
// in UPDATER_SIGNED_EXE. A missing program fails the test, saying how to make it.
#pragma once

#include "PeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

struct BuiltProgram {
    const char* name; // in the test's name
    const char* label;
    const char* path;
    const char* make;
    uint16_t machine;
};

inline const BuiltProgram ReleaseBuild{
    "Release", "release (i686)", UPDATER_RELEASE_EXE,
    "cmake --preset windows-i686 && cmake --build --preset windows-i686", 0x014C};
inline const BuiltProgram TestedBuild{
    "X64", "x64", UPDATER_X64_EXE,
    "cmake --preset windows-x64 && cmake --build --preset windows-x64", 0x8664};

inline std::vector<BuiltProgram> SignedRelease() {
    const char* path = std::getenv("UPDATER_SIGNED_EXE");
    if (path == nullptr)
        return {};
    return {{"Update", "signed release (i686)", path, "tools/release --pkcs12 ...", 0x014C}};
}

inline void PrintTo(const BuiltProgram& program, std::ostream* out) {
    *out << program.label;
}

inline std::string ProgramName(const testing::TestParamInfo<BuiltProgram>& info) {
    return info.param.name;
}

// Loads the program or records a fatal failure saying how to make it.
inline pe::PeFile LoadBuilt(const BuiltProgram& program) {
    try {
        return pe::PeFile::Load(program.path);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what() << "\n  make it first: " << program.make;
        throw;
    }
}
