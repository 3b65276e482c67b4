#include <norvseq/Alignment.h>
#include <norvseq/StreamIO.h>

#include <norvext/common/Dispatch.h>
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

Alignment::Alignment(const Alignment& other)
    : AttrBase(other), Common::VisitableBase(other), m_record(other.m_record) {
    for (int row = 0; row < 2; ++row) {
        m_sequences[row] = other.m_sequences[row];
        m_ranges[row] = other.m_ranges[row];
    }
}

Alignment& Alignment::operator=(const Alignment& other) {
    m_record = other.m_record;
    for (int row = 0; row < 2; ++row) {
        m_sequences[row] = other.m_sequences[row];
        m_ranges[row] = other.m_ranges[row];
    }
    return *this;
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

void Alignment::write(std::ostream& os) const {
    const auto flags = os.flags();
    const auto precision = os.precision(std::numeric_limits<double>::max_digits10);
    os << m_record.getSubjectID() << ' ' << m_record.getScore() << ' ' << m_record.getEValue() << ' '
       << m_record.getBitScore() << ' ' << m_ranges[0].start << ' ' << m_ranges[0].end << ' '
       << m_ranges[1].start << ' ' << m_ranges[1].end << '\n';
    os.flags(flags);
    os.precision(precision);
    StreamIO::write(os, m_record.getSubjectSourceID());
    os.put('\n');
}

void Alignment::read(std::istream& is) {
    unsigned int subjectID = 0;
    int score = 0;
    double eValue = 0.0;
    double bitScore = 0.0;
    Sequence::Range ranges[2];
    std::string sourceID;
    is >> subjectID >> score >> eValue >> bitScore >> ranges[0].start >> ranges[0].end >> ranges[1].start >>
        ranges[1].end;
    StreamIO::read(is, sourceID);
    if (!is) {
        return;
    }
    m_record.setSubjectID(subjectID);
    m_record.setScore(score);
    m_record.setEValue(eValue);
    m_record.setBitScore(bitScore);
    m_record.setSubjectSourceID(sourceID);
    m_ranges[0] = ranges[0];
    m_ranges[1] = ranges[1];
}

boost::shared_ptr<Alignment> Alignment::clone() const { return boost::make_shared<Alignment>(*this); }

void Alignment::insertAlignment(const Alignment& other, unsigned int row) {
    checkRow(row);
    m_sequences[row] = other.m_sequences[row];
    m_ranges[row] = other.m_ranges[row];
}

void Alignment::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

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
