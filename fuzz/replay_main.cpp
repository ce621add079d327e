// Runs a fuzz target over saved inputs: every regular file under each
// directory given (in name order), and every file given directly. Fails when
// it finds no input at all, so a mistyped corpus path cannot pass silently.
// A fault in the target shows as a crash or a sanitizer report.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        fs::path arg(argv[i]);
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(arg)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s corpus-dir-or-file...  (found no inputs)\n", argv[0]);
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Run from a heap copy of exactly the input's size, so reads past
        // the end are caught by the address sanitizer.
        auto* data = new uint8_t[bytes.size()];
        std::copy(bytes.begin(), bytes.end(), data);
        LLVMFuzzerTestOneInput(data, bytes.size());
        delete[] data;
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
