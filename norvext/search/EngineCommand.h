#ifndef NORVEXT_SEARCH_ENGINECOMMAND_H
#define NORVEXT_SEARCH_ENGINECOMMAND_H

#include <norvext/search/Export.h>
#include <norvext/search/FastEngineOption.h>
#include <norvext/search/SearchFormat.h>

#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>

#include <cstddef>
#include <string>
#include <vector>

namespace NorvSearch {

/// The command that runs a real search engine (BLAST+, FASTA36, DIAMOND or
/// MMseqs2) with the settings of a parameter object. Fields whose value is 0 (or empty) are
/// "not set" and give no option; fields that a program does not take are left
/// out. What each program takes comes from the table of programs
/// (SearchProgram.h), and what the fast engines take from the table of their
/// options (FastEngineOption.h). docs/engines.md has the tables, field by
/// field and program by program.
struct NORVSEARCH_API EngineCommand {
    /// What the engine's database argument must name.
    enum class Database {
        FastaFile,         ///< a FASTA file, read as it is (FASTA36)
        BlastNucleotide,   ///< a BLAST database of nucleotides (makeblastdb -dbtype nucl)
        BlastProtein,      ///< a BLAST database of proteins (makeblastdb -dbtype prot)
        Diamond,           ///< a DIAMOND database (diamond makedb: NAME.dmnd, named NAME)
        MMseqs,            ///< an MMseqs2 database (mmseqs createdb)
    };

    /// The program, as looked up on PATH: "blastp", "ssearch36", ...
    std::string program;
    /// Its arguments: the options first, then (FASTA36) the query, the
    /// library and the ktup. Both engines take options before any file name,
    /// so an option inserted at the front keeps the line valid. DIAMOND's
    /// and MMseqs2's begin with the subcommand ("blastp", "easy-search").
    std::vector<std::string> arguments;
    /// Where addOptions() puts options: 0, the front, for BLAST+ and
    /// FASTA36; 1, after the subcommand, for DIAMOND and MMseqs2.
    std::size_t optionsAt = 0;
    /// The Debian package that installs the program.
    std::string package;
    /// What the database argument names. FastaFile for every FASTA36
    /// command, whose library may also be a BLAST database (see fasta()).
    Database database = Database::FastaFile;
    /// The file that the engine writes its output into, as its arguments
    /// name it; empty when it writes on standard output. MMseqs2 always
    /// names one: it writes its log on standard output.
    std::string outputFile;
    /// The format SearchReader reads what the command writes in, as
    /// addReadableOutput() and fast() ask for it.
    SearchFormat format = SearchFormat::BlastXml;
    /// The columns of its tabular output as BLAST field keywords
    /// (SearchReader::setFields); empty: the output's own.
    std::vector<std::string> fields;

    /// The BLAST+ command of `params` reading the query from the file `query`
    /// (no -query option when it is empty: BLAST+ then reads standard input).
    /// The program comes from the program field, in any case: BLASTN gives
    /// "blastn -task blastn", BLASTP "blastp", and so on. Throws
    /// std::invalid_argument naming the field's value when it is empty or no
    /// BLAST+ program that XBlastParams describes (one with a preset).
    static EngineCommand blast(const Norv::XBlastParams& params, const std::string& query);

    /// The FASTA36 command of `params` with the query file `query` ("@" reads
    /// standard input) and the database field as the library: a FASTA file,
    /// or, when `library` is BlastProtein or BlastNucleotide, the prefix of a
    /// BLAST database (given to FASTA36 as "NAME 12", its library format for
    /// BLAST databases). The program comes from the algorithm field, in any
    /// case and with or without "36": "fasta" gives fasta36, "ssearch"
    /// ssearch36, ...; an empty algorithm gives ssearch36 when the
    /// Smith-Waterman switch is on, else fasta36. Throws std::invalid_argument
    /// naming the algorithm when it is no FASTA36 program, or when the
    /// database is empty (FASTA36 needs a library).
    static EngineCommand fasta(const Norv::FastAParams& params, const std::string& query,
                               Database library = Database::FastaFile);

    /// The command of the fast engine `engine` that runs the blastp or
    /// blastx search of `params` (the program field, in any case): "diamond
    /// blastp|blastx" or "mmseqs easy-search --search-type 1|2", with the
    /// options of fastEngineOptions(), searching the engine's database that
    /// the database field names, reading the query from the file `query`
    /// (empty: standard input) and writing BLAST tabular output that
    /// SearchReader reads (`format` and `fields` say how) into the file
    /// `output` (empty: standard output, DIAMOND only). MMseqs2 keeps its
    /// temporary files in the folder `temporary`, which it makes. Throws
    /// std::invalid_argument naming the program field when it is not
    /// blastp or blastx, and when MMseqs2 gets no output file or no
    /// temporary folder.
    static EngineCommand fast(FastEngine engine, const Norv::XBlastParams& params, const std::string& query,
                              const std::string& output, const std::string& temporary);

    /// The command that makes the database `name` of the kind `kind` from
    /// the FASTA file `fasta`: makeblastdb for a BLAST database (`name` a
    /// path prefix), diamond makedb (NAME.dmnd), mmseqs createdb (NAME and
    /// files beginning NAME). Throws std::invalid_argument when `kind` is
    /// FastaFile.
    static EngineCommand makeDatabase(Database kind, const std::string& fasta, const std::string& name);

    /// Puts in front the options that make the engine write what SearchReader
    /// reads, and sets `format`: "-outfmt 5" (BLAST XML) for BLAST+; "-m
    /// 8CB" (tabular with BTOP) for FASTA36, "-m 8C" for the programs whose
    /// BTOP is not BLAST's (SearchProgram::blastBtop). Does nothing for a
    /// program outside the table of programs (makeblastdb, and the fast
    /// engines, whose fast() commands already ask for it). Throws nothing
    /// but allocation errors.
    void addReadableOutput();

    /// Puts in front the option that lets the engine run `threads` threads:
    /// "-num_threads N" for BLAST+, "-T N" for FASTA36, "--threads N" for
    /// DIAMOND and MMseqs2. Does nothing for another program (makeblastdb).
    /// Throws nothing but allocation errors.
    void addThreads(unsigned threads);

    /// Keeps standard output for the output alone, where the program would
    /// log there too: makeblastdb writes its report into the file `log`;
    /// MMseqs2, which has no log file, says only its warnings and errors
    /// ("-v 2", on standard error). Does nothing for the others, which log
    /// on standard error or not at all. Throws nothing but allocation
    /// errors.
    void addLogFile(const std::string& log);

    /// Puts `options` at optionsAt, unchanged and in their order. Throws
    /// nothing but allocation errors.
    void addOptions(const std::vector<std::string>& options);

    /// The program and its arguments as one line for a POSIX shell: a word
    /// made of letters, digits and "_-+=.,/:@%" only stays as it is, any other
    /// (an empty one too) is single-quoted. Throws nothing but allocation
    /// errors.
    std::string commandLine() const;
};

}  // namespace NorvSearch

#endif
