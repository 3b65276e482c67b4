#include <norvext/search/EngineCommand.h>

#include <norvext/search/SearchProgram.h>

#include "internal/Words.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace NorvSearch {

namespace {

using internal::lowerCase;

template <typename Integer>
void addIfSet(std::vector<std::string>& arguments, const char* option, Integer value) {
    if (value != 0) {
        arguments.insert(arguments.end(), {option, std::to_string(value)});
    }
}

void addIfSet(std::vector<std::string>& arguments, const char* option, double value) {
    if (value != 0) {
        arguments.insert(arguments.end(), {option, internal::shortestNumber(value)});
    }
}

void addIfSet(std::vector<std::string>& arguments, const char* option, const std::string& value) {
    if (!value.empty()) {
        arguments.insert(arguments.end(), {option, value});
    }
}

// FASTA36 knows its matrices by short names and only warns (then scores with
// BL50) on a name it cannot open, so the long names BLAST uses are shortened.
std::string fastaMatrix(const std::string& matrix) {
    const std::string lower = lowerCase(matrix);
    for (const auto& [prefix, shortName] : {std::pair<const char*, const char*>{"blosum", "BL"}, {"pam", "P"}}) {
        const std::string head(prefix);
        if (lower.size() > head.size() && lower.compare(0, head.size(), head) == 0 &&
            std::all_of(lower.begin() + static_cast<long>(head.size()), lower.end(),
                        [](unsigned char c) { return std::isdigit(c) != 0; })) {
            return shortName + matrix.substr(head.size());
        }
    }
    return matrix;
}

// `word` as a POSIX shell reads it back: single-quoted unless it is plain.
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || (c != 0 && std::strchr("_-+=.,/:@%", c) != nullptr);
    });
    if (plain) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? "'\\''" : std::string(1, c);
    }
    return quoted + "'";
}

