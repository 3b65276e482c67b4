#include "tests/support/Samples.h"

#include <fstream>

namespace NorvTest {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf())) {
        throw std::runtime_error("cannot read " + path);
    }
    return text.str();
}

namespace internal {

bool sampleText(const std::string& name, std::string& json) {
    std::ifstream in(NORV_SOURCE_DIR "/tests/samples/" + name + ".json", std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf())) {
        return false;
    }
    json = text.str();
    return true;
}

}  // namespace internal

}  // namespace NorvTest
