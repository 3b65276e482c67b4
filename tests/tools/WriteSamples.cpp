// Writes the files that the norvext-dump tests read, beside those the example
// programs save: every sample object as <class>-<index>.bin, and bad input.
#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string g_folder;

bool save(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = g_folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_dump_samples FOLDER\n");
        return 2;
    }
    g_folder = argv[1];
    bool ok = true;
    std::vector<unsigned char> summary, leftover;
    for (const NorvTest::SampleFile& sample : NorvTest::sampleFiles()) {
        ok = save(sample.name + ".bin", sample.bytes) && ok;
        summary = sample.name == "Summary-1" ? sample.bytes : summary;
        leftover = sample.name == "Summary-0" ? sample.bytes : leftover;
    }
    leftover.insert(leftover.end(), {1, 2, 3, 4});
    return ok &&
                   // cut inside the title, the fourth of the six strings
                   save("truncated-summary.bin", std::vector<unsigned char>(summary.begin(), summary.begin() + 64)) &&
                   save("leftover-summary.bin", leftover) && save("empty.bin", {}) &&
                   save("unknown-term.bin", words({9})) && save("bad-opcode.bin", words({3, 4, 0})) &&
                   // name, description, limit, then 1000 databases announced and none there
                   save("hollow-catalogue.bin", words({0, 0, 0, 1000}))
               ? 0
               : 1;
}
