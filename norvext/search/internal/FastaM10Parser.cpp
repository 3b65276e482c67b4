#include "FastaM10Parser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>
#include <norvext/search/SearchProgram.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <unordered_set>

namespace NorvSearch {
namespace internal {
namespace {

constexpr auto npos = std::string_view::npos;

// The FASTA36 program that `word` names ("FASTX", "fasta36"); null for any
// other word.
const SearchProgram* fastaProgram(std::string_view word) {
    const SearchProgram* program = findProgram(word);
    return program != nullptr && program->engine == SearchProgram::Engine::Fasta ? program : nullptr;
}

// "  2>>>mgstm1 - 15 aa": a query's banner line, numbered; `definition` is
// what follows the ">>>".
bool isQueryLine(std::string_view line, std::string_view& definition) {
    std::size_t at = line.find_first_not_of(' ');
    const std::size_t digits = at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
        ++at;
    }
    if (at == digits || at == npos || line.substr(at, 3) != ">>>") {
        return false;
    }
    definition = line.substr(at + 3);
    return true;
}

// "; KEY: VALUE": the key, the value without the blanks around it, and the
// value's place in the line (from 0).
bool splitKey(std::string_view line, std::string_view& key, std::string_view& value, std::size_t& offset) {
    const auto colon = line.find(':');
    if (!startsWith(line, "; ") || colon == npos) {
        return false;
    }
    key = line.substr(2, colon - 2);
    offset = std::min(line.find_first_not_of(" \t", colon + 1), line.size());
    value = trimmed(line.substr(offset));
    return true;
}

// A fraction as printed ("0.256") as a percentage with the same digits
// (25.6), not 0.256 * 100 (25.600000000000001).
double percentOf(std::string_view printed, double fraction) {
    const auto point = printed.find('.');
    const auto decimals = point == npos ? 0 : static_cast<int>(printed.size() - point - 1);
    if (decimals < 2 || decimals > 15 || printed.find_first_of("eE") != npos) {
        return fraction * 100;
    }
    const double scale = std::pow(10.0, decimals);
    return std::round(fraction * scale) / std::pow(10.0, decimals - 2);
}

// One of an alignment's two sequences as shown: its "; key:" lines and its
// letters, the rows joined.
struct Shown {
    unsigned long line = 0;  // of its ">NAME .." line
    unsigned int length = 0;
    // al_start, al_stop, al_display_start; 0 until given.
    unsigned int start = 0, stop = 0, display = 0;
    std::string row;

    void clear() {
        line = 0;
        length = start = stop = display = 0;
        row.clear();
    }
};

// Where the lines of an alignment are: its scores, its query's lines, its
// subject's lines, FASTA's marks of its columns ("; al_cons:").
enum class Part { None, Scores, Query, Subject, Marks };

class Parser {
public:
    Parser(const std::string& source, const std::function<void(QueryResult&&)>& each)
        : m_source(source), m_each(each) {}

    void parse(Input& in) {
        while (in.readLine(m_line)) {
            ++m_lineNumber;
            if (m_inHits) {
                hitsLine(m_line);
            } else {
                headerLine(m_line);
            }
        }
        in.checkStream();
        if (m_inQuery || !m_ended) {
            fail(0, "the output ends before its \">>>///\" line: the file is truncated");
        }
    }

private:
    [[noreturn]] void fail(std::size_t column, const std::string& problem) const {
        throw SearchError(m_source, m_lineNumber, column, problem);
    }
    [[noreturn]] void failAt(unsigned long line, const std::string& problem) const {
        throw SearchError(m_source, line, 0, problem);
    }

    template <class Parse>
    auto parsed(std::string_view text, std::size_t column, Parse parse) const -> decltype(parse(text)) {
        try {
            return parse(text);
        } catch (const std::invalid_argument& problem) {
            fail(column, problem.what());
        }
    }

