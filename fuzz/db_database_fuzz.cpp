#include "FuzzSupport.h"

#include <norvext/catalogue/DBDatabase.h>

namespace {

Norv::DBDatabase filled() {
    Norv::DBDatabase db(9, "old", "old description", "OLD");
    db.add(Norv::DBField(1, "kept", "kept field", "k"));
    return db;
}

void writeFields(const Norv::DBDatabase& db, Norv::AlignedBuf& buf) {
    for (const Norv::DBField& field : db) {
        field.write(buf);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool read = NorvFuzz::checkBufferConstructed(data, size, filled());
    if (!read) {
        // The fields are replaced only by a complete read.
        Norv::AlignedBuf input = NorvFuzz::bufferOf(data, size);
        Norv::DBDatabase db = filled();
        NorvFuzz::readsOrFailsCleanly([&] { db.read(input); });
        if (NorvFuzz::bytesOf(db, writeFields) != NorvFuzz::bytesOf(filled(), writeFields)) {
            NorvFuzz::fail("a failed read changed the fields");
        }
    }
    return 0;
}
