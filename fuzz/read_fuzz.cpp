// The readers of every persisted class: the first byte picks the class (a
// term class reads through the term factory), the rest are the bytes it
// reads.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::withPickedClass(data, size, [&](auto entry) {
        NorvFuzz::check<typename decltype(entry)::Class>(data + 1, size - 1);
    });
    return 0;
}
