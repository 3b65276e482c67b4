#include <norvext/search/EngineCommand.h>

#include <norvext/search/SearchProgram.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace NorvSearch {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The shortest text that reads back as `value`: 10.0 prints as "10".
std::string number(double value) {
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

template <typename Integer>
void addIfSet(std::vector<std::string>& arguments, const char* option, Integer value) {
    if (value != 0) {
        arguments.insert(arguments.end(), {option, std::to_string(value)});
    }
}

void addIfSet(std::vector<std::string>& arguments, const char* option, double value) {
    if (value != 0) {
        arguments.insert(arguments.end(), {option, number(value)});
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

EngineCommand EngineCommand::makeDatabase(Database kind, const std::string& fasta, const std::string& name) {
    if (kind == Database::FastaFile) {
        throw std::invalid_argument("makeblastdb makes BLAST databases, not FASTA files");
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
        } else {
            addOptions({"-m", found->blastBtop ? "8CB" : "8C"});
        }
    }
}

void EngineCommand::addThreads(unsigned threads) {
    if (const SearchProgram* found = findProgram(program)) {
        addOptions({found->engine == SearchProgram::Engine::Blast ? "-num_threads" : "-T", std::to_string(threads)});
    }
}

void EngineCommand::addOptions(const std::vector<std::string>& options) {
    arguments.insert(arguments.begin(), options.begin(), options.end());
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
