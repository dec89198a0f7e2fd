#include "UpdaterFolder.h"

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

Text UpdaterFolder(const Text& programPath) {
    Text::size_type end = 0; // one past the last separator seen
    for (Text::size_type i = 0; i < programPath.size(); ++i) {
        const auto byte = static_cast<unsigned char>(programPath[i]);
        if (IsCp932LeadByte(byte)) {
            ++i; // its trail byte belongs to the same character
            continue;
        }
        if (byte == '\\' || byte == ':')
            end = i + 1;
    }
    return programPath.substr(0, end);
}

Text ProgramBaseTitle(const Text& programPath) {
    Text name = programPath.substr(UpdaterFolder(programPath).size());
    const auto dot = name.rfind('.');
    if (dot != Text::npos)
        name.resize(dot);
    for (Text::size_type i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsCp932LeadByte(byte))
            ++i; // its trail byte belongs to the same character
        else if (i > 0 && byte >= 'A' && byte <= 'Z')
            name[i] = static_cast<char>(byte - 'A' + 'a');
    }
    return name;
}
