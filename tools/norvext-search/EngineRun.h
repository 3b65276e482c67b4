#ifndef NORVEXT_TOOLS_SEARCH_ENGINERUN_H
#define NORVEXT_TOOLS_SEARCH_ENGINERUN_H

#include <norvext/search/EngineCommand.h>
#include <norvext/search/SearchFormat.h>

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

// The subcommands `options` and `run` of norvext-search: the command of a real
// search engine made from a parameter object (a preset or a persisted one),
// printed or run (docs/engines.md).
class EngineRun {
public:
    /// Reads the output file of a run in `format`; returns the exit status.
    using Import = std::function<int(const std::string& output, NorvSearch::SearchFormat format)>;

    /// Adds --preset, --params (one of them required), --query and --db to
    /// `command`; the run subcommand (`run` true) requires --query and --db.
    void addOptions(CLI::App* command, bool run);

    /// Prints the engine's command line. 0 when printed; 1, with a message,
    /// when the parameters file cannot be read or the parameters name no
    /// engine program.
    int printCommand() const;

    /// Makes the BLAST database from the --db FASTA file when the engine needs
    /// one (in a temporary folder, removed afterwards), runs the engine on
    /// --query and hands its output to `import`, whose status it returns.
    /// 1, with a message, when the parameters do not read or name no program,
    /// when a program is not installed (naming its Debian package) and when
    /// the engine fails (with the engine's standard error).
    int run(const Import& import) const;

private:
    // The command for the parameters, with `query` and `database` (when not
    // empty) in place of the parameters' own, and `noLibrary` as the FASTA
    // library when neither names one; throws std::runtime_error.
    NorvSearch::EngineCommand command(const std::string& query, const std::string& database,
                                      const std::string& noLibrary) const;

    std::string m_preset;
    std::string m_params;
    std::string m_query;
    std::string m_database;
};

#endif
