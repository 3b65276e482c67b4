#ifndef NORVEXT_TOOLS_SEARCH_ENGINERUN_H
#define NORVEXT_TOOLS_SEARCH_ENGINERUN_H

#include <norvext/search/EngineCommand.h>
#include <norvext/search/SearchFormat.h>

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

// The subcommands `options` and `run` of norvext-search: the commands of a
// real search engine made from a parameter object (a preset or a persisted
// one), printed or run (docs/engines.md): BLAST+ or FASTA36, or for blastp
// and blastx a fast engine, DIAMOND or MMseqs2.
class EngineRun {
public:
    /// Reads the output file of a run in `format`, its tabular columns
    /// being `fields` (BLAST keywords; empty: the output's own); returns the
    /// exit status.
    using Import = std::function<int(const std::string& output, NorvSearch::SearchFormat format,
                                     const std::vector<std::string>& fields)>;

    /// The exit status of a run whose engine (or makeblastdb) failed: it
    /// exited with another status than 0, was killed, or said it ignored an
    /// option, a matrix or the library (FASTA36 goes on after those).
    static constexpr int kEngineFailed = 3;
    /// The exit status of a command line that asks for what cannot be: a
    /// fast engine for another search than blastp or blastx.
    static constexpr int kBadUsage = 2;

    /// Adds --engine, --preset, --params (one of them required), --query, --db,
    /// --evalue, --max-target-seqs, --threads and the engine's own arguments
    /// after "--" to `command`; the run subcommand (`run` true) requires
    /// --query (a file) and --db (a FASTA file or a BLAST database).
    void addOptions(CLI::App* command, bool run);

    /// Prints the commands that run the search, one a line, for a POSIX
    /// shell: the database first when the engine is to search a FASTA file
    /// (made in the current folder, named after the file; makeblastdb's
    /// report in NAME.log), then the engine with the output format that
    /// `run` reads, on standard output (MMseqs2 writes it into NAME.m8, and
    /// a last line prints it). 0 when printed; 1, with a message, when the
    /// parameters file cannot be read, the parameters name no engine
    /// program, or --db is a BLAST database of the wrong kind (or any, for
    /// a fast engine); kBadUsage when a fast engine is asked for another
    /// search than blastp or blastx.
    int printCommands() const;

    /// Checks that each of `outputs` (paths the import writes; empty ones are
    /// skipped) can be written, makes the BLAST database from the --db FASTA
    /// file when the engine needs one (in a temporary folder, removed
    /// afterwards), runs the engine on --query and hands its output to
    /// `import`, whose status it returns. 1, with a message, when an output
    /// cannot be written, the parameters do not read or name no program,
    /// --db is a BLAST database of the wrong kind, or a program is not
    /// installed (naming its Debian package); kBadUsage as printCommands();
    /// kEngineFailed, with the engine's own message, when the engine or the
    /// step that makes its database fails.
    int run(const Import& import, const std::vector<std::string>& outputs) const;

private:
    // The commands of a search, the engine last: it says what it writes.
    struct Plan {
        std::vector<NorvSearch::EngineCommand> steps;
    };

    // The commands for the parameters with the options' values in place of
    // theirs. Run in `folder`, the files they make are there: a database
    // made of a FASTA file (db), the output of an engine that names its
    // output file (out), MMseqs2's temporary folder (tmp). An empty folder
    // gives lines for a shell in the current folder: the database named
    // after the FASTA file, MMseqs2's output and temporary folder after it
    // (NAME.m8, NAME.tmp), DIAMOND's output on standard output, and
    // LIBRARY for a FASTA36 library that nothing names. Throws
    // std::runtime_error, and UsageError (a runtime_error) for a fast engine
    // asked for another search than blastp or blastx.
    Plan plan(const std::string& folder) const;

    std::string m_engine = "blast";
    std::string m_preset;
    std::string m_params;
    std::string m_query;
    std::string m_database;
    double m_evalue = 0;
    int m_maxTargets = 0;
    unsigned m_threads = 0;
    std::vector<std::string> m_engineArguments;
};

#endif
