// The wire corpus: every buffer of every tests/wire/<version>/ folder, read by
// the current library as the class that its name gives, one typed test a
// class (Wire/<Class>). Reading a file must consume exactly the whole file,
// the object read must dump as the committed .dump file says, byte for byte,
// and writing it, also through its JSON, must give the same bytes back. The
// folder of the current version must hold every persisted class, and each
// folder's manifest.txt lists exactly the buffers the folder holds.
#include "tests/support/PersistedTypes.h"

#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string withoutCarriageReturns(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

std::vector<fs::path> versionFolders() {
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(NORV_SOURCE_DIR "/tests/wire")) {
        if (entry.is_directory()) {
            folders.push_back(entry.path());
        }
    }
    return folders;
}

template <class T>
class Wire : public ::testing::Test {};
TYPED_TEST_SUITE(Wire, NorvTest::PersistedTypes, NorvTest::PersistedTypeName);

TYPED_TEST(Wire, EveryBufferReadsWholeDumpsAsCommittedAndWritesItsBytesBack) {
    bool current = false;
    for (const fs::path& folder : versionFolders()) {
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            const std::string name = file.path().stem().string();
            if (file.path().extension() != ".bin" || name.substr(0, name.rfind('-')) != Norv::persistedClassName<TypeParam>()) {
                continue;
            }
            SCOPED_TRACE(file.path().string());
            current = current || folder.filename() == NORV_WIRE_VERSION;
            const std::string bin = NorvTest::fileText(file.path().string());
            const std::vector<unsigned char> bytes(bin.begin(), bin.end());
            Norv::AlignedBuf buf(bytes);
            const TypeParam object = NorvTest::readNew<TypeParam>(buf);
            EXPECT_EQ(buf.tell(), bytes.size()) << "the read does not end where the file ends";
            fs::path dump = file.path();
            EXPECT_EQ(withoutCarriageReturns(NorvTest::dumpOf(object)),
                      withoutCarriageReturns(NorvTest::fileText(dump.replace_extension(".dump").string())));
            EXPECT_TRUE(NorvTest::bytesOf(object) == bytes) << "writing the object read gives other bytes";
            EXPECT_TRUE(NorvTest::bytesOf(NorvJson::fromJson<TypeParam>(NorvJson::toJson(object))) == bytes)
                << "nor through JSON";
        }
    }
    EXPECT_TRUE(current) << "tests/wire/" << NORV_WIRE_VERSION << "/ holds no buffer of the class";
}

// A manifest line is "<Class>-<n> <type> <what it was made from>"; each
// buffer is a .bin and a .dump file.
TEST(Wire, EachManifestListsExactlyTheBuffersOfItsFolder) {
    for (const fs::path& folder : versionFolders()) {
        std::set<std::string> listed{"manifest.txt"}, present;
        std::istringstream manifest(NorvTest::fileText((folder / "manifest.txt").string()));
        for (std::string line, name; std::getline(manifest, line);) {
            if (std::istringstream(line) >> name && name[0] != '#') {
                listed.insert({name + ".bin", name + ".dump"});
            }
        }
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            present.insert(file.path().filename().string());
        }
        EXPECT_EQ(present, listed) << folder;
    }
}

}  // namespace
