#ifndef NORVEXT_SEARCH_INTERNAL_BLASTREPORT_H
#define NORVEXT_SEARCH_INTERNAL_BLASTREPORT_H

// The reports of BLAST's XML2 and JSON outputs (-outfmt 13 to 16), which
// share one schema (NCBI's BlastOutput2): both readers walk their own syntax
// and hand each value over here by its name and its text, so that both
// build their queries alike, as the XML reader does (Hsp.h). Names are
// JSON's ("bit_score"); XML2's ("bit-score") are the same names.

#include "Formats.h"
#include "Hsp.h"

#include <norvext/search/QueryResult.h>

#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

class BlastReport {
public:
    // `xml` spells names in messages as XML2 does (<bit-score>), else as
    // JSON does ("bit_score").
    BlastReport(bool xml, const EachQuery& each) : m_xml(xml), m_each(each) {}

    // A report's program, version and database, for each of its queries.
    void beginReport(std::string_view program, std::string_view version, std::string_view database);
    // Whether the report's program is PSI-BLAST, whose searches are rounds.
    bool isIterated() const;
    // A query: its id, title and length as printed (empty: not given), its
    // round (0 for a search that is not iterated). Throws
    // std::invalid_argument for a length that does not read, or a query
    // with neither an id nor a title.
    void beginSearch(std::string_view id, std::string_view title, std::string_view length, unsigned int round);
    // A hit of the query: its first id and title, its length as printed
    // (empty: not given). Throws std::invalid_argument for a bad length.
    void beginHit(std::string_view id, std::string_view title, std::string_view length);
    // A value of the hit's next alignment; false for a name the record does
    // not take (num, midline). Throws std::invalid_argument for a value that
    // does not read. Texts must stay valid until endHsp().
    bool setHspValue(std::string_view name, std::string_view text);
    // The alignment whose values were set, into the query. Throws
    // std::invalid_argument when a value it needs is missing or the
    // alignment does not read.
    void endHsp();
    // The hit's subject into the query.
    void endHit();
    // The query, to the caller's callback.
    void endSearch();

    // `name` as the format spells it in messages: <bit-score>, "bit_score".
    std::string spell(std::string_view name) const;

private:
    bool m_xml;
    const EachQuery& m_each;
    std::string m_program, m_version, m_database;
    Sides m_sides;
    QueryResult m_query;
    // The hit's values, which every alignment of it starts from.
    Hsp m_hit;
    std::string m_title;
    Hsp m_hsp;
    AlignmentResult* m_alignment = nullptr;
    unsigned int m_given = 0;
};

// Whether `given` is the name `json` in either spelling ("bit-score" is
// "bit_score").
bool isNamed(std::string_view given, std::string_view json);

}  // namespace internal
}  // namespace NorvSearch

#endif
