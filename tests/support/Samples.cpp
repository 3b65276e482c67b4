#include "tests/support/Samples.h"

#include <fstream>

namespace NorvTest {

namespace {

// The contents of the file at `path` into `text`; false when it cannot be read.
bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    // An empty file inserts nothing, which sets failbit on `contents`.
    if (!in || (in.peek() != std::ifstream::traits_type::eof() && !(contents << in.rdbuf()))) {
        return false;
    }
    text = contents.str();
    return true;
}

}  // namespace

std::string fileText(const std::string& path) {
    std::string text;
    if (!readFile(path, text)) {
        throw std::runtime_error("cannot read " + path);
    }
    return text;
}

namespace internal {

bool sampleText(const std::string& name, std::string& json) {
    return readFile(NORV_SOURCE_DIR "/tests/samples/" + name + ".json", json);
}

}  // namespace internal

}  // namespace NorvTest
