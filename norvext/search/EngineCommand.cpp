#include <norvext/search/EngineCommand.h>

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

}  // namespace

EngineCommand EngineCommand::blast(const Norv::XBlastParams& params, const std::string& query) {
    const std::string name = lowerCase(params.getProgram());
    const bool blastn = name == "blastn";
    const bool tblastx = name == "tblastx";
    if (!blastn && !tblastx && name != "blastp" && name != "blastx" && name != "tblastn") {
        throw std::invalid_argument("no BLAST+ program for the program field '" + params.getProgram() +
                                    "': BLASTN, BLASTP, BLASTX, TBLASTN or TBLASTX");
    }
    EngineCommand command;
    command.program = name;
    command.package = "ncbi-blast+";
    command.database = blastn || tblastx || name == "tblastn" ? Database::BlastNucleotide : Database::BlastProtein;
    std::vector<std::string>& args = command.arguments;
    // Plain blastn (word 11, gaps 5/2, X-dropoff 30) is what the settings
    // describe; BLAST+ would otherwise run megablast.
    if (blastn) {
        args.insert(args.end(), {"-task", "blastn"});
    }
    addIfSet(args, "-query", query);
    addIfSet(args, "-db", params.getDatabase());
    if (!blastn) {
        addIfSet(args, "-matrix", params.getMatrix());
    }
    if (!tblastx) {  // tblastx aligns without gaps and takes no gap costs
        addIfSet(args, "-gapopen", params.getGapOpen());
        addIfSet(args, "-gapextend", params.getGapExtend());
    }
    addIfSet(args, "-evalue", params.getExpect());
    addIfSet(args, "-word_size", params.getWordSize());
    const bool gapped = params.doGapped() && !tblastx;
    addIfSet(args, gapped ? "-xdrop_gap" : "-xdrop_ungap", params.getXDropoff());
    if (name == "blastx" || tblastx) {
        addIfSet(args, "-query_gencode", params.getGeneticCode());
    }
    if (name == "tblastn" || tblastx) {
        addIfSet(args, "-db_gencode", params.getGeneticCodeDatabase());
    }
    addIfSet(args, "-max_target_seqs", params.getLimit());
    args.insert(args.end(), {blastn ? "-dust" : "-seg", params.useFilter() ? "yes" : "no"});
    if (!gapped && !tblastx) {
        args.emplace_back("-ungapped");
        // Composition-based statistics need gapped alignments: BLAST+
        // refuses an ungapped protein search that keeps them.
        if (!blastn) {
            args.insert(args.end(), {"-comp_based_stats", "0"});
        }
    }
    if (blastn) {
        addIfSet(args, "-reward", params.getNAMatchReward());
        if (params.getNAMismatchPenalty() != 0) {  // a positive amount; BLAST+ wants it negative
            args.insert(args.end(), {"-penalty", "-" + std::to_string(params.getNAMismatchPenalty())});
        }
    }
    return command;
}

EngineCommand EngineCommand::fasta(const Norv::FastAParams& params, const std::string& query) {
    std::string name = lowerCase(params.getAlgorithm());
    if (name.size() > 2 && name.compare(name.size() - 2, 2, "36") == 0) {
        name.erase(name.size() - 2);
    }
    if (name.empty()) {
        name = params.useSmithWaterman() ? "ssearch" : "fasta";
    }
    static const char* const kPrograms[] = {"fasta",  "fastx",  "fasty",   "tfastx",   "tfasty",  "ssearch",
                                            "ggsearch", "glsearch", "lalign", "fasts", "fastf",  "fastm",
                                            "tfasts", "tfastf", "tfastm"};
    if (std::find(std::begin(kPrograms), std::end(kPrograms), name) == std::end(kPrograms)) {
        throw std::invalid_argument("no FASTA36 program for the algorithm '" + params.getAlgorithm() +
                                    "': fasta, ssearch, fastx, fasty, tfastx, tfasty, ggsearch, glsearch, ...");
    }
    if (params.getDatabase().empty()) {
        throw std::invalid_argument("no library for " + name + "36: the database is empty");
    }
    // Heuristic programs: a word size (ktup) and a final Smith-Waterman switch.
    const bool heuristic = name == "fasta" || name == "fastx" || name == "fasty" || name == "tfastx" ||
                           name == "tfasty";
    const bool translating = name == "fastx" || name == "fasty" || name == "tfastx" || name == "tfasty";
    EngineCommand command;
    command.program = name + "36";
    command.package = "fasta3";
    std::vector<std::string>& args = command.arguments;
    addIfSet(args, "-s", fastaMatrix(params.getMatrix()));
    addIfSet(args, "-f", params.getGapCreate());
    addIfSet(args, "-g", params.getGapExt());
    addIfSet(args, "-E", params.getExpect());
    // -b only: -d would add alignments in FASTA's own layout to tabular output.
    addIfSet(args, "-b", params.getLimit());
    if (translating) {
        addIfSet(args, "-j", params.getShiftValue());
        addIfSet(args, "-t", params.getTranslation());
    }
    if (params.useTopStrand()) {
        args.emplace_back("-3");
    }
    if (heuristic && params.useSmithWaterman()) {
        args.emplace_back("-A");
    }
    args.push_back(query.empty() ? "@" : query);
    args.push_back(params.getDatabase());
    if (heuristic && params.getWordSize() != 0) {
        args.push_back(std::to_string(params.getWordSize()));
    }
    return command;
}

void EngineCommand::addReadableOutput() {
    if (database != Database::FastaFile) {
        arguments.insert(arguments.begin(), {"-outfmt", "5"});
    } else {
        const bool reversedBtop = program == "tfastx36" || program == "tfasty36";
        arguments.insert(arguments.begin(), {"-m", reversedBtop ? "8C" : "8CB"});
    }
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
