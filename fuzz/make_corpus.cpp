// Writes the starting corpus of every fuzz target: the bytes of real objects,
// one file each, under <dir>/<target>/.
#include <norvext/NorvExt.h>
#include <norvutil/AlignedBuf.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <sys/stat.h>

namespace {

std::string g_root;

void save(const std::string& target, const std::string& name, const std::function<void(Norv::AlignedBuf&)>& fill) {
    const std::string dir = g_root + "/" + target;
    ::mkdir(dir.c_str(), 0755);
    Norv::AlignedBuf buf;
    fill(buf);
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(buf.bytes().data()), static_cast<std::streamsize>(buf.size()));
}

void summaries() {
    save("summary", "default", [](Norv::AlignedBuf& buf) { Norv::Summary().write(buf); });
    save("summary", "filled", [](Norv::AlignedBuf& buf) {
        Norv::Summary s(7, 42, "Insulin precursor", "INS_HUMAN", "extra");
        s.setDBName("swissprot");
        s.setSourceDB("sp");
        s.setSourceID(std::string("P0\0" "1308", 7));
        s.setOption(1);
        s.setInitN(2);
        s.setInit1(3);
        s.write(buf);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_corpus DIR\n";
        return 2;
    }
    g_root = argv[1];
    ::mkdir(g_root.c_str(), 0755);
    summaries();
    return 0;
}
