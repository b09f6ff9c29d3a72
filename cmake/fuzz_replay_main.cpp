// Replays fuzz inputs without libFuzzer: every file named on the command line, or every file in
// every folder named there, goes once through LLVMFuzzerTestOneInput. CI runs this over the
// committed fuzz corpora so that an input which once crashed a decoder keeps being checked.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int runFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 1;
}

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) count += runFile(entry.path());
            }
        } else if (std::filesystem::is_regular_file(arg)) {
            count += runFile(arg);
        }
    }
    // An empty input is always worth one run: decoders must take zero bytes too.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d inputs\n", count + 1);
    return 0;
}
