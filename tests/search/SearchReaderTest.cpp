#include <norvext/json/SearchJson.h>
#include <norvext/search/NorvSearch.h>

#include "tests/support/GTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using NorvSearch::SearchError;
using NorvSearch::SearchFormat;
using NorvSearch::SearchReader;

const std::string kFolder = NORV_SOURCE_DIR "/tests/search/";

// The records of `in`, one JSON line each, as norvext-search prints them.
std::string recordsOf(std::istream& in, const std::string& source) {
    std::string json;
    SearchReader(source).read(in, [&json](NorvSearch::QueryResult&& result) {
        NorvJson::searchToJson(NorvSearch::makeSearch(result), json);
        json += '\n';
    });
    return json;
}

// Each file of inputs/ (BLAST XML of old and new versions, one document per
// query, gaps, strands and frames; BLAST and FASTA tabular with and without
// comments) against tests/golden/search/FILE.json.
TEST(SearchReader, InputsGiveTheirGoldenRecords) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder + "inputs")) {
        inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty());
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        NorvTest::checkGolden("search/" + path.filename().string() + ".json", recordsOf(in, path.filename().string()));
    }
}

// Each line of bad-input.txt names a file of bad/ and what the reader's
// message about it holds: its place and what is wrong.
TEST(SearchReader, BadInputNamesItsPlace) {
    std::istringstream table(NorvTest::fileText(kFolder + "bad-input.txt"));
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string name = "bad/" + line.substr(0, line.find('\t'));
        const std::string message = line.substr(line.find('\t') + 1);
        std::ifstream in(kFolder + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        try {
            recordsOf(in, name);
            ADD_FAILURE() << name << " read without error";
        } catch (const SearchError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(message)) << error.what() << "\n  expected: " << message;
            EXPECT_EQ(name, error.source());
        }
        ++rows;
    }
    EXPECT_GT(rows, 10);
    // Depth costs no stack: the parser and the reader recurse nowhere.
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    std::istringstream in(deep);
    EXPECT_THROW(recordsOf(in, "deep"), SearchError);
    EXPECT_THROW(SearchReader().setFields({"qseqid", "nonsense"}), std::invalid_argument);
}

TEST(SearchReader, FormatsByNameAndContent) {
    const std::pair<const char*, SearchFormat> heads[] = {{"  <?xml", SearchFormat::BlastXml},
                                                          {"# TBLASTN 2.12.0+\n", SearchFormat::BlastTab},
                                                          {"# ssearch36 -m 8C\n", SearchFormat::FastaTab},
                                                          {"q\ts\t1\n", SearchFormat::BlastTab}};
    for (const auto& head : heads) {
        SearchFormat format = SearchFormat::FastaTab == head.second ? SearchFormat::BlastXml : SearchFormat::FastaTab;
        EXPECT_TRUE(NorvSearch::detectFormat(head.first, format) && format == head.second) << head.first;
        EXPECT_TRUE(NorvSearch::formatFromName(NorvSearch::formatName(head.second), format) && format == head.second);
    }
    SearchFormat format;
    EXPECT_FALSE(NorvSearch::detectFormat("words only\n", format));
    EXPECT_FALSE(NorvSearch::formatFromName("blast", format));
}

}  // namespace
