#ifndef NORVEXT_SEARCH_SEARCHPROGRAM_H
#define NORVEXT_SEARCH_SEARCHPROGRAM_H

#include <norvext/search/Export.h>

#include <string_view>

namespace NorvSearch {

/// What one side of a search (query or subject) holds as the engine aligns it.
enum class Molecule {
    Protein,     ///< amino acids
    Nucleotide,  ///< nucleotides aligned as they are, on either strand
    Translated,  ///< nucleotides translated in six frames, 3 positions a letter
    Either,      ///< as the sequences are: both sides of the same kind
};

/// A search program of BLAST+ or FASTA36 as the readers, the format
/// recognition and the engine commands see it. The one table of programs.
struct NORVSEARCH_API SearchProgram {
    /// The suites of programs.
    enum class Engine {
        Blast,  ///< NCBI BLAST+
        Fasta,  ///< FASTA36
    };

    /// Lower case, without FASTA36's "36": "blastx", "tfastx", "ssearch".
    const char* name;
    /// The executable on PATH: the name, with "36" for FASTA36.
    const char* executable;
    /// The engine that runs it.
    Engine engine;
    /// What the query holds as it is aligned.
    Molecule query;
    /// What the subjects hold as they are aligned.
    Molecule subject;

    /// Query positions per aligned letter: 3 for a translated query, else 1.
    int queryStep() const { return query == Molecule::Translated ? 3 : 1; }
    /// Subject positions per aligned letter.
    int subjectStep() const { return subject == Molecule::Translated ? 3 : 1; }
};

/// The program called `name`, in any case, with or without FASTA36's "36"
/// ("BLASTX", "tfastx36", "SSEARCH"); null for any other name.
NORVSEARCH_API const SearchProgram* findProgram(std::string_view name);

}  // namespace NorvSearch

#endif