    // A line outside a query's alignments: the command line, the banner,
    // a query's banner and statistics, its best scores, the closing lines.
    void headerLine(std::string_view text) {
        std::string_view definition;
        if (isQueryLine(text, definition)) {
            startQuery(definition);
        } else if (startsWith(text, ">>>")) {
            marks(text);
        } else if (m_inQuery) {
            if (startsWith(text, "Library:")) {
                // ggsearch36 adds the lengths it took: "lib (range: 19-32)".
                const std::string_view library = text.substr(8);
                m_database.assign(trimmed(library.substr(0, library.find(" (range:"))));
                m_query.database = m_database;
            }
        } else if (startsWith(text, " version ") && !m_banner.empty()) {
            m_version = m_banner + ' ' + std::string(trimmed(text.substr(9)));
        } else {
            // "# fasta36 -q -m 10 ..." and "FASTA searches a protein ...":
            // a run begins (runs may be concatenated).
            const std::string_view line = trimmed(startsWith(text, "#") ? text.substr(1) : text);
            const std::string_view word = line.substr(0, line.find(' '));
            if (const SearchProgram* program = fastaProgram(word)) {
                newRun(program);
                if (text[0] != '#') {
                    m_banner.assign(word);
                }
            }
        }
    }

    void newRun(const SearchProgram* program) {
        m_sides = Sides{program, {}};
        m_program = program->name;
        m_version.clear();
        m_database.clear();
        m_banner.clear();
        m_ended = false;
    }

    // ">>>mgstm1, 218 aa vs LIBRARY library" (the alignments follow),
    // ">>><<<" (the query ends), ">>>///" (the run ends).
    void marks(std::string_view text) {
        if (startsWith(text, ">>><<<")) {
            if (!m_inQuery) {
                fail(0, "\">>><<<\" ends no query");
            }
            endQuery();
        } else if (startsWith(text, ">>>///")) {
            if (m_inQuery) {
                fail(0, "the run ends before its query's \">>><<<\" line");
            }
            m_ended = true;
        } else if (!m_inQuery) {
            fail(0, "alignments (\">>>\") before their query's \"N>>>\" line");
        } else {
            m_inHits = true;
        }
    }

    void startQuery(std::string_view definition) {
        if (m_inQuery) {
            fail(0, "a query begins before the last one's \">>><<<\" line");
        }
        m_query = QueryResult();
        m_query.program = m_program;
        m_query.version = m_version;
        m_query.database = m_database;
        m_query.alignments.reserve(m_lastAlignments);
        m_inQuery = true;
        m_ended = false;
        m_subject.clear();
        m_subjects.clear();
        definition = trimmed(definition);
        bool nucleotides = false;
        if (splitFastaLength(definition, definition, m_query.length, nucleotides)) {
            m_sides.either = nucleotides ? Molecule::Nucleotide : Molecule::Protein;
        }
        splitFirstWord(trimmed(definition), m_query.id, m_query.description);
    }

    void endQuery() {
        finishAlignment();
        m_inQuery = m_inHits = false;
        m_part = Part::None;
        m_lastAlignments = m_query.alignments.size();
        m_each(std::move(m_query));
        m_query = QueryResult();
    }

    // A line among a query's alignments.
    void hitsLine(std::string_view text) {
        std::string_view definition;
        if (text.empty()) {
            return;
        }
        if (text[0] == '>') {
            marker(text);
        } else if (text[0] == ';') {
            keyLine(text);
        } else if (m_part == Part::Query || m_part == Part::Subject) {
            m_shown[m_part == Part::Query ? 0 : 1].row.append(text);
        } else if (m_part == Part::Marks) {
            m_marks.append(text);
        } else if (isQueryLine(text, definition)) {
            fail(0, "a query begins before the last one's \">>><<<\" line");
        }
    }

    // ">>SUBJECT TITLE" (a subject's first alignment), ">--" (its next),
    // ">NAME .." (the query's, then the subject's sequence).
    void marker(std::string_view text) {
        if (startsWith(text, ">>>")) {
            marks(text);
        } else if (startsWith(text, ">>")) {
            finishAlignment();
            std::string_view id, title;
            splitFirstWord(trimmed(text.substr(2)), id, title);
            if (id.empty()) {
                fail(3, "a subject without an id");
            }
            m_subject.assign(id);
            m_title.assign(trimmed(title));
            m_subjectMet = false;
            startAlignment();
        } else if (startsWith(text, ">--")) {
            finishAlignment();
            if (m_subject.empty()) {
                fail(0, "an alignment (\">--\") before its subject's (\">>\")");
            }
            startAlignment();
        } else if (m_part == Part::Scores || m_part == Part::Query) {
            m_part = m_part == Part::Scores ? Part::Query : Part::Subject;
            m_shown[m_part == Part::Query ? 0 : 1].line = m_lineNumber;
        } else {
            fail(1, "a sequence (\">NAME\") where an alignment has none");
        }
    }

