// The wire corpus: every buffer of every tests/wire/<version>/ folder, read by
// the current library as the class that its name gives, one typed test a
// class (Wire/<Class>). Reading a file must consume exactly the whole file,
// the object read must dump as the committed .dump file says, byte for byte,
// and writing it, also through its JSON, must give the same bytes back. The
// folder of the current version must hold every persisted class.
#include "tests/support/PersistedTypes.h"

#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct WireFile {
    const char* version;  // the folder, <major>.<minor>
    const char* name;     // <Class>-<n>, the file's name without extension
    const char* bin;      // the .bin file as hex
    const char* dump;     // the .dump file as hex
};

const WireFile kWireFiles[] = {
#include "WireFiles.inc"
};

std::vector<unsigned char> fromHex(const char* hex) {
    std::vector<unsigned char> bytes;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        unsigned int byte = 0;
        std::sscanf(p, "%2x", &byte);
        bytes.push_back(static_cast<unsigned char>(byte));
    }
    return bytes;
}

std::string withoutCarriageReturns(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

template <class T>
class Wire : public ::testing::Test {};
TYPED_TEST_SUITE(Wire, NorvTest::PersistedTypes, NorvTest::PersistedTypeName);

TYPED_TEST(Wire, EveryBufferReadsWholeDumpsAsCommittedAndWritesItsBytesBack) {
    bool current = false;
    for (const WireFile& file : kWireFiles) {
        const std::string name = file.name;
        if (name.substr(0, name.rfind('-')) != NorvTest::className<TypeParam>()) {
            continue;
        }
        SCOPED_TRACE(std::string("tests/wire/") + file.version + "/" + name);
        current = current || std::string(file.version) == NORV_WIRE_VERSION;
        const std::vector<unsigned char> bytes = fromHex(file.bin), dump = fromHex(file.dump);
        Norv::AlignedBuf buf(bytes);
        const TypeParam object = NorvTest::readNew<TypeParam>(buf);
        EXPECT_EQ(buf.tell(), bytes.size()) << "the read does not end where the file ends";
        EXPECT_EQ(withoutCarriageReturns(NorvTest::dumpOf(object)), withoutCarriageReturns(std::string(dump.begin(), dump.end())));
        EXPECT_TRUE(NorvTest::bytesOf(object) == bytes) << "writing the object read gives other bytes";
        EXPECT_TRUE(NorvTest::bytesOf(NorvJson::fromJson<TypeParam>(NorvJson::toJson(object))) == bytes) << "nor through JSON";
    }
    EXPECT_TRUE(current) << "tests/wire/" << NORV_WIRE_VERSION << "/ holds no buffer of the class";
}

}  // namespace
