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

TEST(SearchPicture, APanelDrawsTheFirstHitsThatFitAndCountsTheRest) {
    const struct {
        std::size_t hits, alignments;
        std::size_t drawnHits;
        const char* moreHits;        // the panel's note, or null
        const char* moreAlignments;  // each drawn hit's note, or null
    } cases[] = {
        {1, 1, 1, nullptr, nullptr},
        {24, 1, 24, nullptr, nullptr},
        {30, 1, 24, "and 6 more hits", nullptr},
        {25, 1, 24, "and 1 more hit", nullptr},
        {8, 3, 8, nullptr, nullptr},                    // 24 rows exactly
        {9, 3, 8, "and 1 more hit", nullptr},
        {10, 5, 6, "and 4 more hits", "and 2 more alignments"},  // 4 rows a hit
        {7, 4, 6, "and 1 more hit", "and 1 more alignment"},
        {1, 100, 1, nullptr, "and 97 more alignments"},
    };
    for (const auto& c : cases) {
        SearchPicture picture;
        picture.add(uniformRecord(c.hits, c.alignments));
        const std::string svg = picture.toSvg();
        const std::size_t shown = std::min<std::size_t>(c.alignments, SearchPicture::s_maxAlignments);
        const std::string where = std::to_string(c.hits) + "x" + std::to_string(c.alignments);
        // One labelled hit and a titled group per alignment drawn.
        EXPECT_EQ(count(svg, "text-anchor=\"end\">s"), c.drawnHits) << where;
        EXPECT_EQ(count(svg, "<title>"), c.drawnHits * shown) << where;
        EXPECT_EQ(count(svg, "more hit"), c.moreHits ? 1u : 0u) << where;
        if (c.moreHits) {
            EXPECT_NE(svg.find(std::string(">") + c.moreHits + "</text>"), std::string::npos) << where;
        }
        EXPECT_EQ(count(svg, "more alignment"), c.moreAlignments ? c.drawnHits : 0u) << where;
        if (c.moreAlignments) {
            EXPECT_EQ(count(svg, std::string(">") + c.moreAlignments + "</text>"), c.drawnHits) << where;
        }
        const int rows = static_cast<int>(c.drawnHits * (shown + (c.moreAlignments ? 1 : 0)));
        EXPECT_LE(rows, SearchPicture::s_maxRows) << where;
        EXPECT_EQ(picture.getHeight(),
                  28 + 54 + rows * 10 + static_cast<int>(c.drawnHits) * 4 + (c.moreHits ? 16 : 0) + 12)
            << where;
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

TEST(SearchPicture, ThePictureStopsBeforeItsHeightAndCountsTheQueriesLeftOut) {
    // Panels of 12 hits of two rows (24 rows) and the note: 54 + 12 * 24 +
    // 16 + 12 = 370 pixels; 16000 less the key and the footer (24) holds 43.
    const Norv::XBlast record = uniformRecord(30, 2);
    SearchPicture picture;
    for (int i = 0; i < 300; ++i) {
        picture.add(record);
    }
    // Once one is left out, so are the later ones, however small.
    picture.add(Norv::XBlast());
    const std::string svg = picture.toSvg();
    EXPECT_EQ(picture.size(), 301u);
    EXPECT_EQ(picture.getDrawnCount(), 43u);
    EXPECT_EQ(picture.getHeight(), 28 + 43 * 370 + 24);
    EXPECT_LE(picture.getHeight(), SearchPicture::s_maxHeight);
    EXPECT_NE(svg.find("height=\"" + std::to_string(picture.getHeight()) + "\""), std::string::npos);
    EXPECT_EQ(count(svg, "<tspan font-weight=\"bold\">q</tspan>"), 43u);
    EXPECT_NE(svg.find(">258 more queries not drawn (the picture stops at 16000 pixels)</text>"), std::string::npos);
    EXPECT_EQ(count(svg, "no hits"), 0u);

    // The tallest panels there are: 24 hits of one row and the note, 54 +
    // 24 * 14 + 16 + 12 = 418 pixels; 38 of them fit.
    SearchPicture largest;
    for (int i = 0; i < 100; ++i) {
        largest.add(uniformRecord(25, 1));
    }
    EXPECT_EQ(largest.getDrawnCount(), 38u);
    EXPECT_LE(largest.getHeight(), SearchPicture::s_maxHeight);
}

}  // namespace
