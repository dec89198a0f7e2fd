// UpdaterFolder on any byte string: the folder must be a prefix that ends on a
// separator character, and no separator character may follow it. Characters
// are found here with a scan of its own, so that a fault in the updater's
// reading of lead bytes does not hide itself.
#include "UpdaterFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const Text& path) {
    std::fprintf(stderr, "UpdaterFolderFuzz: %s; path bytes:", what);
    for (const char c : path)
        std::fprintf(stderr, " %02X", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

bool LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool Separator(char c) {
    return c == '\\' || c == ':';
}

// For each byte, whether a character starts there, reading from the start.
// A lead byte at the very end starts a character that has no second byte.
std::vector<bool> CharacterStarts(const Text& path) {
    std::vector<bool> starts(path.size(), false);
    for (size_t i = 0; i < path.size(); ++i) {
        starts[i] = true;
        if (LeadByte(static_cast<unsigned char>(path[i])))
            ++i;
    }
    return starts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length) {
    const Text path(reinterpret_cast<const char*>(bytes), length);
    const Text folder = UpdaterFolder(path);

    if (folder.size() > path.size() || path.compare(0, folder.size(), folder) != 0)
        Fail("the folder is not a prefix of the path", path);
    const std::vector<bool> starts = CharacterStarts(path);
    if (!folder.empty()) {
        if (!Separator(folder.back()))
            Fail("the folder does not end in a backslash or colon", path);
        // The last byte must be a character of its own, not the second byte
        // of one that a lead byte before it began.
        if (!starts[folder.size() - 1])
            Fail("the folder ends inside a double-byte character", path);
    }
    for (size_t i = folder.size(); i < path.size(); ++i) {
        if (starts[i] && Separator(path[i]))
            Fail("a separator follows the folder", path);
    }
    return 0;
}
