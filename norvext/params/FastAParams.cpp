#include <norvext/params/FastAParams.h>

#include <norvext/common/Dispatch.h>
#include <norvext/params/internal/FastAParamsFields.h>

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

void FastAParams::dump(std::ostream& os, int level) const { internal::dumpFields(*this, os, level, "FastAParams"); }

void FastAParams::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void FastAParams::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

void FastAParams::setNADefaults() {}

void FastAParams::setAADefaults() {}

}  // namespace Norv
