#include <norvext/search/FastEngineOption.h>

#include <norvext/search/SearchProgram.h>

#include "internal/Words.h"

#include <utility>

namespace NorvSearch {
namespace {

using X = Norv::XBlastParams;
using internal::lowerCase;

std::string ifSet(long value) { return value == 0 ? std::string() : std::to_string(value); }

// MMseqs2 holds a few matrices itself, each under a name of its own; any
// other is a file of the user's (NAME.out), given as it is. The nucleotide
// matrix stays MMseqs2's own.
std::string matrix(const X& params, FastEngine engine) {
    const std::string& name = params.getMatrix();
    if (engine == FastEngine::Diamond || name.empty()) {
        return name;
    }
    static const std::pair<const char*, const char*> s_builtIn[] = {
        {"blosum62", "blosum62.out"}, {"pam30", "PAM30.out"}, {"vtml40", "VTML40.out"}, {"vtml80", "VTML80.out"}};
    std::string file = name;
    for (const auto& [known, spelled] : s_builtIn) {
        if (lowerCase(name) == known) {
            file = spelled;
        }
    }
    return "aa:" + file + ",nucl:nucleotide.out";
}

// The query's genetic code matters only where the query is translated.
std::string queryCode(const X& params, FastEngine) {
    const SearchProgram* program = findProgram(params.getProgram());
    return program != nullptr && program->query == Molecule::Translated ? ifSet(params.getGeneticCode())
                                                                          : std::string();
}

// SEG, as BLAST's filter, or none: DIAMOND's own default is tantan.
// MMseqs2 masks low-complexity stretches when it seeds, or not.
std::string filter(const X& params, FastEngine engine) {
    if (engine == FastEngine::Diamond) {
        return params.useFilter() ? "seg" : "none";
    }
    return params.useFilter() ? "1" : "0";
}

}  // namespace

const char* fastEngineName(FastEngine engine) { return engine == FastEngine::Diamond ? "diamond" : "mmseqs"; }

bool fastEngineFromName(std::string_view name, FastEngine& engine) {
    for (const FastEngine known : {FastEngine::Diamond, FastEngine::MMseqs}) {
        if (name == fastEngineName(known)) {
            engine = known;
            return true;
        }
    }
    return false;
}

const std::vector<FastEngineOption>& fastEngineOptions() {
    static const std::vector<FastEngineOption> s_options = {
        {"matrix", "--matrix", "--sub-mat", &matrix},
        {"gapOpen", "--gapopen", "--gap-open", [](const X& p, FastEngine) { return ifSet(p.getGapOpen()); }},
        {"gapExtend", "--gapextend", "--gap-extend", [](const X& p, FastEngine) { return ifSet(p.getGapExtend()); }},
        {"expect", "--evalue", "-e",
         [](const X& p, FastEngine) {
             return p.getExpect() == 0 ? std::string() : internal::shortestNumber(p.getExpect());
         }},
        // DIAMOND seeds with spaced shapes of its own; MMseqs2's k-mers (5
        // to 7 letters) refuse BLAST's protein words (3 in the presets).
        {"wordSize", nullptr, nullptr, nullptr},
        // DIAMOND's --xdrop is its ungapped stage's, in a search that is
        // always gapped; MMseqs2's --zdrop is for nucleotides.
        {"xDropoff", nullptr, nullptr, nullptr},
        {"geneticCode", "--query-gencode", "--translation-table", &queryCode},
        // The subjects are proteins.
        {"geneticCode DB", nullptr, nullptr, nullptr},
        // MMseqs2 stops aligning a query once it has this many: its
        // --max-seqs would cut the candidates before they are aligned.
        {"limit", "--max-target-seqs", "--max-accept", [](const X& p, FastEngine) { return ifSet(p.getLimit()); }},
        {"useFilter", "--masking", "--mask", &filter},
        // DIAMOND always aligns with gaps; MMseqs2's alignment mode 4 without.
        {"doGapped", nullptr, "--alignment-mode",
         [](const X& p, FastEngine) { return p.doGapped() ? std::string() : std::string("4"); }},
        // Nucleotide scores: blastn, which no fast engine runs.
        {"matchReward", nullptr, nullptr, nullptr},
        {"mismatchPenalty", nullptr, nullptr, nullptr},
    };
    return s_options;
}

}  // namespace NorvSearch
