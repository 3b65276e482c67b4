#include "FuzzSupport.h"

#include <norvext/catalogue/QueryDBInfo.h>

namespace {

// QueryDBInfo has no constructor from a buffer.
Norv::QueryDBInfo readIntoDefault(Norv::AlignedBuf& buf) {
    Norv::QueryDBInfo cat;
    cat.read(buf);
    return cat;
}

Norv::QueryDBInfo filled() {
    Norv::QueryDBInfo cat("old", 5);
    Norv::DBDatabase db(9, "kept", "kept database", "KP");
    db.add(Norv::DBField(1, "ID", "entry id", "id"));
    cat.add(db);
    return cat;
}

Norv::QueryDBInfo readIntoFilled(Norv::AlignedBuf& buf) {
    Norv::QueryDBInfo cat = filled();
    cat.read(buf);
    return cat;
}

void write(const Norv::QueryDBInfo& cat, Norv::AlignedBuf& buf) { cat.write(buf); }

void writeDatabases(const Norv::QueryDBInfo& cat, Norv::AlignedBuf& buf) {
    for (const Norv::DBDatabase& db : cat) {
        db.write(buf);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool read = NorvFuzz::checkReader(data, size, readIntoDefault, write,
                                            [](const Norv::QueryDBInfo& cat, std::ostream& os) { cat.dump(os, 0); });
    NorvFuzz::checkReadersAgree(data, size, readIntoDefault, readIntoFilled, write);
    if (!read) {
        // The databases are replaced only by a complete read.
        Norv::AlignedBuf input = NorvFuzz::bufferOf(data, size);
        Norv::QueryDBInfo cat = filled();
        NorvFuzz::readsOrFailsCleanly([&] { cat.read(input); });
        if (NorvFuzz::bytesOf(cat, writeDatabases) != NorvFuzz::bytesOf(filled(), writeDatabases)) {
            NorvFuzz::fail("a failed read changed the databases");
        }
    }
    return 0;
}
