// Runs every file of the folders (or the files) named on the command line once through a fuzz target,
// so that builds without libFuzzer replay the committed corpus too. A broken invariant aborts.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace zav {
namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
            if (entry.is_regular_file(error)) {
                inputs.push_back(entry.path());
            }
        }
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(path, error)) {
        inputs.push_back(path);
    }
    return inputs;
}

} // namespace
} // namespace zav

int main(int argc, char** argv) {
    std::size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> inputs = zav::inputsOf(argv[i]);
        if (inputs.empty()) {
            // A corpus that went missing must not pass as a clean replay.
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const std::filesystem::path& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            if (!in.eof() && in.fail()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::fprintf(stderr, "Running: %s\n", input.c_str());
            // As under libFuzzer, an empty input still comes with a valid pointer.
            static const std::uint8_t kNothing = 0;
            const auto* data =
                bytes.empty() ? &kNothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
            LLVMFuzzerTestOneInput(data, bytes.size());
            ++runs;
        }
    }
    if (runs == 0) {
        std::fprintf(stderr, "usage: %s <corpus folder or file>...\n", argv[0]);
        return 1;
    }
    std::fprintf(stderr, "Executed %zu inputs\n", runs);
    return 0;
}
