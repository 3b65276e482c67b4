#include <norvext/search/NorvSearch.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using NorvSearch::QueryResult;
using NorvSearch::SearchError;
using NorvSearch::SearchFormat;
using NorvSearch::SearchReader;
using Segments = Norv::SeqAlign::Segments;

std::vector<QueryResult> readText(const std::string& text, const std::vector<std::string>& fields = {}) {
    SearchReader reader("in");
    if (!fields.empty()) {
        reader.setFields(fields);
    }
    std::istringstream in(text);
    return reader.readAll(in);
}

Segments segmentsOf(const Norv::SeqAlign& record) {
    Segments segments;
    record.getLineSegs(segments, 1, false, false);
    return segments;
}

// BLAST XML as old and new versions write it, built from its parts.
std::string hsp(const std::string& from, const std::string& to, const std::string& qseq, const std::string& hseq,
                const std::string& frame = "1", const std::string& evalue = "2.96e-169") {
    return "<Hsp><Hsp_bit-score>50.1</Hsp_bit-score><Hsp_score>120</Hsp_score><Hsp_evalue>" + evalue +
           "</Hsp_evalue><Hsp_query-from>" + from + "</Hsp_query-from><Hsp_query-to>" + to +
           "</Hsp_query-to><Hsp_hit-from>3</Hsp_hit-from><Hsp_hit-to>9</Hsp_hit-to><Hsp_query-frame>" + frame +
           "</Hsp_query-frame><Hsp_qseq>" + qseq + "</Hsp_qseq><Hsp_hseq>" + hseq + "</Hsp_hseq></Hsp>\n";
}
std::string hit(const std::string& id, const std::string& def, const std::string& hsps) {
    return "<Hit><Hit_id>" + id + "</Hit_id><Hit_def>" + def + "</Hit_def><Hit_hsps>\n" + hsps + "</Hit_hsps></Hit>\n";
}
std::string iteration(const std::string& query, const std::string& hits) {
    return "<Iteration>" + query + "<Iteration_hits>\n" + hits + "</Iteration_hits></Iteration>\n";
}
std::string document(const std::string& program, const std::string& head, const std::string& iterations) {
    return "<?xml version=\"1.0\"?>\n<BlastOutput><BlastOutput_program>" + program + "</BlastOutput_program>" +
           head + "<BlastOutput_iterations>\n" + iterations + "</BlastOutput_iterations></BlastOutput>\n";
}
const std::string kQuery =
    "<Iteration_query-ID>Query_1</Iteration_query-ID><Iteration_query-def>sp|P1|Q1 first query</Iteration_query-def>"
    "<Iteration_query-len>40</Iteration_query-len>";

TEST(SearchReader, BlocksFollowGapsStrandsAndTranslation) {
    struct Case {
        const char* what;
        std::string program, from, to, frame, qseq, hseq;
        Segments expected;
    };
    const Case cases[] = {
        {"gaps on both sides", "blastp", "11", "18", "0", "AB-CDE-FGH", "ABXC-EGFGH",
         {{11, 12}, {13, 13}, {15, 15}, {16, 18}}},
        {"minus strand, ranges kept", "blastn", "18", "11", "-1", "AB-CDE-FGH", "ABXC-EGFGH",
         {{11, 13}, {14, 14}, {16, 16}, {17, 18}}},
        {"translated query", "blastx", "4", "15", "1", "AB-CD", "ABXCD", {{4, 9}, {10, 15}}},
        {"translated minus frame printed ascending", "blastx", "4", "15", "-2", "AB-CD", "ABXCD", {{4, 9}, {10, 15}}},
        {"translated query, program unknown", "", "4", "12", "1", "ABC", "A-C", {{4, 6}, {10, 12}}},
    };
    for (const Case& c : cases) {
        const auto results = readText(
            document(c.program, "", iteration(kQuery, hit("sp|S1|X", "subject", hsp(c.from, c.to, c.qseq, c.hseq, c.frame)))));
        ASSERT_EQ(1u, results.size()) << c.what;
        ASSERT_EQ(1u, results[0].alignments.size()) << c.what;
        EXPECT_EQ(c.expected, segmentsOf(results[0].alignments[0])) << c.what;
        EXPECT_EQ(std::stoul(c.from), results[0].alignments[0].getQueryRange().start) << c.what;
    }
}

TEST(SearchReader, BtopAndLettersGiveTheSameBlocks) {
    // A mismatch stays in its block; a gap on either side ends it.
    const std::string qseq = "ABCD-EFGH", hseq = "AXC-YEFGH";
    const auto fromLetters = readText("q\ts\t1\t8\t1\t8\t1e-5\t30\t" + qseq + "\t" + hseq + "\n",
                                      {"qseqid", "sseqid", "qstart", "qend", "sstart", "send", "evalue",
                                       "bitscore", "qseq", "sseq"});
    const auto fromBtop = readText("q\ts\t1\t8\t1\t8\t1e-5\t30\t1BX1D--Y4\n",
                                   {"qseqid", "sseqid", "qstart", "qend", "sstart", "send", "evalue",
                                    "bitscore", "btop"});
    const Segments expected = {{1, 3}, {5, 8}};
    EXPECT_EQ(expected, segmentsOf(fromLetters.at(0).alignments.at(0)));
    EXPECT_EQ(expected, segmentsOf(fromBtop.at(0).alignments.at(0)));
}

