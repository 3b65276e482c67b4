#include <norvext/search/SearchPicture.h>

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
const int kKeyHeight = 28;           // the colour key above the panels
const int kAxisY = 28;               // in a panel: the axis line
const int kTickLength = 5;
const int kTickLabelY = 44;          // baseline of the axis numbers
const int kRowsTop = 54;             // the first row
const int kRowsHeight = 600;         // rows share this height, within:
const int kMaxPitch = 14;            // one or a few hits: readable bars
const int kMinPitch = 3;             // a thousand: 2 px bar, 1 px space
const int kNoHitsHeight = 20;
const int kPanelBottom = 12;
const int kFontSize = 11;
const int kLabelRoom = 14;           // a label needs this much height
const std::size_t kLabelLetters = 22;
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

int pitchOf(std::size_t rows) {
    const std::size_t share = rows == 0 ? kMaxPitch : kRowsHeight / rows;
    return static_cast<int>(std::clamp<std::size_t>(share, kMinPitch, kMaxPitch));
}

int barHeightOf(int pitch) { return pitch - std::max(1, pitch / 4); }

int panelHeight(std::size_t rows) {
    return kRowsTop + (rows == 0 ? kNoHitsHeight : static_cast<int>(rows) * pitchOf(rows)) + kPanelBottom;
}

// Length of the UTF-8 sequence that starts `text` at `at`; 0 when the bytes
// there are not one (overlong forms, surrogates and code points past
// U+10FFFF included).
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    const unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90)) {
        return 0;
    }
    return length;
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
            const std::size_t length = std::max<std::size_t>(1, utf8Length(text, at));
            if (at + length < text.size()) {
                out += "\xE2\x80\xA6";
                break;
            }
        }
        const char c = text[at];
        const std::size_t length = utf8Length(text, at);
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
    Panel panel;
    if (search.getQuery()) {
        panel.queryID = search.getQuery()->getSourceID();
    }
    Norv::XBlast::LineSet lines;
    search.getLineSet(lines, true);
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
        const Norv::XBlastHit& hit = search.getHit(static_cast<unsigned int>(i));
        Row row;
        row.label = hit.getSourceID();
        row.bitScore = hit.getBitScore();
        for (const auto& segments : lines[i]) {
            row.alignments.emplace_back();
            // Positions off the axis (a record whose alignments do not fit
            // its range) are cut at its ends.
            for (const auto& segment : segments) {
                const long long lower = std::max<long long>(1, std::min(segment.first, segment.second));
                const long long upper = std::min<long long>(span, std::max(segment.first, segment.second));
                if (lower <= upper) {
                    row.alignments.back().emplace_back(lower, upper);
                }
            }
        }
        panel.rows.push_back(std::move(row));
    }
    m_panels.push_back(std::move(panel));
}

std::string SearchPicture::toSvg() const {
    int height = kKeyHeight;
    for (const Panel& panel : m_panels) {
        height += panelHeight(panel.rows.size());
    }
    Svg svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << kWidth << ' ' << height << "\" font-family=\"sans-serif\">\n";
    svg.rect(0, 0, kWidth, height, "#FFFFFF");
    drawKey(svg);
    int top = kKeyHeight;
    for (const Panel& panel : m_panels) {
        const std::size_t rows = panel.rows.size();
        svg << "<text x=\"8\" y=\"" << top + 16 << "\" font-size=\"13\"><tspan font-weight=\"bold\">"
            << xmlText(panel.queryID) << "</tspan>  positions " << panel.first << "\xE2\x80\x93"
            << panel.first + panel.span - 1 << ", " << rows << (rows == 1 ? " hit" : " hits") << "</text>\n";
        drawAxis(svg, top, panel.first, panel.span);
        if (rows == 0) {
            svg.text(kPlotLeft, top + kRowsTop + 14, "start", "no hits");
        }
        const int pitch = pitchOf(rows);
        const int bar = barHeightOf(pitch);
        // Thin rows label every k-th hit only, so that labels never overlap.
        const int every = (kLabelRoom + pitch - 1) / pitch;
        for (std::size_t i = 0; i < rows; ++i) {
            const Row& row = panel.rows[i];
            const int y = top + kRowsTop + static_cast<int>(i) * pitch;
            svg << "<g><title>" << xmlText(row.label) << " (bit score " << row.bitScore << ")</title>\n";
            // Lines first, so that bars lie over them.
            for (const auto& segments : row.alignments) {
                if (segments.size() > 1) {
                    long long lower = segments.front().first, upper = segments.front().second;
                    for (const auto& segment : segments) {
                        lower = std::min(lower, segment.first);
                        upper = std::max(upper, segment.second);
                    }
                    const double from = xOf(static_cast<double>(lower), panel.span);
                    const double to = xOf(static_cast<double>(upper) + 1, panel.span);
                    svg.rect(from, y + bar / 2, to - from, 1, kLineColour);
                }
            }
            const char* colour = colourOf(row.bitScore);
            for (const auto& segments : row.alignments) {
                for (const auto& segment : segments) {
                    const double from = xOf(static_cast<double>(segment.first), panel.span);
                    const double to = xOf(static_cast<double>(segment.second) + 1, panel.span);
                    svg.rect(from, y, to - from, bar, colour);
                }
            }
            svg << "</g>\n";
            if (i % every == 0) {
                svg.text(kLabelRight, y + bar / 2 + 4, "end", xmlText(row.label, kLabelLetters));
            }
        }
        top += panelHeight(rows);
    }
    svg << "</svg>\n";
    return svg.str();
}

void SearchPicture::write(std::ostream& out) const { out << toSvg(); }

}  // namespace NorvSearch
