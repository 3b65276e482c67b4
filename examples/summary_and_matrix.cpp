// A Summary travels through a buffer to another module and is printed there;
// then a few entries of the default scoring matrix. Given a folder, it saves
// the buffer there as summary.bin.
#include <norvext/NorvExt.h>
#include <norvutil/NorvUtil.h>

#include "SaveBuffer.h"

#include <iostream>

int main(int argc, char** argv) {
    const char* saveTo = argc > 1 ? argv[1] : nullptr;

    // The module that found the entry describes it...
    Norv::Summary hit(7, 42, "Insulin precursor", "INS_HUMAN", nullptr);
    hit.setSourceDB("swissprot");
    hit.setSourceID("P01308");
    Norv::AlignedBuf buf;
    hit.write(buf);
    std::cout << "Summary written: " << buf.size() << " bytes\n";
    Example::saveBuffer(saveTo, "summary.bin", buf);

    // ...and another reads it back from the bytes alone.
    Norv::AlignedBuf received(buf.bytes());
    const Norv::Summary copy(received);
    copy.dump(std::cout, 0);

    const Norv::Tarvik::Matrix& blosum = Norv::Tarvik::defaultMatrix();
    std::cout << "BLOSUM62:";
    for (const char* pair : {"AA", "WW", "CC", "BD", "XX", "A*", "**", "aa"}) {
        std::cout << ' ' << pair << '=' << blosum[static_cast<unsigned char>(pair[0])][static_cast<unsigned char>(pair[1])];
    }
    std::cout << '\n';
    return 0;
}