    void startAlignment() {
        m_open = true;
        m_alignmentLine = m_lineNumber;
        m_part = Part::Scores;
        m_score.reset();
        m_eValue.reset();
        m_bitScore.reset();
        m_overlap.reset();
        m_percent.reset();
        m_frame = 0;
        m_shown[0].clear();
        m_shown[1].clear();
        m_marks.clear();
    }

    void keyLine(std::string_view text) {
        std::string_view key, value;
        std::size_t offset = 0;
        if (!splitKey(text, key, value, offset)) {
            return;
        }
        const std::size_t column = offset + 1;
        if (key == "al_cons") {
            if (m_part != Part::Subject) {
                fail(0, "\"; al_cons:\" before the alignment's two sequences");
            }
            m_part = Part::Marks;
        } else if (m_part == Part::Scores) {
            scoreKey(key, value, column);
        } else if (m_part == Part::Query || m_part == Part::Subject) {
            shownKey(m_shown[m_part == Part::Query ? 0 : 1], key, value, column);
        } else if (m_part == Part::None && key == "pg_name" && m_sides.program == nullptr) {
            // Output without its banner names its program here only.
            if (const SearchProgram* program = fastaProgram(value)) {
                m_sides.program = program;
                m_query.program = m_program = program->name;
            }
        }
    }

    // "; fa_expect: 0.16": the prefix names the program's algorithm (fa_,
    // sw_, fx_, tfx_, gnw_, ...); the raw score is the "opt" one
    // (fa_opt, sw_s-w opt, gnw_n-w opt), which E() is computed from.
    void scoreKey(std::string_view key, std::string_view value, std::size_t column) {
        const std::string_view name = key.substr(key.find('_') + 1);
        if (name == "frame") {
            if (value != "f" && value != "r") {
                fail(column, "'" + std::string(value.substr(0, 40)) + "' is not a frame: f or r");
            }
            m_frame = value[0];
        } else if (name == "expect") {
            m_eValue = parsed(value, column, parseReal);
        } else if (name == "bits") {
            m_bitScore = parsed(value, column, parseReal);
        } else if (name.size() >= 3 && name.substr(name.size() - 3) == "opt") {
            m_score = parsed(value, column, parseInt);
        } else if (name == "ident") {
            m_percent = percentOf(value, parsed(value, column, parseReal));
        } else if (name == "overlap") {
            m_overlap = parsed(value, column, parseCount);
        }
    }

    void shownKey(Shown& shown, std::string_view key, std::string_view value, std::size_t column) const {
        if (key == "sq_len") {
            shown.length = parsed(value, column, parsePosition);
        } else if (key == "al_start") {
            shown.start = parsed(value, column, parsePosition);
        } else if (key == "al_stop") {
            shown.stop = parsed(value, column, parsePosition);
        } else if (key == "al_display_start") {
            shown.display = parsed(value, column, parsePosition);
        }
    }

    int stepOf(int side) const {
        return (side == 0 ? m_sides.query() : m_sides.subject()) == Molecule::Translated ? 3 : 1;
    }

    // The positions a side's letters cover past its al_stop: FASTY and
    // TFASTY print a translated side's range without its last codon (as
    // their -m 8 does), which the record keeps as printed.
    int pastStop(int side) const {
        const std::string_view name = m_sides.program == nullptr ? "" : m_sides.program->name;
        return stepOf(side) == 3 && (name == "fasty" || name == "tfasty") ? 3 : 0;
    }

