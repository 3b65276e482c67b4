#ifndef NORVEXT_RESULTS_XBLAST_H
#define NORVEXT_RESULTS_XBLAST_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>
#include <norvext/results/XBlastHit.h>

#include <norvseq/SeqAlign.h>
#include <norvseq/Sequence.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {

class FastAParams;
class Summary;
class XBlastParams;

/// The record of one similarity search: the query sequence and the searched
/// stretch of it (range), the BLAST parameters, for a FASTA-family search the
/// FASTA parameters, the hits and an output text kept for the caller. It runs
/// no search and has no persisted form.
///
/// Range rules: the range is valid when 1 <= start <= end; its offset (the
/// zero-based position of the first searched letter) is start - 1 when valid
/// and 0 otherwise; a valid range covers end - start + 1 letters. Setters
/// taking (first, count) store {first + 1, first + count}, so a count of 0
/// stores an invalid range.
///
/// Sharing: copies share the query, the BLAST and the FASTA parameters, and
/// copy the hits one by one; copied hits share their alignments (XBlastHit),
/// so updateQuery() or addSubject() on either record re-points alignments
/// that both see, while adding, removing or replacing hits and attaching
/// summaries touch one record only.
class NORVEXT_API XBlast : public Common::VisitableBase {
public:
    /// The hits, by value, in order.
    typedef std::vector<XBlastHit> Hits;
    /// Iterator over the hits, read-only.
    typedef Hits::const_iterator const_iterator;
    /// Iterator over the hits.
    typedef Hits::iterator iterator;
    /// One row per hit, one segment list per alignment of that hit.
    typedef std::vector<std::vector<XBlastHit::Segments>> LineSet;

    /// No query, range {0, 0}, no parameters, no hits, empty output.
    XBlast();
    /// Shares `query` and copies `range`; nothing else is set and no
    /// parameter data is filled.
    XBlast(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range);
    /// Shares the query and the parameters, copies range, output and the hits
    /// (see the class).
    XBlast(const XBlast&);
    /// Takes the source's range and output, shares its query and parameters,
    /// and copies its hits.
    XBlast& operator=(const XBlast&);
    ~XBlast() override;

    /// The query, shared; null without one.
    const boost::shared_ptr<Sequence>& getQuery() const { return m_query; }
    /// The searched range of the query.
    const Sequence::Range& getRange() const { return m_range; }
    /// The BLAST parameters, shared; null without them.
    const boost::shared_ptr<XBlastParams>& getParams() const { return m_params; }
    /// The FASTA parameters, shared; null without them.
    const boost::shared_ptr<FastAParams>& getFastA() const { return m_fastA; }
    /// The hits, in order.
    const Hits& getHits() const { return m_hits; }
    /// A copy of the output text.
    std::string getOutput() { return m_output; }
    /// Replaces the output text.
    void setOutput(const std::string& output) { m_output = output; }

    /** @{ */
    /// Each shares the given pointer; null is accepted (no FASTA parameters
    /// make isFastA() false).
    void setParams(const boost::shared_ptr<XBlastParams>& params) { m_params = params; }
    void setFastA(const boost::shared_ptr<FastAParams>& fastA) { m_fastA = fastA; }
    /** @} */

    /// @name Query and range
    /// None of the query and range setters touches the hits: updateQuery()
    /// brings their alignments in line afterwards.
    /** @{ */
    /// Replaces the query pointer; the range stays.
    void setQuery(const boost::shared_ptr<Sequence>& query) { m_query = query; }
    /// Replaces the query pointer; the range becomes {first + 1,
    /// first + count}.
    void setQuery(const boost::shared_ptr<Sequence>& query, unsigned int first, unsigned int count);
    /// Replaces the query pointer and copies the range.
    void setQuery(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range);
    /// Copies the range.
    void setRange(const Sequence::Range& range) { m_range = range; }
    /// The range becomes {first + 1, first + count}.
    void setRange(unsigned int first, unsigned int count);
    /** @} */

    /// The protein flag of the BLAST parameters; false without them.
    bool isProtein() const;
    /// True exactly when FASTA parameters are set.
    bool isFastA() const { return static_cast<bool>(m_fastA); }

    /// Number of hits.
    unsigned int getHitCount() const { return static_cast<unsigned int>(m_hits.size()); }
    /// Number of hits, as getHitCount().
    unsigned int size() const { return getHitCount(); }
    /// True without hits.
    bool empty() const { return m_hits.empty(); }
    /// The hit at `index`. An index at or past the hit count throws
    /// std::out_of_range (the vector's own range check).
    const XBlastHit& getHit(unsigned int index) const;
    /// As getHit(index): an index at or past the hit count throws
    /// std::out_of_range.
    const XBlastHit& operator[](unsigned int index) const { return getHit(index); }
    /** @{ */
    /// Iterators over the hits, in order, valid until a hit is added or the
    /// hits are rebuilt.
    const_iterator begin() const { return m_hits.begin(); }
    const_iterator end() const { return m_hits.end(); }
    /** @} */
    /// Appends a copy of `hit` (sharing its summary and alignments); no check
    /// for a hit with the same id.
    void add(const XBlastHit& hit);

