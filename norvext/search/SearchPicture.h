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

/// A picture of search records as one SVG document, bounded so that
/// renderers draw it whatever the input: a key of the bit-score colours, then
/// one panel per record, stacked in the order added, each headed by the
/// query's id and hit count. A panel draws the searched stretch of the query
/// as an axis and, below it, the first hits in hit order (the engine's rank)
/// as long as their rows fit in s_maxRows; the hits left out are counted. Each
/// alignment of a hit has a row of its own (at most s_maxAlignments a hit,
/// the rest counted), its segments bars in the colour of its own bit score,
/// joined by a thin line; the hit's source id stands beside its first row.
/// Panels are added while the document stays within s_maxHeight pixels; the
/// records after the first that does not fit are counted, not drawn. The
/// geometry comes from XBlast::getLineSet alone. docs/search.md gives the
/// layout in pixels.
class NORVSEARCH_API SearchPicture {
public:
    /// Rows a panel draws at most: one per alignment drawn, and one per hit
    /// whose alignments are not all drawn.
    static constexpr int s_maxRows = 24;
    /// Alignments drawn of one hit at most.
    static constexpr int s_maxAlignments = 3;
    /// Height of the document at most, in pixels.
    static constexpr int s_maxHeight = 16000;

    /// The colour of a bit score as `#RRGGBB`: below 40 `#000000`, from 40
    /// `#0000FF`, from 50 `#00FF00`, from 80 `#FF00FF`, from 200 `#FF0000`.
    static const char* colourOf(double bitScore);

    /// A panel for `search` below those added before, or, when the panel
    /// would take the document past s_maxHeight (or an earlier one did), a
    /// record counted as not drawn. What is drawn is taken now, and only
    /// that (query id, range, the drawn hits' source ids and the geometry
    /// and bit score of their drawn alignments), so the record may change or
    /// go afterwards. The axis spans the range; without a valid range, 1 to
    /// the largest end of a drawn segment. A record without hits gets the
    /// axis and "no hits". Throws only what allocation throws, and then
    /// leaves the picture as it was.
    void add(const Norv::XBlast& search);

    /// Number of records added, drawn or not.
    std::size_t size() const { return m_added; }
    /// Number of records drawn as panels: the first ones added.
    std::size_t getDrawnCount() const { return m_panels.size(); }
    /// Height of the document in pixels; at most s_maxHeight.
    int getHeight() const;

    /// The SVG document (UTF-8; bytes of ids that are not UTF-8 or are
    /// control characters become '?').
    std::string toSvg() const;
    /// Writes toSvg() to `out`; the stream's state tells whether it went.
    void write(std::ostream& out) const;

private:
    // One drawn alignment: its bit score and its bars, as x from and to in
    // pixels, ascending and apart.
    struct AlignmentRow {
        double bitScore = 0;
        std::vector<std::pair<double, double>> bars;
    };
    // One drawn hit: the label beside its first row and the id in its
    // tooltips (each XML text already), its drawn alignments and the number
    // of those that are not drawn.
    struct HitRows {
        std::string label;
        std::string title;
        std::size_t alignmentCount = 0;
        std::vector<AlignmentRow> alignments;
    };
    // One record's panel: the query id (XML text), the axis's first query
    // position and its length in positions, the hit count, the drawn hits
    // and the panel's height.
    struct Panel {
        std::string queryID;
        unsigned long long first = 1;
        unsigned long long span = 1;
        std::size_t hitCount = 0;
        std::vector<HitRows> hits;
        int height = 0;
    };

    std::vector<Panel> m_panels;
    std::size_t m_added = 0;
    // The panels' heights, together.
    int m_panelsHeight = 0;
};

}  // namespace NorvSearch

#endif
