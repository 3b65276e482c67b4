#include "EngineRun.h"

#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/search/FastEngineOption.h>
#include <norvext/search/SearchProgram.h>
#include <norvutil/AlignedBuf.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <variant>
#include <vector>

extern char** environ;

namespace {

using NorvSearch::EngineCommand;
using NorvSearch::FastEngine;
using NorvSearch::SearchProgram;
using Parameters = std::variant<Norv::XBlastParams, Norv::FastAParams>;

// A program that failed or refused what it was asked; its message is the
// program's own.
class EngineFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command line that asks for what cannot be.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program `name` names when it is one of XBlastParams' presets.
const SearchProgram* presetProgram(const std::string& name) {
    const SearchProgram* program = NorvSearch::findProgram(name);
    return program != nullptr && program->preset != nullptr ? program : nullptr;
}

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw std::runtime_error(path + ": cannot read");
    }
    return bytes;
}

// Reads `params` from all of `bytes`: false when the bytes end early or are
// left over.
template <typename Params>
bool readsWhole(const std::vector<unsigned char>& bytes, Params& params) {
    Norv::AlignedBuf buf(bytes);
    try {
        params.read(buf);
    } catch (const std::out_of_range&) {
        return false;
    }
    return buf.tell() == buf.size();
}

// Both classes may read the same bytes to the end (every field takes any
// value), so the BLAST reading counts only when it names a BLAST program;
// a FASTA reading is tried next, and a BLAST one with another program last,
// whose command then says what is wrong with it.
Parameters parametersOfFile(const std::string& path) {
    const std::vector<unsigned char> bytes = fileBytes(path);
    Norv::XBlastParams blast;
    const bool blastWhole = readsWhole(bytes, blast);
    if (blastWhole && presetProgram(blast.getProgram()) != nullptr) {
        return blast;
    }
    Norv::FastAParams fasta;
    if (readsWhole(bytes, fasta)) {
        return fasta;
    }
    if (blastWhole) {
        return blast;
    }
    throw std::runtime_error(path + ": holds neither XBlastParams nor FastAParams");
}

bool isFile(const std::string& path, bool executable = false) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           (!executable || ::access(path.c_str(), X_OK) == 0);
}

// The full path of `program` on PATH; empty when it is not there.
std::string onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path == nullptr ? "/usr/bin:/bin" : path;
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        if (isFile(folder + "/" + program, true)) {
            return folder + "/" + program;
        }
        start = end + 1;
    }
    return {};
}

// A folder of its own under TMPDIR, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/norvext-run-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder in " + pattern + ": " + std::strerror(errno));
        }
        m_path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Runs `executable` with `arguments` (no shell between), standard output into
// the file `output` (empty: with standard error) and standard error into
// `errors`; throws when it cannot be started. Returns the wait status.
int spawn(const std::string& executable, const std::string& program, const std::vector<std::string>& arguments,
          const std::string& output, const std::string& errors) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (output.empty()) {
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t child = 0;
    const int failed = posix_spawn(&child, executable.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot run " + executable + ": " + std::strerror(failed));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("cannot wait for " + program + ": " + std::strerror(errno));
        }
    }
    return status;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The full path of the command's program; throws, naming the package, when it
// is not installed.
std::string installed(const EngineCommand& command) {
    const std::string executable = onPath(command.program);
    if (executable.empty()) {
        throw std::runtime_error(command.program + " not found on PATH; install the Debian package " +
                                 command.package);
    }
    return executable;
}

// Throws when `path` cannot be written; leaves an existing file as it is and
// makes none.
void checkWritable(const std::string& path) {
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (file >= 0) {
        ::close(file);
        ::unlink(path.c_str());
        return;
    }
    if (errno == EEXIST && (file = ::open(path.c_str(), O_WRONLY)) >= 0) {
        ::close(file);
        return;
    }
    throw std::runtime_error(path + ": cannot write: " + std::strerror(errno));
}

// What the standard error of a FASTA36 program that exits with 0 says when
// it did not run the search it was asked for: it scores with BL50 instead
// of a matrix it cannot open, searches nothing in a library it cannot open,
// and passes over an option it does not know (getopt's messages).
const char* const kIgnored[] = {"cannot open scoring matrix", "cannot open library", "invalid option",
                                "option requires an argument"};

