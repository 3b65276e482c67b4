#include <norvext/search/SearchProgram.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

namespace NorvSearch {
namespace {

constexpr auto B = SearchProgram::Engine::Blast, F = SearchProgram::Engine::Fasta;
constexpr Molecule P = Molecule::Protein, N = Molecule::Nucleotide, T = Molecule::Translated, E = Molecule::Either;

const SearchProgram kPrograms[] = {
    {"blastn", "blastn", B, N, N},         {"blastp", "blastp", B, P, P},
    {"blastx", "blastx", B, T, P},         {"tblastn", "tblastn", B, P, T},
    {"tblastx", "tblastx", B, T, T},       {"psiblast", "psiblast", B, P, P},
    {"rpsblast", "rpsblast", B, P, P},     {"rpstblastn", "rpstblastn", B, T, P},
    {"deltablast", "deltablast", B, P, P}, {"fasta", "fasta36", F, E, E},
    {"ssearch", "ssearch36", F, E, E},     {"ggsearch", "ggsearch36", F, E, E},
    {"glsearch", "glsearch36", F, E, E},   {"lalign", "lalign36", F, E, E},
    {"fastx", "fastx36", F, T, P},         {"fasty", "fasty36", F, T, P},
    {"tfastx", "tfastx36", F, P, T},       {"tfasty", "tfasty36", F, P, T},
    {"fasts", "fasts36", F, P, P},         {"fastf", "fastf36", F, P, P},
    {"fastm", "fastm36", F, P, P},         {"tfasts", "tfasts36", F, P, T},
    {"tfastf", "tfastf36", F, P, T},       {"tfastm", "tfastm36", F, P, T},
};

}  // namespace

const SearchProgram* findProgram(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.size() > 2 && lower.compare(lower.size() - 2, 2, "36") == 0) {
        lower.erase(lower.size() - 2);
    }
    const auto found = std::find_if(std::begin(kPrograms), std::end(kPrograms),
                                    [&lower](const SearchProgram& program) { return lower == program.name; });
    return found == std::end(kPrograms) ? nullptr : found;
}

}  // namespace NorvSearch
