#ifndef NORVEXT_PARAMS_INTERNAL_FASTAPARAMSFIELDS_H
#define NORVEXT_PARAMS_INTERNAL_FASTAPARAMSFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/params/FastAParams.h>

namespace Norv {
namespace internal {

template <>
struct FieldList<FastAParams> {
    static constexpr auto s_fields = std::make_tuple(
        field("database", &FastAParams::m_database),
        field("algorithm", &FastAParams::m_algorithm),
        field("optimization", &FastAParams::m_optimization),
        field("translation", &FastAParams::m_translation),
        field("expect", &FastAParams::m_expect),
        field("dbType", &FastAParams::m_databaseType),
        field("constraint", &FastAParams::m_outputConstraint),
        field("shiftVal", &FastAParams::m_shiftValue),
        field("limit", &FastAParams::m_limit),
        field("wordSize", &FastAParams::m_wordSize),
        field("optThreshold", &FastAParams::m_optimizationThreshold),
        field("earliest", &FastAParams::m_earliest, Low32()),
        field("useEarliest", &FastAParams::m_useEarliest),
        field("gapCreate", &FastAParams::m_gapCreate),
        field("gapExt", &FastAParams::m_gapExt),
        field("matrix", &FastAParams::m_matrix),
        field("matrixDiagonals", &FastAParams::m_matrixDiagonals),
        field("topStrand", &FastAParams::m_topStrand),
        field("smithWaterman", &FastAParams::m_smithWaterman),
        field("data length", &FastAParams::m_data).json("data"));
};

}  // namespace internal
}  // namespace Norv

#endif
