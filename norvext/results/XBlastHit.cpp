#include <norvext/results/XBlastHit.h>

#include <norvext/common/Dispatch.h>
#include <norvext/query/Summary.h>

#include <norvseq/Alignment.h>
#include <norvutil/Tracer.h>

#include <algorithm>
#include <limits>

namespace Norv {

XBlastHit::XBlastHit() : m_id(0) {}

XBlastHit::XBlastHit(const boost::shared_ptr<Summary>& summary) : m_id(0), m_summary(summary) {
    if (summary) {
        m_id = summary->getID();
        m_sourceID = summary->getSourceID();
    }
}

XBlastHit::XBlastHit(const SeqAlign& record) : m_id(record.getSubjectID()), m_sourceID(record.getSubjectSourceID()) {
    add(record);
}

XBlastHit::XBlastHit(const XBlastHit&) = default;
XBlastHit& XBlastHit::operator=(const XBlastHit&) = default;
XBlastHit::XBlastHit(XBlastHit&&) noexcept = default;
XBlastHit& XBlastHit::operator=(XBlastHit&&) noexcept = default;
XBlastHit::~XBlastHit() = default;

void XBlastHit::add(const boost::shared_ptr<Alignment>& alignment) { m_alignments.push_back(alignment); }

void XBlastHit::add(const SeqAlign& record) {
    boost::shared_ptr<Alignment> alignment(new Alignment(record));
    m_alignments.push_back(alignment);
}

boost::shared_ptr<Alignment> XBlastHit::getBestMatch() const {
    const boost::shared_ptr<Alignment>* best = nullptr;
    for (const auto& alignment : m_alignments) {
        if (alignment && (best == nullptr || alignment->getSeqAlign().getScore() > (*best)->getSeqAlign().getScore())) {
            best = &alignment;
        }
    }
    return best != nullptr ? *best : boost::shared_ptr<Alignment>();
}

int XBlastHit::getScore() const {
    const auto best = getBestMatch();
    return best ? best->getSeqAlign().getScore() : 0;
}

double XBlastHit::getEValue() const {
    const auto best = getBestMatch();
    return best ? best->getSeqAlign().getEValue() : 0.0;
}

double XBlastHit::getBitScore() const {
    const auto best = getBestMatch();
    return best ? best->getSeqAlign().getBitScore() : 0.0;
}

namespace {
// The first non-null alignment's sequence of `row`, or null.
boost::shared_ptr<Sequence> firstSequence(const XBlastHit::Alignments& alignments, unsigned int row) {
    for (const auto& alignment : alignments) {
        if (alignment) {
            return alignment->getSequence(row);
        }
    }
    return boost::shared_ptr<Sequence>();
}
}  // namespace

boost::shared_ptr<Sequence> XBlastHit::getQuery() const { return firstSequence(m_alignments, 0); }

boost::shared_ptr<Sequence> XBlastHit::getSubject() const { return firstSequence(m_alignments, 1); }

void XBlastHit::setQuery(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range) {
    for (const auto& alignment : m_alignments) {
        if (alignment) {
            alignment->setSequenceAndRange(query, range, 0);
        }
    }
}

void XBlastHit::setSubject(const boost::shared_ptr<Sequence>& subject) {
    for (const auto& alignment : m_alignments) {
        if (alignment) {
            alignment->assignSequence(subject, 1);
        }
    }
}

Sequence::Range XBlastHit::getSubjectRange() const {
    Sequence::Range hull(std::numeric_limits<unsigned int>::max(), 0);
    for (const auto& alignment : m_alignments) {
        if (alignment) {
            const Sequence::Range range = alignment->getRange(1);
            hull.start = std::min(hull.start, range.start);
            hull.end = std::max(hull.end, range.end);
        }
    }
    return hull;
}

void XBlastHit::getLineSegRow(std::vector<Segments>& rows, bool first, bool second) const {
    rows.resize(m_alignments.size());
    for (std::size_t i = 0; i < m_alignments.size(); ++i) {
        if (m_alignments[i]) {
            m_alignments[i]->getSeqAlign().getLineSegs(rows[i], 1, first, second);
        } else {
            rows[i].clear();
        }
    }
}

void XBlastHit::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void XBlastHit::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "XBlastHit");
    trace("id", m_id);
    trace("sourceID", m_sourceID);
    if (m_summary) {
        m_summary->dump(os, trace.nestedIndent());
    } else {
        trace("summary", "(null)");
    }
    for (const auto& alignment : m_alignments) {
        if (alignment) {
            alignment->dump(os, trace.nestedIndent());
        }
    }
}

}  // namespace Norv
