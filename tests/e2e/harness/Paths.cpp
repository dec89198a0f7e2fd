#include "Paths.h"

#include <cstdlib>

namespace e2e {

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string converted = "Z:" + path;
    for (char& c : converted) {
        if (c == '/') {
            c = '\\';
        }
    }
    return converted;
}

std::string programPath(const char* variable, const char* builtIn) {
    const char* value = std::getenv(variable);
    return windowsPath(value && *value ? value : builtIn ? builtIn : "");
}

} // namespace e2e
