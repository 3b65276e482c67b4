#include <norvext/params/XBlastParams.h>

#include <norvext/common/Dispatch.h>
#include <norvext/common/internal/DumpFlag.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Tracer.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace Norv {

namespace {

// What the program presets set alike.
const char kPresetDatabase[] = "nr";
constexpr double kPresetExpect = 10.0;
constexpr int kPresetGeneticCode = 1;
constexpr int kPresetLimit = 50;
constexpr bool kPresetFilter = true;
constexpr unsigned int kPresetNAScore = 0;

// What the program presets set each in their own way.
struct Preset {
    const char* program;
    const char* matrix;
    int gapOpen;
    int gapExtend;
    int xDropoff;
    int wordSize;
    bool gapped;
    bool protein;
    bool translated;
};

//                           program    matrix      open  ext  xdrop  word  gapped  protein  translated
constexpr Preset kBLASTN  = {"BLASTN",  "",         5,    2,   30,    11,   true,   false,   false};
constexpr Preset kBLASTX  = {"BLASTX",  "BLOSUM62", 11,   1,   15,    3,    true,   false,   true};
constexpr Preset kTBLASTX = {"TBLASTX", "BLOSUM62", 0,    0,   0,     3,    false,  false,   true};
constexpr Preset kBLASTP  = {"BLASTP",  "BLOSUM62", 11,   1,   15,    3,    true,   true,    false};
constexpr Preset kTBLASTN = {"TBLASTN", "BLOSUM62", 11,   1,   15,    3,    true,   true,    true};

void apply(XBlastParams& params, const Preset& preset) {
    params.setProgram(preset.program);
    params.setDatabase(kPresetDatabase);
    params.setMatrix(preset.matrix);
    params.setExpect(kPresetExpect);
    params.setGapOpen(preset.gapOpen);
    params.setGapExtend(preset.gapExtend);
    params.setXDropoff(preset.xDropoff);
    params.setWordSize(preset.wordSize);
    params.setGeneticCode(kPresetGeneticCode);
    params.setGeneticCodeDatabase(kPresetGeneticCode);
    params.setLimit(kPresetLimit);
    params.doGapped(preset.gapped);
    params.useFilter(kPresetFilter);
    params.setProtein(preset.protein);
    params.setTranslated(preset.translated);
    params.setNAMatchReward(kPresetNAScore);
    params.setNAMismatchPenalty(kPresetNAScore);
}

}  // namespace

XBlastParams::XBlastParams()
    : m_name("lcl"),
      m_expect(10.0),
      m_gapOpen(11),
      m_gapExtend(1),
      m_xDropoff(20),
      m_wordSize(3),
      m_geneticCode(1),
      m_geneticCodeDatabase(1),
      m_limit(50),
      m_gapped(true),
      m_filter(true),
      m_protein(false),
      m_translated(false),
      m_naMatchReward(0),
      m_naMismatchPenalty(0) {}

XBlastParams::XBlastParams(AlignedBuf& buf)
    : m_expect(0.0),
      m_gapOpen(0),
      m_gapExtend(0),
      m_xDropoff(0),
      m_wordSize(0),
      m_geneticCode(1),
      m_geneticCodeDatabase(1),
      m_limit(0),
      m_gapped(false),
      m_filter(false),
      m_protein(false),
      m_translated(false),
      m_naMatchReward(0),
      m_naMismatchPenalty(0) {
    read(buf);
}

XBlastParams::~XBlastParams() = default;

void XBlastParams::setData(const char* bytes, unsigned int count) {
    m_data.assign(bytes, bytes + count);
    fixData();
}

void XBlastParams::setData(const std::vector<char>& source, unsigned int from, unsigned int to) {
    if (from > to || to > source.size()) {
        throw std::out_of_range("XBlastParams::setData: range " + std::to_string(from) + ".." + std::to_string(to) +
                                " does not fit a source of " + std::to_string(source.size()) + " bytes");
    }
    m_data.assign(source.begin() + from, source.begin() + to);
    fixData();
}