    /** @{ */
    /// Linear scans in hit order: the first hit with that id, or end().
    const_iterator findHit(unsigned int id) const;
    iterator findHit(unsigned int id);
    /** @} */
    /** @{ */
    /// The first hit whose source id equals `sourceID` byte for byte, or end().
    const_iterator findHit(const std::string& sourceID) const;
    iterator findHit(const std::string& sourceID);
    /** @} */
    /// The first hit with that source id at or after `from` (so `from`
    /// itself may be the answer), or end(); `from` is not changed.
    const_iterator findHit(const std::string& sourceID, const_iterator& from) const;
    /** @{ */
    /// Append every hit's id (getIDSet) or source id (getSourceIDSet) in hit
    /// order, duplicates included, without emptying `ids` first; true when
    /// `ids` is non-empty afterwards.
    bool getIDSet(std::vector<unsigned int>& ids) const;
    bool getSourceIDSet(std::vector<std::string>& ids) const;
    /** @} */

    /// Copies the searched letters of the query into the data of the FASTA
    /// parameters when they are set, otherwise into that of the BLAST
    /// parameters, through Sequence::copyData(data, count, first): count and
    /// first from a valid range, both 0 otherwise. No letter conversion runs.
    /// Without a query, or without either parameter object, does nothing.
    /// What copyData throws passes through.
    void setParamsData();
    /// Makes a copy of the query (Sequence::clone) the record's query; other
    /// holders keep the previous one, and so do the hits' alignments until
    /// updateQuery(). Without a query does nothing. When the copy throws, the
    /// previous query stays.
    void cloneQuery();
    /// Points row 0 of every hit's alignments at the current query and range.
    void updateQuery();

    /// @name Matching by key
    /// The two matching keys of these operations: `bySourceID` true
    /// matches source id texts byte for byte, false numeric ids. A record
    /// always goes to the first hit with its key.
    /** @{ */
    /// Rebuilds the hits from raw alignment records: removes every hit, then
    /// groups the records into one hit per key, in the order in which each
    /// key first occurs, each hit holding its records' alignments in record
    /// order; finally points every hit at the query as updateQuery() does.
    /// Room for hits is reserved once: the FASTA parameters' limit when they
    /// are set, else the BLAST parameters' limit (its 32 bits read unsigned,
    /// so -1 asks for 4294967295), else 100, but never more than there are
    /// records, so an outsized limit costs nothing. Grouping goes through a
    /// temporary index by key, so n records cost O(n).
    void assign(const std::vector<SeqAlign>& records, bool bySourceID);
    /// Attaches summaries: each summary, in order, becomes (shared) the
    /// summary of the first hit with its key, replacing what it held; the
    /// hit's id and source id stay. A summary that matches no hit, or a null
    /// entry, is skipped. Hits are neither added, removed nor moved; of two
    /// summaries with the same key the later one stays.
    void assign(const std::vector<boost::shared_ptr<Summary>>& summaries, bool bySourceID);
    /// Makes `subject` row 1 of every alignment of the first hit with its key
    /// (XBlastHit::setSubject) and returns true; a null subject or an
    /// unmatched key returns false and changes nothing.
    bool addSubject(const boost::shared_ptr<Sequence>& subject, bool bySourceID);
    /// Fills `lines` with one row per hit (rows already there keep their
    /// place; surplus rows are dropped) through XBlastHit::getLineSegRow,
    /// passing `flag` and a translation flag (the BLAST parameters' protein
    /// and translated flags both set; false without BLAST parameters), then
    /// shifts both positions of every pair back by the range offset, in
    /// 32-bit wrap-around arithmetic. Returns false, with `lines` emptied,
    /// when there is no hit. The record is not changed.
    bool getLineSet(LineSet& lines, bool flag) const;
    /** @} */

    /// Offers the record to Common::Visitor<XBlast>; hits and parameters are
    /// not visited.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes an "XBlast" block: query (its display name, or "(null)"),
    /// start, end, the BLAST parameters' block (or "params: (null)"), the
    /// FASTA parameters' block (or "fastA: (null)"), then each hit's block.
    /// The output text is not shown.
    void dump(std::ostream& os, int level) const;

private:
    boost::shared_ptr<Sequence> m_query;
    Sequence::Range m_range;
    boost::shared_ptr<XBlastParams> m_params;
    boost::shared_ptr<FastAParams> m_fastA;
    Hits m_hits;
    std::string m_output;
};

}  // namespace Norv

#endif
