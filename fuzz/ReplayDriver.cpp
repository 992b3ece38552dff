// The main() of a fuzz target where libFuzzer is not at hand (g++ builds):
// every file named or found in a named folder is run once, then, with
// -runs=N, N variants of them made by a fixed sequence of byte mutations, so
// the same inputs run on every machine. A crash or abort fails the run; other
// libFuzzer flags are accepted and ignored.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Input = std::vector<uint8_t>;

void Collect(const std::filesystem::path& path, std::vector<Input>& inputs) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(path, ec))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end()); // the same order everywhere
        for (const auto& f : files)
            Collect(f, inputs);
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// xorshift64: small, and the same sequence on every machine.
uint64_t Next(uint64_t& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

// Bytes the parsers give meaning to: ends of lines, separators, sizes.
constexpr uint8_t kTokens[] = {0x00, 0xFF, 0x7F, 0x80, '\n', '\r', '=', ',', ';', '[', ']', '%', '-', '9'};

Input Mutate(const std::vector<Input>& inputs, uint64_t& state) {
    Input b = inputs.empty() ? Input{} : inputs[Next(state) % inputs.size()];
    for (int steps = 1 + static_cast<int>(Next(state) % 4); steps > 0; --steps) {
        const size_t at = b.empty() ? 0 : Next(state) % b.size();
        switch (Next(state) % 6) {
        case 0:
            if (!b.empty()) b[at] ^= static_cast<uint8_t>(1u << (Next(state) % 8));
            break;
        case 1:
            if (!b.empty()) b[at] = static_cast<uint8_t>(Next(state));
            break;
        case 2:
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), kTokens[Next(state) % sizeof kTokens]);
            break;
        case 3:
            if (!b.empty()) b.erase(b.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 4:
            b.resize(at); // cut short
            break;
        default: { // a piece repeated, to grow counts and lengths
            const size_t length = std::min<size_t>(b.size() - at, 1 + Next(state) % 64);
            const Input piece(b.begin() + static_cast<std::ptrdiff_t>(at),
                              b.begin() + static_cast<std::ptrdiff_t>(at + length));
            if (b.size() < (1u << 20)) b.insert(b.end(), piece.begin(), piece.end());
            break;
        }
        }
    }
    return b;
}

} // namespace

int main(int argc, char** argv) {
    long runs = 0;
    std::vector<Input> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-runs=", 0) == 0)
            runs = std::strtol(arg.c_str() + 6, nullptr, 10);
        else if (arg.empty() || arg[0] != '-')
            Collect(arg, inputs);
    }
    for (const Input& in : inputs)
        LLVMFuzzerTestOneInput(in.data(), in.size());
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (long r = 0; r < runs; ++r) {
        const Input in = Mutate(inputs, state);
        LLVMFuzzerTestOneInput(in.data(), in.size());
    }
    std::printf("replay: %zu inputs, %ld variants\n", inputs.size(), runs);
    return 0;
}
