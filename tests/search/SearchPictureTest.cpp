#include <norvext/search/NorvSearch.h>

#include <norvseq/SeqAlign.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using NorvSearch::SearchPicture;

// The picture of the 12-column tabular `lines` (no query length: the axis
// runs to the largest segment end).
std::string pictureOf(const std::string& lines) {
    std::istringstream in(lines);
    SearchPicture picture;
    for (const NorvSearch::QueryResult& result : NorvSearch::SearchReader("in").readAll(in)) {
        picture.add(NorvSearch::makeSearch(result));
    }
    return picture.toSvg();
}

std::string line(const std::string& subject, int from, int to, const char* bits = "45.0") {
    return "q1\t" + subject + "\t90.0\t10\t1\t0\t" + std::to_string(from) + "\t" + std::to_string(to) +
           "\t1\t10\t1e-5\t" + bits + "\n";
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// One alignment of a record built in place: its bit score and segments.
struct Aligned {
    double bitScore;
    std::vector<std::pair<int, int>> segments;
};

// A record of query "q" over positions 1..length; hit h (source id "s<h+1>")
// holds the alignments hits[h].
Norv::XBlast recordOf(const std::vector<std::vector<Aligned>>& hits, unsigned int length = 100) {
    std::vector<Norv::SeqAlign> records;
    for (std::size_t h = 0; h < hits.size(); ++h) {
        for (const Aligned& aligned : hits[h]) {
            Norv::SeqAlign record;
            record.setSubjectSourceID("s" + std::to_string(h + 1));
            record.setBitScore(aligned.bitScore);
            record.setLineSegs(1, aligned.segments);
            records.push_back(record);
        }
    }
    Norv::XBlast search(boost::make_shared<Norv::Sequence>(0, "q", "", ""), Norv::Sequence::Range(1, length));
    search.assign(records, true);
    return search;
}

// `hits` hits of `alignments` alignments each, every one over 1..10.
Norv::XBlast uniformRecord(std::size_t hits, std::size_t alignments) {
    return recordOf(std::vector<std::vector<Aligned>>(hits, std::vector<Aligned>(alignments, {45, {{1, 10}}})));
}

struct Rect {
    double x, y, width, height;
    std::string fill;
};

// The rectangles of `svg` that are not the background, in document order.
std::vector<Rect> rectsOf(const std::string& svg) {
    static const std::regex s_rect("<rect x=\"([-0-9.e]+)\" y=\"([-0-9.e]+)\" width=\"([-0-9.e]+)\" "
                                   "height=\"([-0-9.e]+)\" fill=\"(#[0-9A-F]+)\"/>");
    std::vector<Rect> rects;
    for (std::sregex_iterator it(svg.begin(), svg.end(), s_rect), end; it != end; ++it) {
        const std::smatch& m = *it;
        rects.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return std::vector<Rect>(rects.begin() + 1, rects.end());
}

// The rectangles of `svg` filled with `fill` whose top is at `y`.
std::vector<Rect> rectsAt(const std::string& svg, double y, const std::string& fill) {
    std::vector<Rect> found;
    for (const Rect& rect : rectsOf(svg)) {
        if (rect.y == y && rect.fill == fill) {
            found.push_back(rect);
        }
    }
    return found;
}

// The x of the left edge of position p on an axis of `span` positions.
double xOf(double p, double span) { return 200 + (p - 1) * 580 / span; }

TEST(SearchPicture, ColoursFollowTheBitScoreBands) {
    // Each band from its lower bound on.
    const std::pair<double, const char*> edges[] = {{-1, "#000000"},    {39.99, "#000000"}, {40, "#0000FF"},
                                                    {49.99, "#0000FF"}, {50, "#00FF00"},    {79.99, "#00FF00"},
                                                    {80, "#FF00FF"},    {199.99, "#FF00FF"}, {200, "#FF0000"}};
    for (const auto& edge : edges) {
        EXPECT_STREQ(edge.second, SearchPicture::colourOf(edge.first)) << edge.first;
    }
}

TEST(SearchPicture, LabelsAreXmlTextAndShort) {
    const std::string svg = pictureOf(line("a<b&c>d", 3, 9) + line("bad\xFF\x01id", 5, 40) +
                                       line("a_very_long_subject_identifier_indeed", 1, 2));
    EXPECT_NE(svg.find(">a&lt;b&amp;c&gt;d</text>"), std::string::npos);
    EXPECT_EQ(svg.find("a<b"), std::string::npos);
    EXPECT_NE(svg.find(">bad??id</text>"), std::string::npos);
    // 21 letters and an ellipsis beside the row; the whole id in its title.
    EXPECT_NE(svg.find(">a_very_long_subject_i\xE2\x80\xA6</text>"), std::string::npos);
    EXPECT_NE(svg.find("<title>a_very_long_subject_identifier_indeed (alignment 1 of 1, bit score 45)</title>"),
              std::string::npos);
    // No query length: the axis runs to the largest segment end.
    EXPECT_NE(svg.find("positions 1\xE2\x80\x93" "40, 3 hits"), std::string::npos);
}

TEST(SearchPicture, ARecordWithoutHitsHasItsAxis) {
    const auto query = boost::make_shared<Norv::Sequence>(0, "q&1", "", "");
    SearchPicture picture;
    picture.add(Norv::XBlast(query, Norv::Sequence::Range(11, 50)));
    picture.add(Norv::XBlast());
    const std::string svg = picture.toSvg();
    EXPECT_EQ(picture.size(), 2u);
    EXPECT_EQ(picture.getDrawnCount(), 2u);
    EXPECT_NE(svg.find("<tspan font-weight=\"bold\">q&amp;1</tspan>  positions 11\xE2\x80\x93" "50, 0 hits"),
              std::string::npos);
    EXPECT_NE(svg.find(">11</text>"), std::string::npos);
    EXPECT_NE(svg.find(">50</text>"), std::string::npos);
    EXPECT_EQ(count(svg, ">no hits</text>"), 2u);
    // Key 28, then two panels of 54 + 20 + 12.
    EXPECT_EQ(picture.getHeight(), 200);
    EXPECT_NE(svg.find("height=\"200\" viewBox=\"0 0 800 200\""), std::string::npos);
}

TEST(SearchPicture, BarsCloserThanAPixelJoin) {
    const struct {
        unsigned int length;
        std::vector<std::pair<int, int>> segments;
        std::vector<std::pair<double, double>> bars;  // positions
    } cases[] = {
        // A one-position gap is 29 pixels on 20 positions, 0.06 on 10000.
        {20, {{1, 10}, {12, 20}}, {{1, 10}, {12, 20}}},
        {10000, {{1, 10}, {12, 20}}, {{1, 20}}},
        // Out of order and overlapping: sorted and joined.
        {100, {{30, 40}, {1, 10}, {35, 50}}, {{1, 10}, {30, 50}}},
        // Cut at the axis's ends.
        {100, {{-5, 3}, {90, 140}}, {{1, 3}, {90, 100}}},
    };
    for (const auto& c : cases) {
        SearchPicture picture;
        picture.add(recordOf({{{100, c.segments}}}, c.length));
        const auto bars = rectsAt(picture.toSvg(), 82, "#FF00FF");
        ASSERT_EQ(bars.size(), c.bars.size()) << c.length;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            EXPECT_NEAR(bars[i].x, xOf(c.bars[i].first, c.length), 1e-3) << c.length << " bar " << i;
            EXPECT_NEAR(bars[i].x + bars[i].width, xOf(c.bars[i].second + 1, c.length), 1e-3) << c.length;
        }
    }
}

TEST(SearchPicture, AHugeRecordKeepsWhatItDrawsOnly) {
    // 100,000 hits draw as 24 do, but for the counts.
    SearchPicture huge, small;
    huge.add(uniformRecord(100000, 1));
    small.add(uniformRecord(25, 1));
    std::string svg = huge.toSvg();
    for (const auto& change : {std::make_pair(std::string("100000 hits"), std::string("25 hits")),
                               std::make_pair(std::string("99976 more hits"), std::string("1 more hit"))}) {
        const auto at = svg.find(change.first);
        ASSERT_NE(at, std::string::npos) << change.first;
        svg.replace(at, change.first.size(), change.second);
    }
    EXPECT_EQ(svg, small.toSvg());
}

}  // namespace
