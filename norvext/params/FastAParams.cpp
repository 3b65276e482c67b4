#include <norvext/params/FastAParams.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/DumpFlag.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

namespace Norv {

FastAParams::FastAParams()
    : m_expect(0.0),
      m_databaseType(0),
      m_outputConstraint(0),
      m_shiftValue(0),
      m_limit(0),
      m_wordSize(0),
      m_optimizationThreshold(0),
      m_earliest(0),
      m_useEarliest(false),
      m_gapCreate(0),
      m_gapExt(0),
      m_matrixDiagonals(false),
      m_topStrand(false),
      m_smithWaterman(false) {}

FastAParams::~FastAParams() = default;

void FastAParams::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void FastAParams::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "FastAParams");
    trace("database", m_database);
    trace("algorithm", m_algorithm);
    trace("optimization", m_optimization);
    trace("translation", m_translation);
    trace("expect", m_expect);
    trace("dbType", m_databaseType);
    trace("constraint", m_outputConstraint);
    trace("shiftVal", m_shiftValue);
    trace("limit", m_limit);
    trace("wordSize", m_wordSize);
    trace("optThreshold", m_optimizationThreshold);
    trace("earliest", static_cast<int>(static_cast<unsigned int>(m_earliest)));
    trace("useEarliest", internal::flagText(m_useEarliest));
    trace("gapCreate", m_gapCreate);
    trace("gapExt", m_gapExt);
    trace("matrix", m_matrix);
    trace("matrixDiagonals", internal::flagText(m_matrixDiagonals));
    trace("topStrand", internal::flagText(m_topStrand));
    trace("smithWaterman", internal::flagText(m_smithWaterman));
    trace("data length", static_cast<unsigned int>(m_data.size()));
}

void FastAParams::write(AlignedBuf& buf) const {
    internal::putString(buf, m_database);
    internal::putString(buf, m_algorithm);
    internal::putString(buf, m_optimization);
    internal::putString(buf, m_translation);
    buf.put(m_expect);
    buf.put(static_cast<unsigned int>(m_databaseType));
    buf.put(static_cast<unsigned int>(m_outputConstraint));
    buf.put(m_shiftValue);
    buf.put(m_limit);
    buf.put(m_wordSize);
    buf.put(m_optimizationThreshold);
    // Only the low 32 bits travel.
    buf.put(static_cast<unsigned int>(m_earliest));
    buf.put(m_useEarliest);
    buf.put(m_gapCreate);
    buf.put(m_gapExt);
    internal::putString(buf, m_matrix);
    buf.put(m_matrixDiagonals);
    buf.put(m_topStrand);
    buf.put(m_smithWaterman);
    internal::putBytes(buf, m_data);
}

void FastAParams::read(AlignedBuf& buf) {
    buf.get(m_database);
    buf.get(m_algorithm);
    buf.get(m_optimization);
    buf.get(m_translation);
    buf.get(m_expect);
    buf.get(m_databaseType);
    buf.get(m_outputConstraint);
    buf.get(m_shiftValue);
    buf.get(m_limit);
    buf.get(m_wordSize);
    buf.get(m_optimizationThreshold);
    unsigned int earliest = 0;
    buf.get(earliest);
    m_earliest = earliest;  // widened with zeros
    buf.get(m_useEarliest);
    buf.get(m_gapCreate);
    buf.get(m_gapExt);
    buf.get(m_matrix);
    buf.get(m_matrixDiagonals);
    buf.get(m_topStrand);
    buf.get(m_smithWaterman);
    internal::getBytes(buf, m_data);
}

void FastAParams::setNADefaults() {}

void FastAParams::setAADefaults() {}

}  // namespace Norv
