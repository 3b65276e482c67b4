#ifndef NORVEXT_SEARCH_SEARCHPROGRAM_H
#define NORVEXT_SEARCH_SEARCHPROGRAM_H

#include <norvext/search/Export.h>

#include <norvext/params/XBlastParams.h>

#include <string_view>
#include <vector>

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
    /// An XBlastParams preset: XBlastParams::setDefaultsBLASTP, ...
    using Preset = void (Norv::XBlastParams::*)();

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
    /// The XBlastParams preset of the program (blastn, blastp, blastx,
    /// tblastn, tblastx: the programs XBlastParams describes); null for the
    /// others. FastAParams has no presets.
    Preset preset;
    /// Seeds its alignments from words of a set length: every BLAST+
    /// program (-word_size) and FASTA36's fast* programs, which take the
    /// word length (ktup) after the library; not ssearch, ggsearch,
    /// glsearch, lalign.
    bool heuristic;
    /// Aligns a translated side with frameshifts, at a cost of its own
    /// (FASTA36's fastx, fasty, tfastx, tfasty: -j).
    bool frameshifts;
    /// Bands the final alignment of proteins unless told to align them in
    /// full (FASTA36's fasta: -A).
    bool banded;
    /// Its tabular output's BTOP is BLAST's: false for FASTA36's tfastx and
    /// tfasty, which put the subject letter of a gap first, and for the
    /// peptide-mixture programs (fasts, fastf, fastm and their t- forms),
    /// which mark fragments ("=6[1]").
    bool blastBtop;

    /// Query positions per aligned letter: 3 for a translated query, else 1.
    int queryStep() const { return query == Molecule::Translated ? 3 : 1; }
    /// Subject positions per aligned letter.
    int subjectStep() const { return subject == Molecule::Translated ? 3 : 1; }
};

/// The program called `name`, in any case, with or without FASTA36's "36"
/// ("BLASTX", "tfastx36", "SSEARCH"); null for any other name.
NORVSEARCH_API const SearchProgram* findProgram(std::string_view name);

/// Every program of the table, each once: BLAST+ first, then FASTA36.
NORVSEARCH_API const std::vector<SearchProgram>& searchPrograms();

}  // namespace NorvSearch

#endif
