#ifndef NORVEXT_RESULTS_XBLASTHIT_H
#define NORVEXT_RESULTS_XBLASTHIT_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <norvseq/SeqAlign.h>
#include <norvseq/Sequence.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace Norv {

class Alignment;
class Summary;

/// One hit of a similarity search: a subject entry (id, source id, optional
/// shared Summary) with every alignment found between the query and it.
///
/// Copies share the summary and the alignments: a change made through one
/// copy (setQuery, setSubject) is seen through the other.
///
/// Null alignment entries: add() does not refuse them. dump() skips them, and
/// so does every operation that reads alignments: getBestMatch and the scores
/// built on it consider only non-null entries; getQuery/getSubject answer
/// from the first non-null entry; setQuery/setSubject pass over null entries;
/// getSubjectRange ignores them; getLineSegRow leaves their row empty.
class NORVEXT_API XBlastHit : public Common::VisitableBase {
public:
    /// The alignments, shared, in order.
    typedef std::vector<boost::shared_ptr<Alignment>> Alignments;
    /// The line segments of one alignment, pairs of positions (from, to).
    typedef std::vector<std::pair<int, int>> Segments;

    /// id 0, empty source id, no summary, no alignments.
    XBlastHit();
    /// Shares `summary`; takes its id and source id when it is not null.
    explicit XBlastHit(const boost::shared_ptr<Summary>& summary);
    /// Takes the record's subject id and subject source id, then add(record).
    explicit XBlastHit(const SeqAlign& record);
    /// Copies id and source id and shares the summary and the alignments.
    XBlastHit(const XBlastHit&);
    /// Takes the source's id and source id and shares its summary and
    /// alignments.
    XBlastHit& operator=(const XBlastHit&);
    /** @{ */
    /// Moves let a growing vector of hits relocate them without copying.
    XBlastHit(XBlastHit&&) noexcept;
    XBlastHit& operator=(XBlastHit&&) noexcept;
    /** @} */
    ~XBlastHit() override;

    /// The subject's id.
    unsigned int getID() const { return m_id; }
    /// Replaces the id; the summary stays.
    void setID(unsigned int id) { m_id = id; }
    /// The subject's source id.
    const std::string& getSourceID() const { return m_sourceID; }
    /// Replaces the source id; the summary stays.
    void setSourceID(const std::string& sourceID) { m_sourceID = sourceID; }
    /// The summary, shared; null without one.
    const boost::shared_ptr<Summary>& getSummary() const { return m_summary; }
    /// Replaces the summary pointer only; id and source id stay.
    void setSummary(const boost::shared_ptr<Summary>& summary) { m_summary = summary; }

    /// The alignments, in order, null entries included.
    const Alignments& getAlignments() const { return m_alignments; }
    /// True without alignments.
    bool empty() const { return m_alignments.empty(); }
    /// Number of alignments, null entries included.
    unsigned int size() const { return static_cast<unsigned int>(m_alignments.size()); }
    /// The alignment at `index`, which must be below size() (not checked).
    const boost::shared_ptr<Alignment>& operator[](unsigned int index) const { return m_alignments[index]; }
    /// Appends the pointer, shared.
    void add(const boost::shared_ptr<Alignment>& alignment);
    /// Appends a new Alignment made from `record`, owned by a fresh shared
    /// pointer (so its shared-from-this link is set).
    void add(const SeqAlign& record);

    /// The alignment with the highest score, the earliest of ties; null
    /// without alignments.
    boost::shared_ptr<Alignment> getBestMatch() const;
    /** @{ */
    /// Score, E-value and bit score of getBestMatch(); 0 / 0.0 without one.
    int getScore() const;
    double getEValue() const;
    double getBitScore() const;
    /** @} */

    /** @{ */
    /// The first alignment's query (row 0) and subject (row 1) sequences; null
    /// without alignments.
    boost::shared_ptr<Sequence> getQuery() const;
    boost::shared_ptr<Sequence> getSubject() const;
    /** @} */
    /// Points row 0 of every alignment at `query` with `range`.
    void setQuery(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range);
    /// Points row 1 of every alignment at `subject`; the ranges stay.
    void setSubject(const boost::shared_ptr<Sequence>& subject);
    /// The hull of the alignments' subject ranges: smallest start, largest
    /// end. Without alignments: start 4294967295, end 0.
    Sequence::Range getSubjectRange() const;
    /// Resizes `rows` to one entry per alignment (rows that remain keep their
    /// contents) and fills entry i from alignment i's record through
    /// SeqAlign::getLineSegs(rows[i], 1, first, second).
    void getLineSegRow(std::vector<Segments>& rows, bool first, bool second) const;

    /// Offers the hit to Common::Visitor<XBlastHit>; nothing else is visited.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes an "XBlastHit" block: id, sourceID, the summary's block (or
    /// "summary: (null)"), then each non-null alignment's block.
    void dump(std::ostream& os, int level) const;

private:
    unsigned int m_id;
    std::string m_sourceID;
    boost::shared_ptr<Summary> m_summary;
    Alignments m_alignments;
};

}  // namespace Norv

#endif
