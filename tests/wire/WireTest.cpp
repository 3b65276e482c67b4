// The wire corpus: every buffer of every tests/wire/<version>/ folder, read by
// the current library as the class that its name gives, one typed test a
// class (Wire/<Class>). Reading a file must consume exactly the whole file,
// the object read must dump as the committed .dump file says, byte for byte,
// and writing it, also through its JSON, must give the same bytes back. The
// folder's manifest.txt lists it, and the folder of the current version holds
// every persisted class.
#include "tests/support/GTestSupport.h"

#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

template <class T>
class Wire : public ::testing::Test {};
TYPED_TEST_SUITE(Wire, NorvTest::PersistedTypes, NorvTest::PersistedTypeName);

TYPED_TEST(Wire, EveryBufferReadsWholeDumpsAsCommittedAndWritesItsBytesBack) {
    bool current = false;
    for (const fs::directory_entry& version : fs::directory_iterator(NORV_SOURCE_DIR "/tests/wire")) {
        if (!version.is_directory()) {
            continue;
        }
        const fs::path& folder = version.path();
        const std::string manifest = NorvTest::fileText((folder / "manifest.txt").string());
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            const std::string name = file.path().stem().string();
            if (file.path().extension() != ".bin" || name.substr(0, name.rfind('-')) != Norv::persistedClassName<TypeParam>()) {
                continue;
            }
            SCOPED_TRACE(file.path().string());
            current = current || folder.filename() == NORV_WIRE_VERSION;
            EXPECT_NE(manifest.find("\n" + name + " "), std::string::npos) << "not in the folder's manifest.txt";
            const std::string bin = NorvTest::fileText(file.path().string());
            const std::vector<unsigned char> bytes(bin.begin(), bin.end());
            Norv::AlignedBuf buf(bytes);
            const TypeParam object = NorvTest::readNew<TypeParam>(buf);
            EXPECT_EQ(buf.tell(), bytes.size()) << "the read does not end where the file ends";
            fs::path dump = file.path();
            EXPECT_EQ(NorvTest::dumpOf(object), NorvTest::fileText(dump.replace_extension(".dump").string()));
            EXPECT_TRUE(NorvTest::bytesOf(object) == bytes) << "writing the object read gives other bytes";
            EXPECT_TRUE(NorvTest::bytesOf(NorvJson::fromJson<TypeParam>(NorvJson::toJson(object))) == bytes)
                << "nor through JSON";
        }
    }
    EXPECT_TRUE(current) << "tests/wire/" << NORV_WIRE_VERSION << "/ holds no buffer of the class";
}

}  // namespace