void XBlastParams::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void XBlastParams::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "XBlastParams");
    trace("name", m_name);
    trace("locator", m_locator);
    trace("program", m_program);
    trace("database", m_database);
    trace("matrix", m_matrix);
    trace("expect", m_expect);
    trace("gapOpen", m_gapOpen);
    trace("gapExtend", m_gapExtend);
    trace("xDropoff", m_xDropoff);
    trace("wordSize", m_wordSize);
    trace("geneticCode", m_geneticCode);
    trace("geneticCode DB", m_geneticCodeDatabase);
    trace("limit", m_limit);
    trace("doGapped", internal::flagText(m_gapped));
    trace("useFilter", internal::flagText(m_filter));
    trace("isProtein", internal::flagText(m_protein));
    trace("isTranslated", internal::flagText(m_translated));
    trace("matchReward", m_naMatchReward);
    trace("mismatchPenalty", m_naMismatchPenalty);
    trace("data length", static_cast<unsigned int>(m_data.size()));
}

void XBlastParams::write(AlignedBuf& buf) const {
    internal::putString(buf, m_name);
    internal::putString(buf, m_locator);
    internal::putString(buf, m_program);
    internal::putString(buf, m_database);
    internal::putString(buf, m_matrix);
    buf.put(m_expect);
    buf.put(static_cast<unsigned int>(m_gapOpen));
    buf.put(static_cast<unsigned int>(m_gapExtend));
    buf.put(static_cast<unsigned int>(m_xDropoff));
    buf.put(static_cast<unsigned int>(m_wordSize));
    buf.put(static_cast<unsigned int>(m_geneticCode));
    buf.put(static_cast<unsigned int>(m_geneticCodeDatabase));
    buf.put(static_cast<unsigned int>(m_limit));
    buf.put(m_gapped);
    buf.put(m_filter);
    buf.put(m_protein);
    buf.put(m_translated);
    buf.put(m_naMatchReward);
    buf.put(m_naMismatchPenalty);
    internal::putBytes(buf, m_data);
}

void XBlastParams::read(AlignedBuf& buf) {
    buf.get(m_name);
    buf.get(m_locator);
    buf.get(m_program);
    buf.get(m_database);
    buf.get(m_matrix);
    buf.get(m_expect);
    buf.get(m_gapOpen);
    buf.get(m_gapExtend);
    buf.get(m_xDropoff);
    buf.get(m_wordSize);
    buf.get(m_geneticCode);
    buf.get(m_geneticCodeDatabase);
    buf.get(m_limit);
    buf.get(m_gapped);
    buf.get(m_filter);
    buf.get(m_protein);
    buf.get(m_translated);
    buf.get(m_naMatchReward);
    buf.get(m_naMismatchPenalty);
    internal::getBytes(buf, m_data);
    fixData();
}

void XBlastParams::setNADefaults() { setDefaultsBLASTN(); }

void XBlastParams::setAADefaults() { setDefaultsBLASTP(); }

void XBlastParams::setDefaultsBLASTN() { apply(*this, kBLASTN); }

void XBlastParams::setDefaultsBLASTX() { apply(*this, kBLASTX); }

void XBlastParams::setDefaultsTBLASTX() { apply(*this, kTBLASTX); }

void XBlastParams::setDefaultsBLASTP() { apply(*this, kBLASTP); }

void XBlastParams::setDefaultsTBLASTN() { apply(*this, kTBLASTN); }

void XBlastParams::fixData() {
    if (m_protein) {
        return;
    }
    // A DNA query usually holds no 'U' at all: memchr passes it at memory
    // speed, where a test and a store per letter would crawl.
    char* const end = m_data.data() + m_data.size();
    for (char* at = m_data.data(); at != end; ++at) {
        at = static_cast<char*>(std::memchr(at, 'U', static_cast<std::size_t>(end - at)));
        if (at == nullptr) {
            break;
        }
        *at = 'T';
    }
}

}  // namespace Norv