    // The columns [from, to) of the two rows that hold the alignment. Each
    // row shows first its context (FASTA's -W letters before the aligned
    // part, from al_display_start), padded with '-' in front to line up with
    // the other's; the aligned part ends where both sides have their whole
    // range (a translated side 3 positions a letter, '/' one back, '\' one
    // on), and the context after it is not lined up.
    void alignedColumns(std::size_t& from, std::size_t& to) const {
        std::size_t context[2];
        for (int side = 0; side < 2; ++side) {
            const Shown& shown = m_shown[side];
            const char* const name = side == 0 ? "the query" : "the subject";
            if (shown.start == 0 || shown.stop == 0 || shown.display == 0) {
                failAt(shown.line, std::string(name) + " has no \"; al_start:\", \"; al_stop:\" or "
                                                       "\"; al_display_start:\" line");
            }
            const bool down = shown.start > shown.stop;
            const long before = down ? static_cast<long>(shown.display) - shown.start
                                     : static_cast<long>(shown.start) - shown.display;
            if (before < 0 || before % stepOf(side) != 0) {
                failAt(shown.line, std::string(name) + "'s al_display_start " + std::to_string(shown.display) +
                                       " is not a letter before its al_start " + std::to_string(shown.start));
            }
            context[side] = static_cast<std::size_t>(before / stepOf(side));
        }
        from = std::max(context[0], context[1]);
        for (int side = 0; side < 2; ++side) {
            const std::string& row = m_shown[side].row;
            const std::size_t pads = from - context[side];
            if (row.size() < from || row.find_first_not_of('-') < pads ||
                row.find_first_of("-/\\", pads) < from) {
                failAt(m_shown[side].line, std::string(side == 0 ? "the query" : "the subject") +
                                               "'s letters do not begin with the context its al_display_start "
                                               "tells");
            }
        }
        long need[2], have[2] = {0, 0};
        for (int side = 0; side < 2; ++side) {
            const Shown& shown = m_shown[side];
            need[side] = static_cast<long>(std::max(shown.start, shown.stop) - std::min(shown.start, shown.stop)) + 1 +
                         pastStop(side);
        }
        std::size_t at = from;
        while (have[0] < need[0] || have[1] < need[1]) {
            for (int side = 0; side < 2; ++side) {
                const std::string& row = m_shown[side].row;
                if (at >= row.size()) {
                    failAt(m_shown[side].line, std::string(side == 0 ? "the query" : "the subject") +
                                                   "'s letters end before its al_stop " +
                                                   std::to_string(m_shown[side].stop));
                }
                const char c = row[at];
                have[side] += c == '-' ? 0 : c == '/' ? -1 : c == '\\' ? 1 : stepOf(side);
            }
            ++at;
        }
        for (int side = 0; side < 2; ++side) {
            if (have[side] != need[side]) {
                failAt(m_shown[side].line, std::string(side == 0 ? "the query" : "the subject") +
                                               "'s letters run past its al_stop " +
                                               std::to_string(m_shown[side].stop));
            }
        }
        to = at;
    }

    // The alignment read so far, into its query's records.
    void finishAlignment() {
        if (!m_open) {
            return;
        }
        m_open = false;
        if (m_part != Part::Subject && m_part != Part::Marks) {
            failAt(m_alignmentLine, "the alignment lacks its query's or its subject's sequence");
        }
        if (!m_eValue || !m_bitScore) {
            failAt(m_alignmentLine, m_eValue ? "the alignment has no bit score (\"; .._bits:\")"
                                             : "the alignment has no E-value (\"; .._expect:\")");
        }
        std::size_t from = 0, to = 0;
        alignedColumns(from, to);
        const Shown& query = m_shown[0];
        const Shown& subject = m_shown[1];
        Hsp& hsp = m_hsp;
        hsp.subjectSourceID = m_subject;
        hsp.subjectNumber = numberInID(m_subject);
        hsp.score = m_score;
        hsp.eValue = *m_eValue;
        hsp.bitScore = *m_bitScore;
        hsp.queryFrom = query.start;
        hsp.queryTo = query.stop;
        hsp.subjectFrom = subject.start;
        hsp.subjectTo = subject.stop;
        // The frame is the strand of a query FASTA searched both ways; a
        // translated side's frame follows from its range and length.
        hsp.queryFrame = m_frame == 0 || m_sides.query() == Molecule::Translated ? 0 : m_frame == 'r' ? -1 : 1;
        hsp.subjectFrame = 0;
        hsp.queryLength = m_query.length;
        hsp.subjectLength = subject.length == 0 ? std::nullopt : std::optional<unsigned int>(subject.length);
        hsp.queryLetters = std::string_view(query.row).substr(from, to - from);
        hsp.subjectLetters = std::string_view(subject.row).substr(from, to - from);
        if (!m_subjectMet) {
            std::string key = m_subject;
            key += '\n';
            key += std::to_string(hsp.subjectNumber);
            if (m_subjects.insert(std::move(key)).second) {
                m_query.subjects.push_back(makeSubject(hsp, m_title, m_database));
            }
            m_subjectMet = true;
        }
        AlignmentResult& alignment = m_query.alignments.emplace_back();
        alignment.alignmentLength = m_overlap;
        alignment.percentIdentity = m_percent;
        count(alignment, from, to);
        try {
            makeAlignment(hsp, m_sides, alignment);
        } catch (const std::invalid_argument& problem) {
            failAt(m_alignmentLine, problem.what());
        }
    }