// Runs `command` in `folder`, its standard output into `output` unless it
// names an output file of its own: then standard output holds its log
// (MMseqs2's), which joins standard error. Throws EngineFailure with the
// engine's own message when it fails. What it writes on standard error when
// it succeeds (warnings, the fast engines' logs) is passed on.
void runEngine(const EngineCommand& command, const std::string& output, const std::string& folder) {
    const std::string executable = installed(command);
    const std::string errors = folder + "/" + command.program + ".stderr";
    const int status = spawn(executable, command.program, command.arguments,
                             command.outputFile.empty() ? output : std::string(), errors);
    const std::string message = fileText(errors);
    std::string how;
    if (WIFSIGNALED(status)) {
        how = "killed by signal " + std::to_string(WTERMSIG(status)) + ", " + strsignal(WTERMSIG(status));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        how = "exit status " + std::to_string(WEXITSTATUS(status));
    } else {
        for (const char* ignored : kIgnored) {
            if (message.find(ignored) != std::string::npos) {
                how = std::string("it says: ") + ignored;
            }
        }
    }
    if (!how.empty()) {
        std::string said = message.empty() ? "(nothing on standard error)" : message;
        if (said.back() != '\n') {
            said += '\n';
        }
        throw EngineFailure(command.program + " failed (" + how + "):\n" + said);
    }
    std::cerr << message;
}

// What --db names: a FASTA file when it is a file, else the BLAST databases
// with that prefix (NAME.pin or the alias NAME.pal for proteins, NAME.nin
// or NAME.nal for nucleotides, or one that blastdbcmd finds, through
// BLASTDB).
struct DatabaseName {
    bool fastaFile = false;
    bool protein = false;
    bool nucleotide = false;
};

// True when blastdbcmd knows the BLAST database `name` of `type`.
bool blastdbcmdKnows(const std::string& name, const char* type) {
    const std::string blastdbcmd = onPath("blastdbcmd");
    return !blastdbcmd.empty() &&
           spawn(blastdbcmd, "blastdbcmd", {"-info", "-db", name, "-dbtype", type}, "/dev/null", "/dev/null") == 0;
}

DatabaseName describeDatabase(const std::string& name) {
    DatabaseName what;
    if (isFile(name)) {
        what.fastaFile = true;
        return what;
    }
    what.protein = isFile(name + ".pin") || isFile(name + ".pal");
    what.nucleotide = isFile(name + ".nin") || isFile(name + ".nal");
    if (!what.protein && !what.nucleotide) {
        what.protein = blastdbcmdKnows(name, "prot");
        what.nucleotide = blastdbcmdKnows(name, "nucl");
    }
    return what;
}

// The name of the BLAST database made from the FASTA file `fasta` in the
// current folder: its file name without the extension.
std::string localDatabaseName(const std::string& fasta) {
    const std::string stem = std::filesystem::path(fasta).stem().string();
    return stem.empty() || stem == "." || stem == ".." ? "db" : stem;
}

}  // namespace

