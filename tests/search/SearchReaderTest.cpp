#include <norvext/search/NorvSearch.h>

#include "tests/support/GTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using NorvSearch::QueryResult;
using NorvSearch::SearchError;
using NorvSearch::SearchFormat;
using NorvSearch::SearchReader;

const std::string kFolder = NORV_SOURCE_DIR "/tests/search/";
// Read sizes that put a block boundary at every place of a small input, and
// at odd places of a large one.
const std::size_t kReadSizes[] = {1, 2, 3, 7, 61, 4093};

std::vector<std::filesystem::path> filesOf(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder + folder)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<QueryResult> queriesOf(const std::string& text, const std::string& source, std::size_t readSize = 1 << 16) {
    SearchReader reader(source);
    reader.setReadSize(readSize);
    std::istringstream in(text);
    return reader.readAll(in);
}

// The records of `text`, one JSON line each, as norvext-search prints them;
// or the reader's message.
std::string recordsOf(const std::string& text, const std::string& source, std::size_t readSize = 1 << 16) {
    try {
        std::string json;
        for (const QueryResult& query : queriesOf(text, source, readSize)) {
            NorvSearch::queryToJson(query, json);
            json += '\n';
        }
        return json;
    } catch (const SearchError& error) {
        return std::string("error: ") + error.what();
    }
}

