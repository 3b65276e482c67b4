// write_samples FOLDER: the starting inputs of the read fuzz target in
// FOLDER, each a byte that picks the class (its place in the list of
// persisted classes) and then the bytes of an object: each sample's bytes,
// and those bytes with one word after another replaced by 0xffffffff, so
// that every count and length of every class is tried at the top of its
// range with the rest of the bytes behind it.
#include "tests/support/Samples.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool save(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary);
    return static_cast<bool>(file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_samples FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;
    unsigned char classIndex = 0;
    Norv::forEachPersistedClass([&](auto entry) {
        const auto all = NorvTest::samples<typename decltype(entry)::Class>();
        for (std::size_t i = 0; i < all.size(); ++i) {
            std::vector<unsigned char> input = NorvTest::bytesOf(all[i]);
            input.insert(input.begin(), classIndex);
            const std::string name = std::string(entry.name) + "-" + std::to_string(i);
            ok = save(folder / name, input) && ok;
            for (std::size_t at = 1; at + 4 <= input.size(); at += 4) {
                std::vector<unsigned char> hostile = input;
                std::fill_n(hostile.begin() + at, 4, 0xff);
                ok = save(folder / (name + "-word" + std::to_string(at / 4)), hostile) && ok;
            }
        }
        ++classIndex;
    });
    if (!ok) {
        std::fprintf(stderr, "write_samples: cannot write every file in %s\n", argv[1]);
    }
    return ok ? 0 : 1;
}
