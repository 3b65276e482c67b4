#include "EngineRun.h"

#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvutil/AlignedBuf.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace {

const char* const kBlastPresets[] = {"blastn", "blastp", "blastx", "tblastn", "tblastx"};
const char* const kFastaPresets[] = {"fasta", "ssearch", "fastx", "tfastx"};

bool isBlastPreset(const std::string& name) {
    return std::find(std::begin(kBlastPresets), std::end(kBlastPresets), name) != std::end(kBlastPresets);
}

Norv::XBlastParams blastPreset(const std::string& name) {
    Norv::XBlastParams params;
    if (name == "blastn") {
        params.setDefaultsBLASTN();
    } else if (name == "blastp") {
        params.setDefaultsBLASTP();
    } else if (name == "blastx") {
        params.setDefaultsBLASTX();
    } else if (name == "tblastn") {
        params.setDefaultsTBLASTN();
    } else {
        params.setDefaultsTBLASTX();
    }
    return params;
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
NorvSearch::EngineCommand commandOfFile(const std::string& path, const std::string& query,
                                        const std::string& database, const std::string& noLibrary) {
    const std::vector<unsigned char> bytes = fileBytes(path);
    Norv::XBlastParams blast;
    const bool blastWhole = readsWhole(bytes, blast);
    if (!database.empty()) {
        blast.setDatabase(database);
    }
    std::string program = blast.getProgram();
    for (char& c : program) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (blastWhole && isBlastPreset(program)) {
        return NorvSearch::EngineCommand::blast(blast, query);
    }
    Norv::FastAParams fasta;
    if (readsWhole(bytes, fasta)) {
        if (!database.empty()) {
            fasta.setDatabase(database);
        } else if (fasta.getDatabase().empty()) {
            fasta.setDatabase(noLibrary);
        }
        return NorvSearch::EngineCommand::fasta(fasta, query);
    }
    if (blastWhole) {
        return NorvSearch::EngineCommand::blast(blast, query);
    }
    throw std::runtime_error(path + ": holds neither XBlastParams nor FastAParams");
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
        const std::string candidate = folder + "/" + program;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
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
// the file `output` and standard error into `errors`; throws when it cannot be
// started. Returns the wait status.
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
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
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
std::string installed(const NorvSearch::EngineCommand& command) {
    const std::string executable = onPath(command.program);
    if (executable.empty()) {
        throw std::runtime_error(command.program + " not found on PATH; install the Debian package " +
                                 command.package);
    }
    return executable;
}

// Runs `command` in `folder`; throws std::runtime_error with the engine's own
// message when it fails. What it writes on standard error when it succeeds
// (warnings) is passed on.
void runEngine(const NorvSearch::EngineCommand& command, const std::string& output, const std::string& folder) {
    const std::string executable = installed(command);
    const std::string errors = folder + "/" + command.program + ".stderr";
    const int status = spawn(executable, command.program, command.arguments, output, errors);
    const std::string message = fileText(errors);
    // FASTA36 only warns about a matrix it cannot open, then scores with
    // another: the search would not be the one asked for.
    const bool matrixRefused = message.find("cannot open scoring matrix") != std::string::npos;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || matrixRefused) {
        const std::string how = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                              : WIFSIGNALED(status) ? std::string("signal ") + strsignal(WTERMSIG(status))
                                                    : "a refused option";
        throw std::runtime_error(command.program + " failed (" + (matrixRefused ? "unknown matrix" : how) +
                                 "):\n" + message);
    }
    std::cerr << message;
}

}  // namespace

void EngineRun::addOptions(CLI::App* command, bool run) {
    std::vector<std::string> presets(std::begin(kBlastPresets), std::end(kBlastPresets));
    presets.insert(presets.end(), std::begin(kFastaPresets), std::end(kFastaPresets));
    CLI::Option_group* parameters = command->add_option_group("parameters", "One of these");
    parameters
        ->add_option("--preset", m_preset,
                     "A BLAST program's preset (blastn, blastp, blastx, tblastn, tblastx) or a FASTA36 algorithm "
                     "with default settings (fasta, ssearch, fastx, tfastx)")
        ->check(CLI::IsMember(presets));
    parameters
        ->add_option("--params", m_params,
                     "A file with persisted XBlastParams or FastAParams (the bytes of an AlignedBuf, as "
                     "norvext-dump --encode writes them)")
        ->check(CLI::ExistingFile);
    parameters->require_option(1);
    CLI::Option* query = command->add_option("--query", m_query, "The query, a FASTA file");
    CLI::Option* database = command->add_option(
        "--db", m_database, "The sequences searched, a FASTA file; a BLAST database is made from it for BLAST");
    if (run) {
        query->required()->check(CLI::ExistingFile);
        database->required()->check(CLI::ExistingFile);
    }
}

NorvSearch::EngineCommand EngineRun::command(const std::string& query, const std::string& database,
                                             const std::string& noLibrary) const {
    try {
        if (!m_params.empty()) {
            return commandOfFile(m_params, query, database, noLibrary);
        }
        if (isBlastPreset(m_preset)) {
            Norv::XBlastParams params = blastPreset(m_preset);
            if (!database.empty()) {
                params.setDatabase(database);
            }
            return NorvSearch::EngineCommand::blast(params, query);
        }
        Norv::FastAParams params;
        params.setAlgorithm(m_preset);
        params.setDatabase(database.empty() ? noLibrary : database);
        return NorvSearch::EngineCommand::fasta(params, query);
    } catch (const std::invalid_argument& problem) {
        throw std::runtime_error(problem.what());
    }
}

int EngineRun::printCommand() const {
    try {
        std::cout << command(m_query, m_database, "LIBRARY").commandLine() << '\n' << std::flush;
    } catch (const std::runtime_error& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return 1;
    }
    return std::cout ? 0 : 1;
}

int EngineRun::run(const Import& import) const {
    try {
        TemporaryFolder folder;
        const std::string blastDatabase = folder.path() + "/db";
        NorvSearch::EngineCommand engine = command(m_query, blastDatabase, "");
        NorvSearch::SearchFormat format = NorvSearch::SearchFormat::BlastXml;
        if (engine.database == NorvSearch::EngineCommand::Database::FastaFile) {
            engine = command(m_query, m_database, "");  // FASTA36 reads the library itself
            format = NorvSearch::SearchFormat::FastaTab;
        } else {
            installed(engine);  // before a database is built for nothing
            const bool protein = engine.database == NorvSearch::EngineCommand::Database::BlastProtein;
            NorvSearch::EngineCommand makeDatabase;
            makeDatabase.program = "makeblastdb";
            makeDatabase.package = engine.package;
            makeDatabase.arguments = {"-in", m_database, "-dbtype", protein ? "prot" : "nucl", "-out", blastDatabase};
            runEngine(makeDatabase, folder.path() + "/makeblastdb.out", folder.path());
        }
        engine.addReadableOutput();
        const std::string output = folder.path() + "/out";
        runEngine(engine, output, folder.path());
        return import(output, format);
    } catch (const std::runtime_error& problem) {
        std::cerr << "norvext-search: " << problem.what() << '\n';
        return 1;
    }
}
