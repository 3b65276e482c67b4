// write_samples FOLDER: the starting inputs of the read fuzz target in
// FOLDER, each a byte that picks the class (its place in the list of
// persisted classes) and then the bytes of an object: each sample's bytes,
// and those bytes with one word after another replaced by 0xffffffff, so
// that every count and length of every class is tried at the top of its
// range with the rest of the bytes behind it.
#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool save(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.string().c_str());
        return false;
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool writeSeeds(const std::filesystem::path& folder) {
    bool ok = true;
    for (const NorvTest::SampleFile& sample : NorvTest::sampleFiles()) {
        std::vector<unsigned char> input = sample.bytes;
        input.insert(input.begin(), static_cast<unsigned char>(sample.classIndex));
        ok = save(folder / sample.name, input) && ok;
        for (std::size_t at = 1; at + 4 <= input.size(); at += 4) {
            std::vector<unsigned char> hostile = input;
            std::fill(hostile.begin() + at, hostile.begin() + at + 4, 0xff);
            ok = save(folder / (sample.name + "-word" + std::to_string(at / 4)), hostile) && ok;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_samples FOLDER\n");
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    return writeSeeds(argv[1]) ? 0 : 1;
}
