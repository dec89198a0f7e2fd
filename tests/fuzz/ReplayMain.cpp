// Runs a fuzz target over saved inputs without libFuzzer, so that any compiler
// can check the committed corpus. Each argument is an input file or a folder
// of them; finding no input at all is a failure, as it would pass vacuously.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int a = 1; a < argc; ++a) {
        const fs::path given = argv[a];
        if (fs::is_directory(given)) {
            for (const auto& entry : fs::directory_iterator(given)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(given)) {
            inputs.push_back(given);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[a]);
            return 1;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    // A fixed order makes a failure name the same input every time.
    std::sort(inputs.begin(), inputs.end());

    for (const auto& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "replaying %s\n", input.c_str());
        // data() of an empty vector may be null; libFuzzer never passes null.
        static const uint8_t none = 0;
        LLVMFuzzerTestOneInput(
            bytes.empty() ? &none : reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
