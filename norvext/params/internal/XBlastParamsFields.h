#ifndef NORVEXT_PARAMS_INTERNAL_XBLASTPARAMSFIELDS_H
#define NORVEXT_PARAMS_INTERNAL_XBLASTPARAMSFIELDS_H

#include <norvext/common/internal/FieldList.h>
#include <norvext/params/XBlastParams.h>

namespace Norv {
namespace internal {

// The settings, then the letters, which take the RNA fix by the protein flag
// read before them.
template <>
struct FieldList<XBlastParams> {
    static constexpr auto s_fields = std::make_tuple(
        field("name", &XBlastParams::m_name),
        field("locator", &XBlastParams::m_locator),
        field("program", &XBlastParams::m_program),
        field("database", &XBlastParams::m_database),
        field("matrix", &XBlastParams::m_matrix),
        field("expect", &XBlastParams::m_expect),
        field("gapOpen", &XBlastParams::m_gapOpen),
        field("gapExtend", &XBlastParams::m_gapExtend),
        field("xDropoff", &XBlastParams::m_xDropoff),
        field("wordSize", &XBlastParams::m_wordSize),
        field("geneticCode", &XBlastParams::m_geneticCode),
        field("geneticCode DB", &XBlastParams::m_geneticCodeDatabase),
        field("limit", &XBlastParams::m_limit),
        field("doGapped", &XBlastParams::m_gapped),
        field("useFilter", &XBlastParams::m_filter),
        field("isProtein", &XBlastParams::m_protein),
        field("isTranslated", &XBlastParams::m_translated),
        field("matchReward", &XBlastParams::m_naMatchReward),
        field("mismatchPenalty", &XBlastParams::m_naMismatchPenalty),
        field("data length", &XBlastParams::m_data).json("data"),
        afterRead<XBlastParams>([](XBlastParams& params) { params.fixData(); }));
};

}  // namespace internal
}  // namespace Norv

#endif
