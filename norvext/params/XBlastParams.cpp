#include <norvext/params/XBlastParams.h>

#include <norvext/common/Dispatch.h>
#include <norvext/params/internal/XBlastParamsFields.h>

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

// Every field is read, so the defaults are never seen.
XBlastParams::XBlastParams(AlignedBuf& buf) : XBlastParams() { read(buf); }

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
    internal::dumpFields(*this, os, level, "XBlastParams");
}

void XBlastParams::write(AlignedBuf& buf) const { internal::writeFields(*this, buf); }

void XBlastParams::read(AlignedBuf& buf) { internal::readFields(*this, buf); }

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
