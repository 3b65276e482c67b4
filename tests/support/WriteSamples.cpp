// write_samples dump FOLDER: every sample object as FOLDER/<class>-<index>.bin,
// beside bad input, for the tests of norvext-dump (the examples save the rest).
// write_samples seeds FOLDER: the starting inputs of every fuzz target under
// FOLDER/<type>/, the target being named after the norvext-dump type it
// reads: each sample's bytes, and those bytes with one word after another
// replaced by 0xffffffff, so that every count and length of every class is
// tried at the top of its range with the rest of the bytes behind it.
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

std::vector<unsigned char> words(std::initializer_list<unsigned int> values) {
    Norv::AlignedBuf buf;
    for (unsigned int value : values) {
        buf.put(value);
    }
    return buf.bytes();
}

bool writeDumpSamples(const std::filesystem::path& folder) {
    bool ok = true;
    std::vector<unsigned char> summary, leftover;
    for (const NorvTest::SampleFile& sample : NorvTest::sampleFiles()) {
        ok = save(folder / (sample.name + ".bin"), sample.bytes) && ok;
        summary = sample.name == "Summary-1" ? sample.bytes : summary;
        leftover = sample.name == "Summary-0" ? sample.bytes : leftover;
    }
    leftover.insert(leftover.end(), {1, 2, 3, 4});
    // The summary is cut inside the title, the fourth of its six strings; the
    // hollow catalogue has a name, a description and a limit, then announces
    // 1000 databases and holds none.
    return ok && save(folder / "truncated-summary.bin", std::vector<unsigned char>(summary.begin(), summary.begin() + 64)) &&
           save(folder / "leftover-summary.bin", leftover) && save(folder / "empty.bin", {}) &&
           save(folder / "unknown-term.bin", words({9})) && save(folder / "bad-opcode.bin", words({3, 4, 0})) &&
           save(folder / "hollow-catalogue.bin", words({0, 0, 0, 1000}));
}

bool writeSeeds(const std::filesystem::path& root) {
    bool ok = true;
    for (const NorvTest::SampleFile& sample : NorvTest::sampleFiles()) {
        const std::filesystem::path folder = root / sample.className;
        std::filesystem::create_directories(folder);
        ok = save(folder / sample.name, sample.bytes) && ok;
        for (std::size_t at = 0; at + 4 <= sample.bytes.size(); at += 4) {
            std::vector<unsigned char> hostile = sample.bytes;
            std::fill(hostile.begin() + at, hostile.begin() + at + 4, 0xff);
            ok = save(folder / (sample.name + "-word" + std::to_string(at / 4)), hostile) && ok;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "dump" && mode != "seeds") {
        std::fprintf(stderr, "usage: write_samples dump|seeds FOLDER\n");
        return 2;
    }
    std::filesystem::create_directories(argv[2]);
    return (mode == "dump" ? writeDumpSamples(argv[2]) : writeSeeds(argv[2])) ? 0 : 1;
}