void EngineRun::addOptions(CLI::App* command, bool run) {
    command
        ->add_option("--engine", m_engine,
                     "The engine: blast (BLAST+, or FASTA36 for FastAParams), or for blastp and blastx "
                     "searches diamond (DIAMOND) or mmseqs (MMseqs2)")
        ->check(CLI::IsMember({"blast", "diamond", "mmseqs"}))
        ->capture_default_str();
    std::vector<std::string> presets;
    for (const SearchProgram& program : NorvSearch::searchPrograms()) {
        if (program.preset != nullptr) {
            presets.emplace_back(program.name);
        }
    }
    CLI::Option_group* parameters = command->add_option_group("parameters", "One of these");
    parameters
        ->add_option("--preset", m_preset,
                     "The XBlastParams preset of a BLAST+ program: " + CLI::detail::join(presets, ", ") +
                         " (FASTA36: --params, FastAParams has no presets)")
        ->check(CLI::IsMember(presets));
    parameters
        ->add_option("--params", m_params,
                     "A file with persisted XBlastParams or FastAParams (the bytes of an AlignedBuf, as "
                     "norvext-dump --encode writes them)")
        ->check(CLI::ExistingFile);
    parameters->require_option(1);
    CLI::Option* query = command->add_option("--query", m_query, "The query, a FASTA file");
    CLI::Option* database = command->add_option(
        "--db", m_database,
        "The sequences searched: a FASTA file (BLAST+, DIAMOND and MMseqs2 get a database of their own made from "
        "it) or a BLAST database, named by its prefix (NAME for NAME.pin, NAME.nin, NAME.pal or NAME.nal)");
    command->add_option("--evalue", m_evalue, "The E-value threshold, over the parameters' own (BLAST+ -evalue, "
                                              "FASTA36 -E, DIAMOND --evalue, MMseqs2 -e)")
        ->check(CLI::PositiveNumber);
    command->add_option("--max-target-seqs", m_maxTargets, "At most this many subjects, over the parameters' own "
                                                           "limit (BLAST+ -max_target_seqs, FASTA36 -b, DIAMOND "
                                                           "--max-target-seqs, MMseqs2 --max-accept)")
        ->check(CLI::PositiveNumber);
    command->add_option("--threads", m_threads, "Threads the engine may run (BLAST+ -num_threads, FASTA36 -T, "
                                                "DIAMOND and MMseqs2 --threads)")
        ->check(CLI::PositiveNumber);
    command->add_option("engine-arguments", m_engineArguments,
                        "After --: more arguments for the engine, passed on unchanged before its own");
    if (run) {
        query->required()->check(CLI::ExistingFile);
        database->required()->check(CLI::Validator(
            [](const std::string& name) {
                const DatabaseName what = describeDatabase(name);
                return what.fastaFile || what.protein || what.nucleotide
                           ? std::string()
                           : name + ": neither a FASTA file nor a BLAST database (" + name + ".pin, " + name +
                                 ".nin, " + name + ".pal or " + name + ".nal)";
            },
            "FASTA or BLASTDB"));
    }
}

