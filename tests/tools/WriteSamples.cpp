// Writes the files that the norvext-dump tests read, beside those the example
// programs save: objects of the classes that no example saves, and bad input.
#include <norvext/NorvExt.h>
#include <norvutil/AlignedBuf.h>

#include <boost/make_shared.hpp>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string g_folder;

bool save(const char* name, const std::vector<unsigned char>& bytes) {
    const std::string path = g_folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::vector<unsigned char> written(const std::function<void(Norv::AlignedBuf&)>& write) {
    Norv::AlignedBuf buf;
    write(buf);
    return buf.bytes();
}

std::vector<unsigned char> words(std::initializer_list<unsigned int> values) {
    return written([&](Norv::AlignedBuf& buf) {
        for (unsigned int value : values) {
            buf.put(value);
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_dump_samples FOLDER\n");
        return 2;
    }
    g_folder = argv[1];

    const auto field = written([](Norv::AlignedBuf& buf) { Norv::DBField(4, "KW", "Keywords", "key").write(buf); });
    const auto database = written([](Norv::AlignedBuf& buf) {
        Norv::DBDatabase embl(2, "embl", "Nucleotide sequences", "EM");
        embl.add(Norv::DBField(1, "AC", "Accession number", "acc"));
        embl.add(Norv::DBField(4, "KW", "Keywords", "key"));
        embl.write(buf);
    });
    const auto term = written([](Norv::AlignedBuf& buf) {
        using Norv::DBBooleanTerm;
        const auto id = boost::make_shared<Norv::DBStringTerm>(3, "P01308", Norv::DBTerm::EQ);
        const auto length = boost::make_shared<Norv::DBRangeTerm>("length", "100", "200");
        const auto notLength = boost::make_shared<DBBooleanTerm>(length, DBBooleanTerm::NOT);
        DBBooleanTerm(id, DBBooleanTerm::OR, notLength).write(buf);
    });
    const auto fasta = written([](Norv::AlignedBuf& buf) {
        Norv::FastAParams p;
        p.setDatabase("pdb");
        p.setAlgorithm("SSEARCH");
        p.setOptimization("yes");
        p.setExpect(0.5);
        p.setDatabaseType(-2);
        p.setOutputConstraint(3);
        p.setShiftValue(7);
        p.setLimit(25);
        p.setWordSize(2);
        p.setOptimizationThreshold(20);
        p.setEarliest(4294967301LL);  // only the low 32 bits travel
        p.useEarliest(true);
        p.setGapCreate(12);
        p.setGapExt(2);
        p.setMatrix("BLOSUM50");
        p.useMatrixDiagonals(true);
        p.useSmithWaterman(true);
        p.data() = {'A', 'C', 'G', 'T'};
        p.write(buf);
    });
    const auto summary = written([](Norv::AlignedBuf& buf) {
        Norv::Summary s(7, 42, "Insulin precursor", "INS_HUMAN", nullptr);
        s.setSourceDB("swissprot");
        s.setSourceID("P01308");
        s.write(buf);
    });
    auto leftover = written([](Norv::AlignedBuf& buf) { Norv::Summary().write(buf); });
    leftover.insert(leftover.end(), {1, 2, 3, 4});

    const bool ok = save("field.bin", field) && save("database.bin", database) && save("term.bin", term) &&
                    save("fasta-params.bin", fasta) &&
                    // cut inside the title, the fourth of the six strings
                    save("truncated-summary.bin", std::vector<unsigned char>(summary.begin(), summary.begin() + 60)) &&
                    save("leftover-summary.bin", leftover) && save("empty.bin", {}) &&
                    save("unknown-term.bin", words({9})) &&
                    save("bad-opcode.bin", words({3, 4, 0})) &&
                    // name, description, limit, then 1000 databases announced and none there
                    save("hollow-catalogue.bin", words({0, 0, 0, 1000}));
    return ok ? 0 : 1;
}