// `text` as a gzip member.
std::string gzip(const std::string& text) {
    z_stream stream{};
    EXPECT_EQ(Z_OK, deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY));
    std::string out(deflateBound(&stream, static_cast<uLong>(text.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(Z_STREAM_END, deflate(&stream, Z_FINISH));
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Each file of inputs/ (BLAST XML of old and new versions, one document per
// query, gaps, PSI-BLAST; blastn, blastx, tblastn, tblastx with minus strands
// and frames as XML, tabular 7 with BTOP and 6 with the aligned letters; BLAST and FASTA tabular with
// and without comments, frameshifts, a field list without ranges; files with
// the engines' own small inconsistencies) against
// tests/golden/search/FILE.json; then the same records whatever the block
// boundaries of the input, and from its gzip data (one member or two).
TEST(SearchReader, InputsGiveTheirGoldenRecords) {
    const auto inputs = filesOf("inputs");
    ASSERT_GT(inputs.size(), 10u);
    for (const auto& path : inputs) {
        const std::string name = path.filename().string();
        const std::string text = NorvTest::fileText(path.string());
        const std::string records = recordsOf(text, name);
        NorvTest::checkGolden("search/" + name + ".json", records);
        for (const std::size_t size : kReadSizes) {
            EXPECT_EQ(records, recordsOf(text, name, size)) << name << " read " << size << " bytes at a time";
        }
        EXPECT_EQ(records, recordsOf(gzip(text), name)) << name << " gzipped";
        EXPECT_EQ(records, recordsOf(gzip(text), name, 5)) << name << " gzipped, read 5 bytes at a time";
        const std::size_t half = text.size() / 2;
        EXPECT_EQ(records, recordsOf(gzip(text.substr(0, half)) + gzip(text.substr(half)), name, 3))
            << name << " in two gzip members";
    }
}

// A document far larger than the reader's blocks and window, with tags
// astride every kind of boundary: the same records as its queries alone.
TEST(SearchReader, LargeXmlReadsWhateverItsBoundaries) {
    const std::string one = NorvTest::fileText(kFolder + "inputs/psiblast.xml");
    const std::size_t first = one.find("<Iteration>");
    const std::size_t end = one.rfind("</BlastOutput_iterations>");
    ASSERT_NE(std::string::npos, first);
    const std::string iterations = one.substr(first, end - first);
    std::string big = one.substr(0, first);
    for (int i = 0; i < 700; ++i) {
        big += iterations;
    }
    big += one.substr(end);
    ASSERT_GT(big.size(), 3u << 20);
    const std::vector<QueryResult> alone = queriesOf(one, "one");
    for (const std::size_t size : {std::size_t(1) << 16, std::size_t(65521), std::size_t(1) << 20}) {
        const std::vector<QueryResult> queries = queriesOf(big, "big", size);
        ASSERT_EQ(alone.size() * 700, queries.size()) << size;
        for (std::size_t i = 0; i < queries.size(); ++i) {
            std::string expected, actual;
            NorvSearch::queryToJson(alone[i % alone.size()], expected);
            NorvSearch::queryToJson(queries[i], actual);
            ASSERT_EQ(expected, actual) << "query " << i << " read " << size << " bytes at a time";
        }
    }
}

// Every format's output put together with copies of itself (as split runs
// are concatenated) until it is far larger than the reader's blocks and
// window: each copy's records are those of the output alone, whatever the
// pieces it is read in.
TEST(SearchReader, EveryFormatReadsCopiesFarLargerThanItsBuffers) {
    for (const char* name : {"psiblast.15.json", "blastn-minus.16.xml", "diamond-blastx.xml", "tblastx.7.tab",
                             "fasta-runs.m10", "mmseqs-4-cigar.tab"}) {
        const std::string one = NorvTest::fileText(kFolder + "inputs/" + name);
        const std::string alone = recordsOf(one, name);
        ASSERT_EQ(std::string::npos, alone.find("error: ")) << alone;
        const std::size_t copies = (std::size_t(2) << 20) / one.size() + 2;
        std::string big, expected;
        for (std::size_t i = 0; i < copies; ++i) {
            big += one;
            expected += alone;
        }
        for (const std::size_t size : {std::size_t(65521), std::size_t(1) << 20}) {
            EXPECT_TRUE(expected == recordsOf(big, name, size)) << name << ": " << copies << " copies read " << size
                                                                << " bytes at a time";
        }
    }
}

// BLAST's JSON written on one line (as `jq -c` writes it), its array of
// reports far larger than the reader's window: the records of the reports
// alone, whatever the pieces; cut short, the fault's column counts every
// byte of the line.
TEST(SearchReader, OneLineJsonReadsInBoundedPieces) {
    const std::string one = NorvTest::fileText(kFolder + "inputs/tblastn.13.json");
    const std::size_t open = one.find('{', one.find("\"BlastOutput2\""));
    std::string report = one.substr(open, one.rfind('}', one.rfind('}') - 1) + 1 - open);
    report.erase(std::remove(report.begin(), report.end(), '\n'), report.end());
    std::string line = "{\"BlastOutput2\":[" + report;
    for (int i = 1; i < 100; ++i) {
        line += "," + report;
    }
    line += "]}";
    ASSERT_GT(line.size(), 256u << 10);
    const std::vector<QueryResult> alone = queriesOf(one, "one");
    ASSERT_EQ(1u, alone.size());
    std::string expected;
    NorvSearch::queryToJson(alone[0], expected);
    for (const std::size_t size : {std::size_t(4093), std::size_t(1) << 16}) {
        const std::vector<QueryResult> queries = queriesOf(line, "line", size);
        ASSERT_EQ(100u, queries.size());
        for (const QueryResult& query : queries) {
            std::string actual;
            NorvSearch::queryToJson(query, actual);
            ASSERT_EQ(expected, actual) << "read " << size << " bytes at a time";
        }
    }
    const std::string cut = line.substr(0, line.size() - report.size() / 2);
    EXPECT_EQ(0u, recordsOf(cut, "cut").find("error: cut:1:" + std::to_string(cut.size() + 1) + ": the output ends"))
        << recordsOf(cut, "cut").substr(0, 200);
}

// Each line of bad-input.txt names a file of bad/ and what the reader's
// message about it holds: its place and what is wrong, whatever the block
// boundaries.
TEST(SearchReader, BadInputNamesItsPlace) {
    std::istringstream table(NorvTest::fileText(kFolder + "bad-input.txt"));
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string name = "bad/" + line.substr(0, line.find('\t'));
        const std::string message = line.substr(line.find('\t') + 1);
        const std::string text = NorvTest::fileText(kFolder + name);
        const std::string whole = recordsOf(text, name);
        EXPECT_EQ(0u, whole.find("error: ")) << name << " read without error";
        EXPECT_NE(std::string::npos, whole.find(message)) << whole << "\n  expected: " << message;
        EXPECT_EQ(whole, recordsOf(text, name, 1)) << name << " read a byte at a time";
        ++rows;
    }
    EXPECT_GT(rows, 10);
    // Depth costs no stack: the parser and the reader recurse nowhere.
    std::string deep = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    EXPECT_EQ(0u, recordsOf(deep, "deep").find("error: deep:1:"));
    EXPECT_THROW(SearchReader().setFields({"qseqid", "nonsense"}), std::invalid_argument);
    EXPECT_THROW(SearchReader().setFields({"qseqid", "evalue", "bitscore"}), std::invalid_argument);
    EXPECT_NO_THROW(SearchReader().setFields({"6", "std", "btop"}));
    // MMseqs2's names, as it takes them; its qseq is no BLAST keyword's twin.
    EXPECT_NO_THROW(SearchReader().setFields({"query,target,evalue,bits,qseq,cigar"}));
    EXPECT_THROW(SearchReader().setFields({"query,target,evalue,bitscore"}), std::invalid_argument);
}

// An empty output is no query in any format but XML, whose documents are
// never empty.
TEST(SearchReader, EmptyOutputHasNoQuery) {
    EXPECT_EQ("", recordsOf("", "empty"));
    EXPECT_EQ("", recordsOf(" \n\n", "blank"));
    SearchReader xml("empty.xml");
    xml.setFormat(SearchFormat::BlastXml);
    std::istringstream in("");
    EXPECT_THROW(xml.readAll(in), SearchError);
}

TEST(SearchReader, FormatsByNameAndContent) {
    // FASTA's -m 10 begins as its tabular output does, and its other text
    // outputs as it does: only its key lines tell it.
    const std::string m10 = "SSEARCH performs a Smith-Waterman search\n version 36.3.8i Nov, 2022\n  1>>>q - 5 aa\n"
                            "Library: lib\n\n>>>q, 5 aa vs lib library\n; pg_name: ssearch36\n";
    const std::string m10Commented = "# ssearch36 -m 10 q.aa lib\n" + m10;
    const std::pair<const char*, SearchFormat> heads[] = {{"  <?xml", SearchFormat::BlastXml},
                                                          {"<BlastOutput>", SearchFormat::BlastXml},
                                                          {"# TBLASTN 2.12.0+\n", SearchFormat::BlastTab},
                                                          {"# RPSTBLASTN 2.12.0+\n", SearchFormat::BlastTab},
                                                          {"# DELTABLAST 2.12.0+\n", SearchFormat::BlastTab},
                                                          {"# ssearch36 -m 8C\n", SearchFormat::FastaTab},
                                                          {"# FASTX 36.3.8i\n", SearchFormat::FastaTab},
                                                          {"q\ts\t1\t2\n", SearchFormat::BlastTab},
                                                          {m10.c_str(), SearchFormat::FastaM10},
                                                          {m10Commented.c_str(), SearchFormat::FastaM10},
                                                          {"<?xml version=\"1.0\"?>\n<BlastXML2\n", SearchFormat::BlastXml2},
                                                          {"<?xml?><BlastOutput2>", SearchFormat::BlastXml2},
                                                          {"<?xml?><BlastOutput2_x>", SearchFormat::BlastXml},
                                                          {"{\n\"BlastOutput2\": [", SearchFormat::BlastJson},
                                                          {"{\n\t\"BlastJSON\": [", SearchFormat::BlastJson},
                                                          {"qseqid\tsseqid\tevalue\tbitscore\n", SearchFormat::BlastTab},
                                                          {"query\ttarget\tevalue\tbits\n", SearchFormat::MMseqsTab},
                                                          {"q\tt\t0.779\t218\t48\t0\t1\t218\t1\t218\t1.320E-122\t379\n",
                                                           SearchFormat::MMseqsTab},
                                                          {"q\tt\t77.9\t218\t48\t0\t1\t218\t1\t218\t1.32e-122\t379\n",
                                                           SearchFormat::BlastTab}};
    for (const auto& head : heads) {
        SearchFormat format = SearchFormat::FastaTab == head.second ? SearchFormat::BlastXml : SearchFormat::FastaTab;
        EXPECT_TRUE(NorvSearch::detectFormat(head.first, format) && format == head.second) << head.first;
        EXPECT_TRUE(NorvSearch::formatFromName(NorvSearch::formatName(head.second), format) && format == head.second);
    }
    SearchFormat format;
    for (const char* unknown : {"words only\n", "# Nonsense 1.0\n", "<html>", "q\ts\t1\n",
                                "# ssearch36 q.aa lib\nSSEARCH performs a Smith-Waterman search\n version 36.3.8i\n"
                                "  1>>>q - 5 aa\n",
                                "; pg_name: ssearch36\n", "{\"BlastOutput\": 1}"}) {
        EXPECT_FALSE(NorvSearch::detectFormat(unknown, format)) << unknown;
    }
    EXPECT_FALSE(NorvSearch::formatFromName("blast", format));
}

}  // namespace
