// Runs every file of the folders (or the files) named on the command line once through a fuzz target,
// so that builds without libFuzzer replay the committed corpus too. A broken invariant aborts.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> inputs;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
                inputs.push_back(entry.path());
            }
            std::sort(inputs.begin(), inputs.end());
        } else if (std::filesystem::is_regular_file(argv[i])) {
            inputs.push_back(argv[i]);
        }
        // A corpus that went missing must not pass as a clean replay.
        if (inputs.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const auto& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
            std::fprintf(stderr, "Running: %s\n", input.c_str());
            // As under libFuzzer, an empty input still comes with a valid pointer.
            static const std::uint8_t kNothing = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing
                                                 : reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
        }
    }
    return argc > 1 ? 0 : 1;
}
