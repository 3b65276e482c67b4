#include "tests/support/Samples.h"

namespace NorvTest {

std::vector<SampleFile> sampleFiles() {
    std::vector<SampleFile> files;
    std::size_t index = 0;
    Norv::forEachPersistedClass([&](auto entry) {
        using T = typename decltype(entry)::Class;
        const std::vector<T> all = samples<T>();
        for (std::size_t i = 0; i < all.size(); ++i) {
            files.push_back({index, std::string(entry.name) + "-" + std::to_string(i), bytesOf(all[i])});
        }
        ++index;
    });
    return files;
}

}  // namespace NorvTest
