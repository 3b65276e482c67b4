// The readers of every persisted class: the first byte picks the class (its
// place in the list of persisted classes, modulo their number; a term class
// stands for every term, read through the term factory), the rest are the
// bytes it reads.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t pick = data[0] % std::tuple_size<Norv::PersistedClasses>::value;
    std::size_t index = 0;
    Norv::forEachPersistedClass([&](auto entry) {
        using T = typename decltype(entry)::Class;
        if (index++ == pick) {
            NorvFuzz::check<std::conditional_t<decltype(entry)::s_isTerm, Norv::DBTerm, T>>(data + 1, size - 1);
        }
    });
    return 0;
}