TEST(SearchReader, XmlOfOldAndNewVersions) {
    // BLAST 2.2 put a single query's id in the header only, numbered
    // databases' ids into Hit_def, and wrote one document per query.
    const std::string old = document("blastn",
                                     "<BlastOutput_query-ID>lcl|1_0</BlastOutput_query-ID><BlastOutput_query-def>"
                                     "gi|7|ref old query</BlastOutput_query-def><BlastOutput_query-len>30"
                                     "</BlastOutput_query-len>",
                                     iteration("", hit("gnl|BL_ORD_ID|12", "gi|99|ref|X1| title words",
                                                       hsp("1", "3", "ACG", "ACG"))));
    const std::string current = document(
        "blastp", "", iteration(kQuery, hit("sp|P9|Y9", "a title", hsp("2", "4", "ABC", "ABC") + hsp("5", "7", "ABC", "ABC", "0", "e-180"))) +
                          iteration("<Iteration_query-ID>Query_2</Iteration_query-ID><Iteration_query-def>only-id"
                                    "</Iteration_query-def><Iteration_query-len>9</Iteration_query-len>",
                                    ""));
    const auto results = readText(old + "\n" + current);
    ASSERT_EQ(3u, results.size());
    EXPECT_EQ("gi|7|ref", results[0].id);
    EXPECT_EQ("old query", results[0].description);
    EXPECT_EQ(30u, results[0].length);
    EXPECT_EQ("gi|99|ref|X1|", results[0].alignments.at(0).getSubjectSourceID());
    EXPECT_EQ(12u, results[0].alignments.at(0).getSubjectID());
    EXPECT_EQ("title words", results[0].subjects.at(0)->getTitle());
    EXPECT_EQ("sp|P1|Q1", results[1].id);
    EXPECT_EQ(2u, results[1].alignments.size());
    EXPECT_EQ(1u, results[1].subjects.size());
    EXPECT_EQ("sp|P9|Y9", results[1].subjects[0]->getSourceID());
    EXPECT_EQ(0u, results[1].subjects[0]->getID());
    EXPECT_EQ(1e-180, results[1].alignments[1].getEValue());
    EXPECT_EQ("only-id", results[2].id);
    EXPECT_TRUE(results[2].alignments.empty());

    const Norv::XBlast search = NorvSearch::makeSearch(results[1]);
    ASSERT_EQ(1u, search.getHitCount());
    EXPECT_EQ("a title", search[0].getSummary()->getTitle());
    EXPECT_EQ(Norv::Sequence::Range(1, 40), search.getRange());
}

TEST(SearchReader, TabularQueriesFieldsAndCounts) {
    const std::string blast7 =
        "# BLASTX 2.12.0+\n# Query: q1 the first\n# Database: db\n"
        "# Fields: query acc.ver, subject acc.ver, q. start, q. end, s. start, s. end, evalue, bit score, score, "
        "query length, subject title\n# 2 hits found\n"
        "q1\tgnl|BL_ORD_ID|4\t30\t1\t1\t10\t0.0\t456\t900\t99\tS4 subject four\n"
        "q1\tS5\t1\t30\t1\t10\t2\t20.5\t40\t99\tfive\n"
        "# BLASTX 2.12.0+\n# Query: q2\n# Database: db\n# 0 hits found\n# BLAST processed 2 queries\n";
    const auto results = readText(blast7);
    ASSERT_EQ(2u, results.size());
    EXPECT_EQ("the first", results[0].description);
    EXPECT_EQ(99u, results[0].length);
    const Norv::SeqAlign& first = results[0].alignments.at(0);
    EXPECT_EQ("S4", first.getSubjectSourceID());
    EXPECT_EQ(4u, first.getSubjectID());
    EXPECT_EQ(900, first.getScore());
    EXPECT_EQ(Norv::Sequence::Range(30, 1), first.getQueryRange());
    EXPECT_EQ((Segments{{1, 30}}), segmentsOf(first));
    EXPECT_EQ("subject four", results[0].subjects.at(0)->getTitle());
    EXPECT_EQ("db", results[0].subjects.at(0)->getDBName());
    EXPECT_EQ("q2", results[1].id);
    EXPECT_TRUE(results[1].alignments.empty());

    // Without comments, a new query starts where the query id changes; FASTA
    // gives the length in its query line and BTOP as a 13th column.
    // BLAST pads a bit score below 10 with a blank.
    const auto plain = readText("a\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\t30\nb\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\t 9.6\n");
    ASSERT_EQ(2u, plain.size());
    EXPECT_EQ(0, plain[1].alignments.at(0).getScore());
    EXPECT_EQ(9.6, plain[1].alignments.at(0).getBitScore());
    const auto fasta = readText("# fasta36 -m 8CB\n# FASTA 36.3.8i\n# Query: qq desc - 218 aa\n# Fields: whatever\n"
                                "qq\ts\t99\t3\t0\t0\t1\t4\t1\t3\t1e-5\t30\t1ABC-1\n# FASTA processed 1 queries\n");
    ASSERT_EQ(1u, fasta.size());
    EXPECT_EQ(218u, fasta[0].length);
    EXPECT_EQ((Segments{{1, 2}, {4, 4}}), segmentsOf(fasta[0].alignments.at(0)));
}

