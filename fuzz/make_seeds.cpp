// Writes the seeds of every fuzz target under <dir>/<target>/: the bytes of
// each sample object, and of each with one word after another replaced by
// 0xffffffff, so that every count and length of every class is tried at the
// top of its range with the rest of the bytes behind it.
#include "tests/support/Samples.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

bool save(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const std::map<std::string, std::string> targets = {
        {"DBField", "db_field"},         {"DBDatabase", "db_database"},   {"QueryDBInfo", "query_db_info"},
        {"XBlastDBInfo", "xblast_db_info"}, {"term", "term"},             {"Summary", "summary"},
        {"DBQuery", "db_query"},         {"XBlastParams", "xblast_params"}, {"FastAParams", "fasta_params"}};
    const std::string root = argv[1];
    ::mkdir(root.c_str(), 0755);
    bool ok = true;
    for (const NorvTest::SampleFile& sample : NorvTest::sampleFiles()) {
        const std::string dir = root + "/" + targets.at(sample.className);
        ::mkdir(dir.c_str(), 0755);
        ok = save(dir + "/" + sample.name, sample.bytes) && ok;
        for (std::size_t at = 0; at + 4 <= sample.bytes.size(); at += 4) {
            std::vector<unsigned char> hostile = sample.bytes;
            std::fill(hostile.begin() + at, hostile.begin() + at + 4, 0xff);
            ok = save(dir + "/" + sample.name + "-word" + std::to_string(at / 4), hostile) && ok;
        }
    }
    return ok ? 0 : 1;
}