    // Gaps from the letters; identities and positives from FASTA's marks
    // of the columns (':' identical, '.' similar), which line up with the
    // rows, context included.
    void count(AlignmentResult& alignment, std::size_t from, std::size_t to) const {
        const std::string& query = m_shown[0].row;
        const std::string& subject = m_shown[1].row;
        unsigned int gaps = 0;
        for (std::size_t i = from; i < to; ++i) {
            gaps += query[i] == '-' || subject[i] == '-';
        }
        alignment.gaps = gaps;
        if (m_part != Part::Marks || m_marks.size() <= from) {
            return;
        }
        unsigned int identities = 0, positives = 0;
        for (std::size_t i = from; i < std::min(to, m_marks.size()); ++i) {
            identities += m_marks[i] == ':';
            positives += m_marks[i] == ':' || m_marks[i] == '.';
        }
        alignment.identities = identities;
        alignment.positives = positives;
    }

    const std::string& m_source;
    const std::function<void(QueryResult&&)>& m_each;
    std::string_view m_line;
    unsigned long m_lineNumber = 0;

    // The run: its program and what its banner says.
    Sides m_sides;
    std::string m_program, m_version, m_database;
    // The banner's first word ("FASTA"), until its " version" line.
    std::string m_banner;
    bool m_ended = false;

    QueryResult m_query;
    bool m_inQuery = false;
    bool m_inHits = false;
    std::size_t m_lastAlignments = 0;
    // The query's subjects as "source id\nnumber"; the subject of the last
    // ">>" line and its title; whether its summary is made.
    std::unordered_set<std::string> m_subjects;
    std::string m_subject, m_title;
    bool m_subjectMet = false;

    // The alignment being read.
    bool m_open = false;
    unsigned long m_alignmentLine = 0;
    Part m_part = Part::None;
    std::optional<int> m_score;
    std::optional<double> m_eValue, m_bitScore, m_percent;
    std::optional<unsigned int> m_overlap;
    char m_frame = 0;
    Shown m_shown[2];
    std::string m_marks;
    Hsp m_hsp;
};

// The signs of -m 10 in `head`: FASTA's banner or a query line, and a key line.
void m10Signs(std::string_view head, bool& banner, bool& keys) {
    banner = keys = false;
    std::string_view previous, definition, key, value;
    std::size_t offset = 0;
    for (std::size_t at = 0; at < head.size() && !(banner && keys);) {
        const std::size_t end = std::min(head.find('\n', at), head.size());
        std::string_view line = head.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (startsWith(line, " version ")) {
            banner = banner || fastaProgram(previous.substr(0, previous.find(' '))) != nullptr;
        } else if (isQueryLine(line, definition)) {
            banner = true;
        } else if (splitKey(line, key, value, offset) && key == "pg_name") {
            keys = keys || fastaProgram(value) != nullptr;
        }
        previous = line;
    }
}

}  // namespace

bool isFastaM10(std::string_view head) {
    bool banner = false, keys = false;
    m10Signs(head, banner, keys);
    return banner && keys;
}

bool hasFastaBanner(std::string_view head) {
    bool banner = false, keys = false;
    m10Signs(head, banner, keys);
    return banner;
}

void parseFastaM10(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    Parser parser(source, each);
    parser.parse(in);
}

}  // namespace internal
}  // namespace NorvSearch
