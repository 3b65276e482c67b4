#include <norvseq/Alignment.h>
#include <norvseq/StreamIO.h>

#include <norvext/common/internal/Dispatch.h>
#include <norvutil/Tracer.h>

#include <boost/make_shared.hpp>

#include <istream>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace Norv {

Alignment::Alignment(const SeqAlign& record) : m_record(record) {
    m_ranges[0] = record.getQueryRange();
    m_ranges[1] = record.getSubjectRange();
}

Alignment::~Alignment() = default;

unsigned int Alignment::checkRow(unsigned int row) {
    if (row >= 2) {
        throw std::out_of_range("Alignment: row " + std::to_string(row) + " does not exist");
    }
    return row;
}

void Alignment::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "Alignment");
    trace("score", m_record.getScore());
    trace("eValue", m_record.getEValue());
    trace("bitScore", m_record.getBitScore());
    trace("subjectID", m_record.getSubjectID());
    trace("subjectSourceID", m_record.getSubjectSourceID());
    static const char* const names[2][3] = {{"query", "queryStart", "queryEnd"},
                                            {"subject", "subjectStart", "subjectEnd"}};
    for (int row = 0; row < 2; ++row) {
        if (m_sequences[row]) {
            trace(names[row][0], m_sequences[row]->getName());
        } else {
            trace(names[row][0], "(null)");
        }
        trace(names[row][1], m_ranges[row].start);
        trace(names[row][2], m_ranges[row].end);
    }
}

void Alignment::accept(Common::VisitorBase& visitor) { Common::internal::dispatch(*this, visitor); }

boost::shared_ptr<Sequence> Alignment::getSequence(unsigned int row) const {
    return m_sequences[checkRow(row)];
}

Sequence::Range Alignment::getRange(unsigned int row) const { return m_ranges[checkRow(row)]; }

void Alignment::setSequenceAndRange(const boost::shared_ptr<Sequence>& sequence, const Sequence::Range& range,
                                    unsigned int row) {
    checkRow(row);
    m_sequences[row] = sequence;
    m_ranges[row] = range;
}

void Alignment::assignSequence(const boost::shared_ptr<Sequence>& sequence, unsigned int row) {
    m_sequences[checkRow(row)] = sequence;
}

}  // namespace Norv