TEST(SearchReader, BadInputNamesItsPlace) {
    const std::string row = "q\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\t30\n";
    const std::string good = hsp("1", "3", "ABC", "ABC");
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "in:1: empty input"},
        {"hello world\n", "in:1: unknown format"},
        {document("blastp", "", iteration(kQuery, hit("s", "d", hsp("1", "3", "ABC", "ABC", "1", "1.5x")))),
         "in:5:"},
        {document("blastp", "", iteration(kQuery, hit("s", "d", "<Hsp><Hsp_score>1</Hsp_score></Hsp>"))),
         "no <Hsp_bit-score>"},
        {document("blastp", "", iteration(kQuery, hit("s", "d", hsp("1", "9", "ABC", "ABC")))),
         "do not fill the query range"},
        {document("blastp", "", iteration(kQuery, hit("s", "d", good))).substr(0, 300), "in:4:"},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE B [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]>\n<B>&b;</B>\n",
         "in:2:"},
        {std::string(100, '<') + "x", "in:1:2:"},
        // Depth costs no stack: the parser and the reader recurse nowhere.
        {std::string(100000 * 3, 'x').replace(0, std::string::npos, [] {
             std::string deep;
             for (int i = 0; i < 100000; ++i) deep += "<a>";
             for (int i = 0; i < 100000; ++i) deep += "</a>";
             return deep;
         }()),
         "in:1:1: <a> where <BlastOutput> belongs"},
        {document("blastp", "", "") + "junk\n", "in:4:1: text outside <BlastOutput>"},
        {row + "q\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\n", "in:2:"},
        {row + "q\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\t30\textra\n", "in:2:30: 13 columns"},
        {"q\ts\t99\t3\t0\t0\t1\t3\t1\t3\tabc\t30\n", "in:1:22: 'abc' is not a number"},
        {"q\ts\t99\t3\t0\t0\t0\t3\t1\t3\t1e-5\t30\n", "in:1:14: position 0"},
        {row + "q\ts\t99\t3", "in:2: the last line has no line end"},
        {"# BLASTP 2.12.0+\n# Query: q\n# 2 hits found\n" + row + "# BLAST processed 1 queries\n",
         "announces 2 hits and has 1"},
        {"# BLASTP 2.12.0+\n# Query: q\n# 1 hits found\n" + row, "the file is truncated"},
        {"# BLASTP 2.12.0+\n# Fields: query acc.ver, q. start\n", "in:2: the fields have no \"subject id\" column"},
    };
    for (const Case& c : cases) {
        try {
            readText(c.text);
            ADD_FAILURE() << "read without error: " << c.text.substr(0, 80);
        } catch (const SearchError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(c.message))
                << error.what() << "\n  expected: " << c.message;
            EXPECT_EQ("in", error.source());
        }
    }
    EXPECT_THROW(SearchReader().setFields({"qseqid", "nonsense"}), std::invalid_argument);
}

TEST(SearchReader, FormatsByNameAndContent) {
    SearchFormat format = SearchFormat::FastaTab;
    EXPECT_TRUE(NorvSearch::detectFormat("  <?xml", format));
    EXPECT_EQ(SearchFormat::BlastXml, format);
    EXPECT_TRUE(NorvSearch::detectFormat("# TBLASTN 2.12.0+\n", format));
    EXPECT_EQ(SearchFormat::BlastTab, format);
    EXPECT_TRUE(NorvSearch::detectFormat("# ssearch36 -m 8C\n", format));
    EXPECT_EQ(SearchFormat::FastaTab, format);
    EXPECT_TRUE(NorvSearch::detectFormat("q\ts\t1\n", format));
    EXPECT_EQ(SearchFormat::BlastTab, format);
    EXPECT_FALSE(NorvSearch::detectFormat("words only\n", format));
    for (SearchFormat each : {SearchFormat::BlastXml, SearchFormat::BlastTab, SearchFormat::FastaTab}) {
        ASSERT_TRUE(NorvSearch::formatFromName(NorvSearch::formatName(each), format));
        EXPECT_EQ(each, format);
    }
    EXPECT_FALSE(NorvSearch::formatFromName("blast", format));
}

}  // namespace
