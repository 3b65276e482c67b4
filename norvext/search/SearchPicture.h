#ifndef NORVEXT_SEARCH_SEARCHPICTURE_H
#define NORVEXT_SEARCH_SEARCHPICTURE_H

#include <norvext/search/Export.h>

#include <norvext/results/XBlast.h>

#include <cstddef>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace NorvSearch {

/// A picture of search records as one SVG document: a key of the bit-score
/// colours, then one panel per record, stacked in the order added, each
/// headed by the query's id. A panel draws the searched stretch of the query
/// as an axis and one row per hit, in hit order, with the hit's source id
/// beside it; each alignment's segments are bars joined by a thin line. The
/// geometry comes from XBlast::getLineSet alone. docs/search.md gives the
/// layout in pixels.
class NORVSEARCH_API SearchPicture {
public:
    /// The colour of a bit score as `#RRGGBB`: below 40 `#000000`, from 40
    /// `#0000FF`, from 50 `#00FF00`, from 80 `#FF00FF`, from 200 `#FF0000`.
    static const char* colourOf(double bitScore);

    /// A panel for `search` below those added before. What is drawn is taken
    /// now (line set, query id, range, each hit's source id and best bit
    /// score), so the record may change afterwards. The axis spans the
    /// range; without a valid range, 1 to the largest segment end. A record
    /// without hits gets the axis and "no hits". Throws only what allocation
    /// throws.
    void add(const Norv::XBlast& search);

    /// Number of panels.
    std::size_t size() const { return m_panels.size(); }

    /// The SVG document (UTF-8; bytes of ids that are not UTF-8 or are
    /// control characters become '?').
    std::string toSvg() const;
    /// Writes toSvg() to `out`; the stream's state tells whether it went.
    void write(std::ostream& out) const;

private:
    // One hit's row: its label, bit score and the segments of each of its
    // alignments, in line positions (1 = the axis's first position).
    struct Row {
        std::string label;
        double bitScore = 0;
        std::vector<std::vector<std::pair<long long, long long>>> alignments;
    };
    // One record's panel: the query id, the axis's first query position and
    // its length in positions, and the rows.
    struct Panel {
        std::string queryID;
        unsigned long long first = 1;
        unsigned long long span = 1;
        std::vector<Row> rows;
    };

    std::vector<Panel> m_panels;
};

}  // namespace NorvSearch

#endif
