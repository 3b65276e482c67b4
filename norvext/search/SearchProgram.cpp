#include <norvext/search/SearchProgram.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace NorvSearch {
namespace {

using X = Norv::XBlastParams;
constexpr auto B = SearchProgram::Engine::Blast, F = SearchProgram::Engine::Fasta;
constexpr Molecule P = Molecule::Protein, N = Molecule::Nucleotide, T = Molecule::Translated, E = Molecule::Either;
// The columns after the molecules: heuristic, frameshifts, banded, blastBtop.
constexpr bool Y = true, n = false;

}  // namespace

const std::vector<SearchProgram>& searchPrograms() {
    static const std::vector<SearchProgram> s_programs = {
        {"blastn", "blastn", B, N, N, &X::setDefaultsBLASTN, Y, n, n, Y},
        {"blastp", "blastp", B, P, P, &X::setDefaultsBLASTP, Y, n, n, Y},
        {"blastx", "blastx", B, T, P, &X::setDefaultsBLASTX, Y, n, n, Y},
        {"tblastn", "tblastn", B, P, T, &X::setDefaultsTBLASTN, Y, n, n, Y},
        {"tblastx", "tblastx", B, T, T, &X::setDefaultsTBLASTX, Y, n, n, Y},
        {"psiblast", "psiblast", B, P, P, nullptr, Y, n, n, Y},
        {"rpsblast", "rpsblast", B, P, P, nullptr, Y, n, n, Y},
        {"rpstblastn", "rpstblastn", B, T, P, nullptr, Y, n, n, Y},
        {"deltablast", "deltablast", B, P, P, nullptr, Y, n, n, Y},
        {"fasta", "fasta36", F, E, E, nullptr, Y, n, Y, Y},
        {"ssearch", "ssearch36", F, E, E, nullptr, n, n, n, Y},
        {"ggsearch", "ggsearch36", F, E, E, nullptr, n, n, n, Y},
        {"glsearch", "glsearch36", F, E, E, nullptr, n, n, n, Y},
        {"lalign", "lalign36", F, E, E, nullptr, n, n, n, Y},
        {"fastx", "fastx36", F, T, P, nullptr, Y, Y, n, Y},
        {"fasty", "fasty36", F, T, P, nullptr, Y, Y, n, Y},
        {"tfastx", "tfastx36", F, P, T, nullptr, Y, Y, n, n},
        {"tfasty", "tfasty36", F, P, T, nullptr, Y, Y, n, n},
        {"fasts", "fasts36", F, P, P, nullptr, Y, n, n, n},
        {"fastf", "fastf36", F, P, P, nullptr, Y, n, n, n},
        {"fastm", "fastm36", F, P, P, nullptr, Y, n, n, n},
        {"tfasts", "tfasts36", F, P, T, nullptr, Y, n, n, n},
        {"tfastf", "tfastf36", F, P, T, nullptr, Y, n, n, n},
        {"tfastm", "tfastm36", F, P, T, nullptr, Y, n, n, n},
    };
    return s_programs;
}

const SearchProgram* findProgram(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.size() > 2 && lower.compare(lower.size() - 2, 2, "36") == 0) {
        lower.erase(lower.size() - 2);
    }
    const std::vector<SearchProgram>& programs = searchPrograms();
    const auto found = std::find_if(programs.begin(), programs.end(),
                                    [&lower](const SearchProgram& program) { return lower == program.name; });
    return found == programs.end() ? nullptr : &*found;
}

}  // namespace NorvSearch
