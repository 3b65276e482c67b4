#include <norvext/search/NorvSearch.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

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
    EXPECT_NE(svg.find("<title>a_very_long_subject_identifier_indeed (bit score 45)</title>"), std::string::npos);
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
    EXPECT_NE(svg.find("<tspan font-weight=\"bold\">q&amp;1</tspan>  positions 11\xE2\x80\x93" "50, 0 hits"),
              std::string::npos);
    EXPECT_NE(svg.find(">11</text>"), std::string::npos);
    EXPECT_NE(svg.find(">50</text>"), std::string::npos);
    EXPECT_EQ(count(svg, ">no hits</text>"), 2u);
    // Key 28, then two panels of 54 + 20 + 12.
    EXPECT_NE(svg.find("height=\"200\" viewBox=\"0 0 800 200\""), std::string::npos);
}

}  // namespace