EngineRun::Plan EngineRun::plan(const std::string& folder) const {
    Parameters parameters;
    if (!m_params.empty()) {
        parameters = parametersOfFile(m_params);
    } else {
        Norv::XBlastParams preset;
        (preset.*presetProgram(m_preset)->preset)();
        parameters = preset;
    }
    const bool shell = folder.empty();
    const std::string newDatabase = shell ? localDatabaseName(m_database) : folder + "/db";
    const DatabaseName what = m_database.empty() ? DatabaseName() : describeDatabase(m_database);
    FastEngine fast = FastEngine::Diamond;
    const bool isFast = NorvSearch::fastEngineFromName(m_engine, fast);
    auto* blast = std::get_if<Norv::XBlastParams>(&parameters);
    if (blast != nullptr) {
        if (m_evalue != 0) {
            blast->setExpect(m_evalue);
        }
        if (m_maxTargets != 0) {
            blast->setLimit(m_maxTargets);
        }
    } else if (isFast) {
        throw UsageError("--engine " + m_engine + " runs the blastp and blastx searches of XBlastParams, not "
                         "FastAParams");
    }
    Plan plan;
    try {
        if (isFast) {
            const auto kind = fast == FastEngine::Diamond ? EngineCommand::Database::Diamond
                                                          : EngineCommand::Database::MMseqs;
            if (what.protein || what.nucleotide) {
                throw std::runtime_error(m_database + ": a BLAST database; " + m_engine +
                                         " searches a database of its own, made of a FASTA file");
            }
            if (what.fastaFile) {
                plan.steps.push_back(EngineCommand::makeDatabase(kind, m_database, newDatabase));
                blast->setDatabase(newDatabase);
            } else if (!m_database.empty()) {
                blast->setDatabase(m_database);  // the engine's own database
            } else if (blast->getDatabase().empty() && shell) {
                blast->setDatabase("LIBRARY");
            }
            // DIAMOND's log goes to standard error when it writes its
            // output into a file, and run passes it on.
            const std::string output = shell && fast == FastEngine::Diamond ? ""
                                       : shell                             ? newDatabase + ".m8"
                                                                           : folder + "/out";
            try {
                plan.steps.push_back(EngineCommand::fast(fast, *blast, m_query, output,
                                                         shell ? newDatabase + ".tmp" : folder + "/tmp"));
            } catch (const std::invalid_argument& problem) {
                throw UsageError(problem.what());
            }
        } else if (blast != nullptr) {
            if (!m_database.empty()) {
                blast->setDatabase(what.fastaFile ? newDatabase : m_database);
            }
            EngineCommand engine = EngineCommand::blast(*blast, m_query);
            const bool protein = engine.database == EngineCommand::Database::BlastProtein;
            if (what.fastaFile) {
                plan.steps.push_back(EngineCommand::makeDatabase(engine.database, m_database, newDatabase));
            } else if (!(protein ? what.protein : what.nucleotide) && (protein ? what.nucleotide : what.protein)) {
                throw std::runtime_error(m_database + ": a BLAST database of " +
                                         (protein ? "nucleotides; " : "proteins; ") + engine.program + " searches " +
                                         (protein ? "proteins" : "nucleotides"));
            }
            plan.steps.push_back(engine);
        } else {
            auto& fasta = std::get<Norv::FastAParams>(parameters);
            if (m_evalue != 0) {
                fasta.setExpect(m_evalue);
            }
            if (m_maxTargets != 0) {
                fasta.setLimit(static_cast<unsigned>(m_maxTargets));
            }
            if (!m_database.empty()) {
                fasta.setDatabase(m_database);
            } else if (fasta.getDatabase().empty() && shell) {
                fasta.setDatabase("LIBRARY");
            }
            const bool blastDatabase = !what.fastaFile && (what.protein || what.nucleotide);
            plan.steps.push_back(EngineCommand::fasta(
                fasta, m_query,
                !blastDatabase ? EngineCommand::Database::FastaFile
                : what.protein ? EngineCommand::Database::BlastProtein
                               : EngineCommand::Database::BlastNucleotide));
        }
    } catch (const std::invalid_argument& problem) {
        throw std::runtime_error(problem.what());
    }
    EngineCommand& engine = plan.steps.back();
    engine.addOptions(m_engineArguments);
    if (m_threads != 0) {
        engine.addThreads(m_threads);
    }
    engine.addReadableOutput();
    return plan;
}

int EngineRun::printCommands() const {
    try {
        Plan plan = this->plan("");
        // The lines' standard output is the engine's output alone.
        for (EngineCommand& step : plan.steps) {
            step.addLogFile(localDatabaseName(m_database) + ".log");
        }
        if (const std::string written = plan.steps.back().outputFile; !written.empty()) {
            EngineCommand print;
            print.program = "cat";
            print.arguments = {written};
            plan.steps.push_back(print);
        }
        for (const EngineCommand& step : plan.steps) {
            std::cout << step.commandLine() << '\n';
        }
    } catch (const UsageError& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return kBadUsage;
    } catch (const std::runtime_error& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return 1;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int EngineRun::run(const Import& import, const std::vector<std::string>& outputs) const {
    try {
        for (const std::string& path : outputs) {
            if (!path.empty()) {
                checkWritable(path);
            }
        }
        TemporaryFolder folder;
        const Plan plan = this->plan(folder.path());
        for (const EngineCommand& step : plan.steps) {
            installed(step);  // before a database is built for nothing
        }
        const EngineCommand& engine = plan.steps.back();
        const std::string output = engine.outputFile.empty() ? folder.path() + "/out" : engine.outputFile;
        for (const EngineCommand& step : plan.steps) {
            runEngine(step, &step == &engine ? output : folder.path() + "/" + step.program + ".out", folder.path());
        }
        return import(output, engine.format, engine.fields);
    } catch (const EngineFailure& failure) {
        std::cerr << "norvext-search: " << failure.what();
        return kEngineFailed;
    } catch (const UsageError& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return kBadUsage;
    } catch (const std::runtime_error& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return 1;
    }
}
