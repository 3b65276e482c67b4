#include <norvext/search/SearchPicture.h>

#include <norvext/common/internal/Utf8.h>
#include <norvseq/Alignment.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <ostream>
#include <sstream>

namespace NorvSearch {
namespace {

// The layout, in pixels; docs/search.md ("Pictures") states it, and
// tests/search/check_picture.py relies on it.
const int kWidth = 800;
const int kPlotLeft = 200;           // the axis's first position starts here
const int kPlotRight = 780;          // and its last one ends here
const int kLabelRight = 192;         // hit labels end here
const int kBracketX = 196;           // joins the rows of one hit's alignments
const int kKeyHeight = 28;           // the colour key above the panels
const int kAxisY = 28;               // in a panel: the axis line
const int kTickLength = 5;
const int kTickLabelY = 44;          // baseline of the axis numbers
const int kRowsTop = 54;             // the first row
const int kRowPitch = 10;            // one alignment's row
const int kBarHeight = 8;            // from the row's top; 2 white below
const int kHitGap = 4;               // below each hit's rows: a label fits in 14
const int kNoteHeight = 16;          // "and N more hits"
const int kNoHitsHeight = 20;
const int kPanelBottom = 12;
const int kFooterHeight = 24;        // "N more queries not drawn"
const int kFontSize = 11;
const int kNoteFontSize = 9;         // "and N more alignments", in a row
const std::size_t kLabelLetters = 22;
const std::size_t kTitleLetters = 100;
const std::size_t kQueryLetters = 60;
const char* const kLineColour = "#999999";

struct Band {
    double from;
    const char* colour;
    const char* name;
};
const Band kBands[] = {{-HUGE_VAL, "#000000", "&lt; 40"},
                       {40, "#0000FF", "40\xE2\x80\x93" "50"},
                       {50, "#00FF00", "50\xE2\x80\x93" "80"},
                       {80, "#FF00FF", "80\xE2\x80\x93" "200"},
                       {200, "#FF0000", "\xE2\x89\xA5 200"}};

// Rows of a hit with `count` alignments: one per alignment drawn (one
// empty row for a hit without any), and one that counts the rest.
int rowsOf(std::size_t count) {
    const int drawn = static_cast<int>(std::min<std::size_t>(count, SearchPicture::s_maxAlignments));
    return std::max(1, drawn) + (count > static_cast<std::size_t>(drawn) ? 1 : 0);
}

int hitHeight(std::size_t count) { return rowsOf(count) * kRowPitch + kHitGap; }

// "N things", or "1 thing".
std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

// `text` as XML character data of at most `letters` characters (the last
// one an ellipsis when it is cut): markup characters escaped, and what XML
// cannot hold (control characters, bytes that are not UTF-8) as '?'.
std::string xmlText(const std::string& text, std::size_t letters = std::string::npos) {
    std::string out;
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        if (count + 1 == letters && at < text.size()) {
            // One letter left: the ellipsis unless this is the last one.
            const std::size_t length = std::max<std::size_t>(1, Norv::internal::utf8Length(text, at));
            if (at + length < text.size()) {
                out += "\xE2\x80\xA6";
                break;
            }
        }
        const char c = text[at];
        const std::size_t length = Norv::internal::utf8Length(text, at);
        if (length == 0 || (length == 1 && static_cast<unsigned char>(c) < 0x20) || c == 0x7F) {
            out += '?';
            ++at;
        } else if (c == '&') {
            out += "&amp;", ++at;
        } else if (c == '<') {
            out += "&lt;", ++at;
        } else if (c == '>') {
            out += "&gt;", ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

// An SVG writer that prints numbers the same whatever the global locale.
class Svg {
public:
    Svg() { m_out.imbue(std::locale::classic()); }
    template <typename T>
    Svg& operator<<(const T& value) {
        m_out << value;
        return *this;
    }
    void rect(double x, double y, double width, double height, const char* fill) {
        m_out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << width << "\" height=\"" << height
              << "\" fill=\"" << fill << "\"/>\n";
    }
    // `text` is character data already.
    void text(double x, double y, const char* anchor, const std::string& text, int size = kFontSize) {
        m_out << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"" << size << "\" text-anchor=\"" << anchor
              << "\">" << text << "</text>\n";
    }
    std::string str() const { return m_out.str(); }

private:
    std::ostringstream m_out;
};

// The x of the left edge of line position `position` (1 = the first).
double xOf(double position, unsigned long long span) {
    return kPlotLeft + (position - 1) * (kPlotRight - kPlotLeft) / static_cast<double>(span);
}

// A round step that puts at most eight ticks on `span` positions.
unsigned long long tickStep(unsigned long long span) {
    for (unsigned long long decade = 1;; decade *= 10) {
        for (const unsigned long long factor : {1, 2, 5}) {
            if (span / (decade * factor) <= 8) {
                return decade * factor;
            }
        }
    }
}

void drawKey(Svg& svg) {
    svg.text(8, 18, "start", "bit score");
    int x = 80;
    for (const Band& band : kBands) {
        svg.rect(x, 8, 12, 12, band.colour);
        svg.text(x + 16, 18, "start", band.name);
        x += 100;
    }
}

void drawAxis(Svg& svg, int top, unsigned long long first, unsigned long long span) {
    svg.rect(kPlotLeft, top + kAxisY, kPlotRight - kPlotLeft, 1, "#000000");
    const auto tick = [&](unsigned long long position) {
        const double x = xOf(static_cast<double>(position - first) + 1.5, span);
        svg.rect(x - 0.5, top + kAxisY + 1, 1, kTickLength, "#000000");
        svg.text(x, top + kTickLabelY, "middle", std::to_string(position), 10);
    };
    const unsigned long long last = first + span - 1;
    tick(first);
    if (last != first) {
        tick(last);
    }
    // Round positions between the ends, kept clear of the ends' numbers.
    const unsigned long long step = tickStep(span);
    const double room = 30;
    for (unsigned long long position = (first / step + 1) * step; position < last; position += step) {
        const double x = xOf(static_cast<double>(position - first) + 1.5, span);
        if (x - xOf(1.5, span) >= room && xOf(static_cast<double>(span) + 0.5, span) - x >= room) {
            tick(position);
        }
    }
}

}  // namespace

const char* SearchPicture::colourOf(double bitScore) {
    const char* colour = kBands[0].colour;
    for (const Band& band : kBands) {
        if (bitScore >= band.from) {
            colour = band.colour;
        }
    }
    return colour;
}

void SearchPicture::add(const Norv::XBlast& search) {
    if (m_panels.size() < m_added) {
        ++m_added;  // an earlier record did not fit: the picture is full
        return;
    }
    // Which hits fit comes from their alignment counts alone, so that only
    // the drawn part of the record is ever turned into geometry.
    Panel panel;
    panel.hitCount = search.size();
    Norv::XBlast drawn(search.getQuery(), search.getRange());
    drawn.setParams(search.getParams());  // getLineSet's translation flag
    int rows = 0;
    for (const Norv::XBlastHit& hit : search) {
        Norv::XBlastHit kept;
        std::size_t count = 0;
        for (const auto& alignment : hit.getAlignments()) {
            if (alignment && count++ < static_cast<std::size_t>(s_maxAlignments)) {
                kept.add(alignment);
            }
        }
        if (rows + rowsOf(count) > s_maxRows) {
            break;
        }
        rows += rowsOf(count);
        HitRows drawnHit;
        drawnHit.label = xmlText(hit.getSourceID(), kLabelLetters);
        drawnHit.title = xmlText(hit.getSourceID(), kTitleLetters);
        drawnHit.alignmentCount = count;
        panel.hits.push_back(std::move(drawnHit));
        drawn.add(kept);
    }
    panel.height = kRowsTop + kPanelBottom;
    if (panel.hitCount == 0) {
        panel.height += kNoHitsHeight;
    }
    for (const HitRows& hit : panel.hits) {
        panel.height += hitHeight(hit.alignmentCount);
    }
    if (panel.hits.size() < panel.hitCount) {
        panel.height += kNoteHeight;
    }
    // Room for the footer is kept from the start, since whether a later
    // record is left out is not known yet.
    if (kKeyHeight + m_panelsHeight + panel.height + kFooterHeight > s_maxHeight) {
        ++m_added;
        return;
    }

    if (search.getQuery()) {
        panel.queryID = xmlText(search.getQuery()->getSourceID(), kQueryLetters);
    }
    Norv::XBlast::LineSet lines;
    drawn.getLineSet(lines, true);
    const Norv::Sequence::Range& range = search.getRange();
    long long largest = 1;
    for (const auto& row : lines) {
        for (const auto& segments : row) {
            for (const auto& segment : segments) {
                largest = std::max<long long>(largest, std::max(segment.first, segment.second));
            }
        }
    }
    const bool valid = range.start >= 1 && range.start <= range.end;
    panel.first = valid ? range.start : 1;
    panel.span = valid ? static_cast<unsigned long long>(range.end) - range.start + 1
                       : static_cast<unsigned long long>(largest);
    const long long span = static_cast<long long>(panel.span);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Norv::XBlastHit& hit = drawn.getHit(static_cast<unsigned int>(i));
        for (std::size_t k = 0; k < lines[i].size(); ++k) {
            AlignmentRow row;
            row.bitScore = hit.getAlignments()[k]->getSeqAlign().getBitScore();
            // Positions off the axis (a record whose alignments do not fit
            // its range) are cut at its ends.
            for (const auto& segment : lines[i][k]) {
                const long long lower = std::max<long long>(1, std::min(segment.first, segment.second));
                const long long upper = std::min<long long>(span, std::max(segment.first, segment.second));
                if (lower <= upper) {
                    row.bars.emplace_back(xOf(static_cast<double>(lower), panel.span),
                                          xOf(static_cast<double>(upper) + 1, panel.span));
                }
            }
            // Bars closer than a pixel join: a gap that narrow does not show,
            // and an alignment keeps at most one bar a pixel however many
            // gaps it has.
            std::sort(row.bars.begin(), row.bars.end());
            std::vector<std::pair<double, double>> joined;
            for (const auto& bar : row.bars) {
                if (!joined.empty() && bar.first - joined.back().second < 1) {
                    joined.back().second = std::max(joined.back().second, bar.second);
                } else {
                    joined.push_back(bar);
                }
            }
            row.bars = std::move(joined);
            panel.hits[i].alignments.push_back(std::move(row));
        }
    }
    m_panels.push_back(std::move(panel));
    m_panelsHeight += m_panels.back().height;
    ++m_added;
}

int SearchPicture::getHeight() const {
    return kKeyHeight + m_panelsHeight + (m_panels.size() < m_added ? kFooterHeight : 0);
}

std::string SearchPicture::toSvg() const {
    const int height = getHeight();
    Svg svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << kWidth << ' ' << height << "\" font-family=\"sans-serif\">\n";
    svg.rect(0, 0, kWidth, height, "#FFFFFF");
    drawKey(svg);
    int top = kKeyHeight;
    for (const Panel& panel : m_panels) {
        svg << "<text x=\"8\" y=\"" << top + 16 << "\" font-size=\"13\"><tspan font-weight=\"bold\">"
            << panel.queryID << "</tspan>  positions " << panel.first << "\xE2\x80\x93"
            << panel.first + panel.span - 1 << ", " << counted(panel.hitCount, "hit", "hits") << "</text>\n";
        drawAxis(svg, top, panel.first, panel.span);
        int y = top + kRowsTop;
        if (panel.hitCount == 0) {
            svg.text(kPlotLeft, y + 14, "start", "no hits");
        }
        for (const HitRows& hit : panel.hits) {
            svg.text(kLabelRight, y + kBarHeight / 2 + 4, "end", hit.label);
            if (hit.alignments.size() > 1) {
                svg.rect(kBracketX, y, 1, (static_cast<int>(hit.alignments.size()) - 1) * kRowPitch + kBarHeight,
                         kLineColour);
            }
            for (std::size_t k = 0; k < hit.alignments.size(); ++k) {
                const AlignmentRow& row = hit.alignments[k];
                const int rowTop = y + static_cast<int>(k) * kRowPitch;
                svg << "<g><title>" << hit.title << " (alignment " << k + 1 << " of " << hit.alignmentCount
                    << ", bit score " << row.bitScore << ")</title>\n";
                // The line first, so that the bars lie over it.
                if (row.bars.size() > 1) {
                    svg.rect(row.bars.front().first, rowTop + kBarHeight / 2,
                             row.bars.back().second - row.bars.front().first, 1, kLineColour);
                }
                for (const auto& bar : row.bars) {
                    svg.rect(bar.first, rowTop, bar.second - bar.first, kBarHeight, colourOf(row.bitScore));
                }
                svg << "</g>\n";
            }
            if (hit.alignmentCount > hit.alignments.size()) {
                svg.text(kPlotLeft, y + static_cast<int>(hit.alignments.size()) * kRowPitch + kBarHeight, "start",
                         "and " + counted(hit.alignmentCount - hit.alignments.size(), "more alignment",
                                          "more alignments"),
                         kNoteFontSize);
            }
            y += hitHeight(hit.alignmentCount);
        }
        if (panel.hits.size() < panel.hitCount) {
            svg.text(kPlotLeft, y + 12, "start",
                     "and " + counted(panel.hitCount - panel.hits.size(), "more hit", "more hits"));
        }
        top += panel.height;
    }
    if (m_panels.size() < m_added) {
        svg << "<text x=\"8\" y=\"" << top + 16 << "\" font-size=\"13\">"
            << counted(m_added - m_panels.size(), "more query", "more queries") << " not drawn (the picture stops at "
            << s_maxHeight << " pixels)</text>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

void SearchPicture::write(std::ostream& out) const { out << toSvg(); }

}  // namespace NorvSearch
