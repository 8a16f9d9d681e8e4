// The fuzz targets as plain programs, for compilers without libFuzzer: every file named on the
// command line, or found in a folder named there, is fed once to LLVMFuzzerTestOneInput. A
// fault aborts the program (and under a sanitizer build, any report does), so a corpus that
// replays cleanly exits 0. The suite runs each target on its seed corpus this way.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(named, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(named))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files)
                replayed += replay(file);
        } else if (replay(named)) {
            ++replayed;
        } else {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 2;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no input replayed\n");
        return 2;
    }
    std::printf("%d inputs replayed\n", replayed);
    return 0;
}
