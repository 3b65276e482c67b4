#include "FuzzSupport.h"

#include <norvext/catalogue/DBField.h>

namespace {

Norv::DBField construct(Norv::AlignedBuf& buf) { return Norv::DBField(buf); }

Norv::DBField readIntoFilled(Norv::AlignedBuf& buf) {
    Norv::DBField f(7, "old name", "old description", "old tag");
    f.read(buf);
    return f;
}

void write(const Norv::DBField& f, Norv::AlignedBuf& buf) { f.write(buf); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(data, size, construct, write, [](const Norv::DBField& f, std::ostream& os) { f.dump(os, 0); });
    NorvFuzz::checkReadersAgree(data, size, construct, readIntoFilled, write);
    return 0;
}