// The names of the programs of `engine` that `usable` accepts, for a message:
// "a, b, c or d", upper case for BLAST+ as XBlastParams spells them.
template <typename Usable>
std::string programNames(SearchProgram::Engine engine, Usable usable) {
    std::vector<std::string> names;
    for (const SearchProgram& program : searchPrograms()) {
        if (program.engine == engine && usable(program)) {
            std::string name = program.name;
            if (engine == SearchProgram::Engine::Blast) {
                std::transform(name.begin(), name.end(), name.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            }
            names.push_back(name);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    }
    return text;
}

// The Debian package of a fast engine.
const char* fastPackage(FastEngine engine) { return engine == FastEngine::Diamond ? "diamond-aligner" : "mmseqs2"; }

// What a fast engine is asked to write: BLAST tabular columns, each as the
// engine names it and as BLAST's keyword, which the reader knows it by: the
// 12 standard columns in BLAST's order, then the lengths, the raw score and
// what each has of the alignment (DIAMOND's BTOP is BLAST's; MMseqs2 gives
// the aligned letters).
const std::vector<std::pair<const char*, const char*>>& outputColumns(FastEngine engine) {
    static const std::vector<std::pair<const char*, const char*>> s_diamond = {
        {"qseqid", "qseqid"},     {"sseqid", "sseqid"},   {"pident", "pident"}, {"length", "length"},
        {"mismatch", "mismatch"}, {"gapopen", "gapopen"}, {"qstart", "qstart"}, {"qend", "qend"},
        {"sstart", "sstart"},     {"send", "send"},       {"evalue", "evalue"}, {"bitscore", "bitscore"},
        {"qlen", "qlen"},         {"slen", "slen"},       {"score", "score"},   {"nident", "nident"},
        {"positive", "positive"}, {"gaps", "gaps"},       {"qframe", "qframe"}, {"btop", "btop"},
        {"stitle", "stitle"}};
    // MMseqs2's pident is a percentage (its fident the fraction).
    static const std::vector<std::pair<const char*, const char*>> s_mmseqs = {
        {"query", "qseqid"},      {"target", "sseqid"},   {"pident", "pident"}, {"alnlen", "length"},
        {"mismatch", "mismatch"}, {"gapopen", "gapopen"}, {"qstart", "qstart"}, {"qend", "qend"},
        {"tstart", "sstart"},     {"tend", "send"},       {"evalue", "evalue"}, {"bits", "bitscore"},
        {"qlen", "qlen"},         {"tlen", "slen"},       {"raw", "score"},     {"nident", "nident"},
        {"qaln", "qseq"},         {"taln", "sseq"},       {"theader", "stitle"}};
    return engine == FastEngine::Diamond ? s_diamond : s_mmseqs;
}

// Adds to the fast engine's `command` the options of the output that it is
// asked for, and says how the reader reads it: the one place of that choice.
void addFastOutput(FastEngine engine, EngineCommand& command) {
    std::vector<std::string>& args = command.arguments;
    const bool diamond = engine == FastEngine::Diamond;
    args.insert(args.end(), {diamond ? "--outfmt" : "--format-output", diamond ? "6" : ""});
    for (const auto& [spelled, keyword] : outputColumns(engine)) {
        if (diamond) {
            args.emplace_back(spelled);
        } else {
            args.back() += (args.back().empty() ? "" : ",") + std::string(spelled);
        }
        command.fields.emplace_back(keyword);
    }
    command.format = SearchFormat::BlastTab;
}

}  // namespace

EngineCommand EngineCommand::blast(const Norv::XBlastParams& params, const std::string& query) {
    const std::string name = lowerCase(params.getProgram());
    const SearchProgram* found = findProgram(name);
    // XBlastParams describes the programs it has presets for; findProgram
    // would also take a FASTA36-style "blastp36".
    if (found == nullptr || found->engine != SearchProgram::Engine::Blast || found->preset == nullptr ||
        name != found->name) {
        throw std::invalid_argument(
            "no BLAST+ program for the program field '" + params.getProgram() + "': " +
            programNames(SearchProgram::Engine::Blast, [](const SearchProgram& p) { return p.preset != nullptr; }));
    }
    const SearchProgram& program = *found;
    // Nucleotides against nucleotides (blastn): scored by reward and
    // penalty, masked by DUST.
    const bool nucleotides = program.query == Molecule::Nucleotide;
    // Six frames on both sides (tblastx): BLAST+ aligns them without gaps.
    const bool gapless = program.query == Molecule::Translated && program.subject == Molecule::Translated;
    EngineCommand command;
    command.program = program.executable;
    command.package = "ncbi-blast+";
    command.database = program.subject == Molecule::Protein ? Database::BlastProtein : Database::BlastNucleotide;
    std::vector<std::string>& args = command.arguments;
    // Plain blastn (word 11, gaps 5/2, X-dropoff 30) is what the settings
    // describe; BLAST+ would otherwise run megablast.
    if (nucleotides) {
        args.insert(args.end(), {"-task", "blastn"});
    }
    addIfSet(args, "-query", query);
    addIfSet(args, "-db", params.getDatabase());
    if (!nucleotides) {
        addIfSet(args, "-matrix", params.getMatrix());
    }
    if (!gapless) {
        addIfSet(args, "-gapopen", params.getGapOpen());
        addIfSet(args, "-gapextend", params.getGapExtend());
    }
    addIfSet(args, "-evalue", params.getExpect());
    addIfSet(args, "-word_size", params.getWordSize());
    const bool gapped = params.doGapped() && !gapless;
    addIfSet(args, gapped ? "-xdrop_gap" : "-xdrop_ungap", params.getXDropoff());
    if (program.query == Molecule::Translated) {
        addIfSet(args, "-query_gencode", params.getGeneticCode());
    }
    if (program.subject == Molecule::Translated) {
        addIfSet(args, "-db_gencode", params.getGeneticCodeDatabase());
    }
    addIfSet(args, "-max_target_seqs", params.getLimit());
    args.insert(args.end(), {nucleotides ? "-dust" : "-seg", params.useFilter() ? "yes" : "no"});
    if (!gapped && !gapless) {
        args.emplace_back("-ungapped");
        // Composition-based statistics need gapped alignments: BLAST+
        // refuses an ungapped protein search that keeps them.
        if (!nucleotides) {
            args.insert(args.end(), {"-comp_based_stats", "0"});
        }
    }
    if (nucleotides) {
        addIfSet(args, "-reward", params.getNAMatchReward());
        if (params.getNAMismatchPenalty() != 0) {  // a positive amount; BLAST+ wants it negative
            args.insert(args.end(), {"-penalty", "-" + std::to_string(params.getNAMismatchPenalty())});
        }
    }
    return command;
}

EngineCommand EngineCommand::fasta(const Norv::FastAParams& params, const std::string& query, Database library) {
    const std::string& algorithm = params.getAlgorithm();
    const SearchProgram* found =
        findProgram(algorithm.empty() ? (params.useSmithWaterman() ? "ssearch" : "fasta") : algorithm);
    if (found == nullptr || found->engine != SearchProgram::Engine::Fasta) {
        throw std::invalid_argument("no FASTA36 program for the algorithm '" + algorithm + "': " +
                                    programNames(SearchProgram::Engine::Fasta, [](const SearchProgram&) {
                                        return true;
                                    }));
    }
    const SearchProgram& program = *found;
    if (params.getDatabase().empty()) {
        throw std::invalid_argument(std::string("no library for ") + program.executable + ": the database is empty");
    }
    EngineCommand command;
    command.program = program.executable;
    command.package = "fasta3";
    std::vector<std::string>& args = command.arguments;
    addIfSet(args, "-s", fastaMatrix(params.getMatrix()));
    addIfSet(args, "-f", params.getGapCreate());
    addIfSet(args, "-g", params.getGapExt());
    addIfSet(args, "-E", params.getExpect());
    // -b only: -d would add alignments in FASTA's own layout to tabular output.
    addIfSet(args, "-b", params.getLimit());
    if (program.frameshifts) {
        addIfSet(args, "-j", params.getShiftValue());
    }
    if (program.query == Molecule::Translated || program.subject == Molecule::Translated) {
        addIfSet(args, "-t", params.getTranslation());
    }
    if (params.useTopStrand()) {
        args.emplace_back("-3");
    }
    if (program.banded && params.useSmithWaterman()) {
        args.emplace_back("-A");
    }
    args.push_back(query.empty() ? "@" : query);
    args.push_back(library == Database::FastaFile ? params.getDatabase() : params.getDatabase() + " 12");
    if (program.heuristic && params.getWordSize() != 0) {
        args.push_back(std::to_string(params.getWordSize()));
    }
    return command;
}

EngineCommand EngineCommand::fast(FastEngine engine, const Norv::XBlastParams& params, const std::string& query,
                                  const std::string& output, const std::string& temporary) {
    const std::string name = lowerCase(params.getProgram());
    if (name != "blastp" && name != "blastx") {
        throw std::invalid_argument(std::string(fastEngineName(engine)) + " runs BLASTP or BLASTX searches, not '" +
                                    params.getProgram() + "'");
    }
    const bool diamond = engine == FastEngine::Diamond;
    if (!diamond && (output.empty() || temporary.empty())) {
        throw std::invalid_argument("mmseqs needs an output file and a temporary folder");
    }
    EngineCommand command;
    command.program = fastEngineName(engine);
    command.package = fastPackage(engine);
    command.database = diamond ? Database::Diamond : Database::MMseqs;
    command.optionsAt = 1;
    command.outputFile = output;
    std::vector<std::string>& args = command.arguments;
    if (diamond) {
        args.push_back(name);
        addIfSet(args, "--query", query);
        addIfSet(args, "--db", params.getDatabase());
        addIfSet(args, "--out", output);
    } else {
        args.insert(args.end(), {"easy-search", query.empty() ? "stdin" : query, params.getDatabase(), output,
                                 temporary, "--search-type", name == "blastp" ? "1" : "2"});
    }
    addFastOutput(engine, command);
    for (const FastEngineOption& option : fastEngineOptions()) {
        if (option.option(engine) != nullptr) {
            addIfSet(args, option.option(engine), option.value(params, engine));
        }
    }
    return command;
}

EngineCommand EngineCommand::makeDatabase(Database kind, const std::string& fasta, const std::string& name) {
    if (kind == Database::FastaFile) {
        throw std::invalid_argument("no engine makes a database of a FASTA file that is read as it is");
    }
    if (kind == Database::Diamond || kind == Database::MMseqs) {
        const FastEngine engine = kind == Database::Diamond ? FastEngine::Diamond : FastEngine::MMseqs;
        EngineCommand command;
        command.program = fastEngineName(engine);
        command.package = fastPackage(engine);
        command.database = kind;
        command.optionsAt = 1;
        command.arguments = kind == Database::Diamond
                                ? std::vector<std::string>{"makedb", "--in", fasta, "--db", name}
                                : std::vector<std::string>{"createdb", fasta, name};
        return command;
    }
    EngineCommand command;
    command.program = "makeblastdb";
    command.package = "ncbi-blast+";
    command.database = kind;
    command.arguments = {"-in", fasta, "-dbtype", kind == Database::BlastProtein ? "prot" : "nucl", "-out", name};
    return command;
}

void EngineCommand::addReadableOutput() {
    if (const SearchProgram* found = findProgram(program)) {
        if (found->engine == SearchProgram::Engine::Blast) {
            addOptions({"-outfmt", "5"});
            format = SearchFormat::BlastXml;
        } else {
            addOptions({"-m", found->blastBtop ? "8CB" : "8C"});
            format = SearchFormat::FastaTab;
        }
    }
}

void EngineCommand::addThreads(unsigned threads) {
    FastEngine engine;
    if (fastEngineFromName(program, engine)) {
        addOptions({"--threads", std::to_string(threads)});
    } else if (const SearchProgram* found = findProgram(program)) {
        addOptions({found->engine == SearchProgram::Engine::Blast ? "-num_threads" : "-T", std::to_string(threads)});
    }
}

void EngineCommand::addLogFile(const std::string& log) {
    if (program == "makeblastdb") {
        addOptions({"-logfile", log});
    } else if (program == fastEngineName(FastEngine::MMseqs)) {
        addOptions({"-v", "2"});
    }
}

void EngineCommand::addOptions(const std::vector<std::string>& options) {
    const std::size_t at = std::min(optionsAt, arguments.size());
    arguments.insert(arguments.begin() + static_cast<long>(at), options.begin(), options.end());
}

std::string EngineCommand::commandLine() const {
    std::string line = shellWord(program);
    for (const std::string& argument : arguments) {
        line += ' ';
        line += shellWord(argument);
    }
    return line;
}

}  // namespace NorvSearch
