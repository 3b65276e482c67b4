#include "TabularParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>
#include <norvext/search/SearchProgram.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

namespace NorvSearch {
namespace internal {
namespace {

// The columns the reader takes values from.
enum Column {
    QueryID,
    SubjectID,
    SubjectGI,
    QueryStart,
    QueryEnd,
    SubjectStart,
    SubjectEnd,
    EValue,
    BitScore,
    Score,
    Btop,
    QueryLetters,
    SubjectLetters,
    QueryLength,
    SubjectLength,
    SubjectTitle,
    AlignLength,
    PercentIdentity,
    Identities,
    Mismatches,
    Positives,
    GapOpens,
    Gaps,
    Frames,
    QueryFrame,
    SubjectFrame,
    SubjectStrand,
    Cigar,
    QueryHeader,
    SubjectHeader,
    FractionIdentity,
    Ignored,
    kColumns = Ignored
};

// The vocabularies of field keywords: BLAST's, which DIAMOND extends, and
// MMseqs2's, which gives some of BLAST's keywords other meanings (its qseq
// is the whole query).
enum Vocabulary : unsigned { kBlast = 1, kMMseqs = 2, kBoth = kBlast | kMMseqs };

// A field: its keyword (BLAST's -outfmt "6 qseqid ...", MMseqs2's
// --format-output "query,..."), the name that a BLAST "# Fields:" line gives
// it (MMseqs2's header line gives the keyword), the column it fills, and the
// vocabularies that have it. Of several id or title fields, the first listed
// here wins.
struct Field {
    const char* keyword;
    const char* name;
    Column column;
    unsigned vocabulary = kBlast;
};
const Field kFields[] = {
    {"qseqid", "query id", QueryID},
    {"qaccver", "query acc.ver", QueryID},
    {"qacc", "query acc.", QueryID},
    {"qgi", "query gi", Ignored},
    {"qlen", "query length", QueryLength, kBoth},
    {"sseqid", "subject id", SubjectID},
    {"saccver", "subject acc.ver", SubjectID},
    {"sacc", "subject acc.", SubjectID},
    {"sallseqid", "subject ids", SubjectID},
    {"sgi", "subject gi", SubjectGI},
    {"sallgi", "subject gis", Ignored},
    {"sallacc", "subject accs.", Ignored},
    {"slen", "subject length", SubjectLength},
    {"qstart", "q. start", QueryStart, kBoth},
    {"qend", "q. end", QueryEnd, kBoth},
    {"sstart", "s. start", SubjectStart},
    {"send", "s. end", SubjectEnd},
    {"qseq", "query seq", QueryLetters},
    {"sseq", "subject seq", SubjectLetters},
    {"evalue", "evalue", EValue, kBoth},
    {"bitscore", "bit score", BitScore},
    {"score", "score", Score},
    {"length", "alignment length", AlignLength},
    {"pident", "% identity", PercentIdentity, kBoth},
    {"nident", "identical", Identities, kBoth},
    {"mismatch", "mismatches", Mismatches, kBoth},
    {"positive", "positives", Positives},
    {"gapopen", "gap opens", GapOpens, kBoth},
    {"gaps", "gaps", Gaps},
    {"ppos", "% positives", Ignored},
    {"frames", "query/sbjct frames", Frames},
    {"qframe", "query frame", QueryFrame, kBoth},
    {"sframe", "sbjct frame", SubjectFrame},
    {"btop", "BTOP", Btop},
    {"staxid", "subject tax id", Ignored},
    {"ssciname", "subject sci name", Ignored},
    {"scomname", "subject com names", Ignored},
    {"sblastname", "subject blast name", Ignored},
    {"sskingdom", "subject super kingdom", Ignored},
    {"staxids", "subject tax ids", Ignored},
    {"sscinames", "subject sci names", Ignored},
    {"scomnames", "subject com names", Ignored},
    {"sblastnames", "subject blast names", Ignored},
    {"sskingdoms", "subject super kingdoms", Ignored},
    {"stitle", "subject title", SubjectTitle},
    {"salltitles", "subject titles", SubjectTitle},
    {"sstrand", "subject strand", SubjectStrand},
    {"qcovs", "% query coverage per subject", Ignored},
    {"qcovhsp", "% query coverage per hsp", Ignored},
    {"qcovus", "% query coverage per uniq subject", Ignored},
    // DIAMOND's own: its qseq and sseq are the ranges' letters without gaps
    // (below), its gapped rows these.
    {"qseq_gapped", "qseq_gapped", QueryLetters},
    {"sseq_gapped", "sseq_gapped", SubjectLetters},
    {"cigar", "cigar", Cigar, kBoth},
    {"qtitle", "qtitle", QueryHeader},
    {"qstrand", "qstrand", Ignored},  // the range's direction and qframe tell it
    {"full_qseq", "full_qseq", Ignored},
    {"full_sseq", "full_sseq", Ignored},
    {"full_qseq_mate", "full_qseq_mate", Ignored},
    {"qseq_translated", "qseq_translated", Ignored},
    {"qqual", "qqual", Ignored},
    {"full_qqual", "full_qqual", Ignored},
    {"scovhsp", "scovhsp", Ignored},
    {"approx_pident", "approx_pident", Ignored},
    {"corrected_bitscore", "corrected_bitscore", Ignored},
    {"ungapped_score", "ungapped_score", Ignored},
    {"swdiff", "swdiff", Ignored},
    {"time", "time", Ignored},
    {"qnum", "qnum", Ignored},
    {"snum", "snum", Ignored},
    {"hspnum", "hspnum", Ignored},
    {"skingdoms", "skingdoms", Ignored},
    {"sphylums", "sphylums", Ignored},
    {"reduced_match_bitstring", "reduced_match_bitstring", Ignored},
    // MMseqs2's own.
    {"query", "query", QueryID, kMMseqs},
    {"target", "target", SubjectID, kMMseqs},
    {"tstart", "tstart", SubjectStart, kMMseqs},
    {"tend", "tend", SubjectEnd, kMMseqs},
    {"tlen", "tlen", SubjectLength, kMMseqs},
    {"alnlen", "alnlen", AlignLength, kMMseqs},
    {"raw", "raw", Score, kMMseqs},
    {"bits", "bits", BitScore, kMMseqs},
    {"fident", "fident", FractionIdentity, kMMseqs},
    {"qaln", "qaln", QueryLetters, kMMseqs},
    {"taln", "taln", SubjectLetters, kMMseqs},
    {"qheader", "qheader", QueryHeader, kMMseqs},
    {"theader", "theader", SubjectHeader, kMMseqs},
    {"tframe", "tframe", SubjectFrame, kMMseqs},
    {"qseq", "qseq", Ignored, kMMseqs},
    {"tseq", "tseq", Ignored, kMMseqs},
    {"qcov", "qcov", Ignored, kMMseqs},
    {"tcov", "tcov", Ignored, kMMseqs},
    {"qset", "qset", Ignored, kMMseqs},
    {"qsetid", "qsetid", Ignored, kMMseqs},
    {"tset", "tset", Ignored, kMMseqs},
    {"tsetid", "tsetid", Ignored, kMMseqs},
    {"taxid", "taxid", Ignored, kMMseqs},
    {"taxname", "taxname", Ignored, kMMseqs},
    {"taxlineage", "taxlineage", Ignored, kMMseqs},
    {"qorfstart", "qorfstart", Ignored, kMMseqs},
    {"qorfend", "qorfend", Ignored, kMMseqs},
    {"torfstart", "torfstart", Ignored, kMMseqs},
    {"torfend", "torfend", Ignored, kMMseqs},
    {"empty", "empty", Ignored, kMMseqs},
};
const char* const kStandard[] = {"qaccver", "saccver", "pident", "length", "mismatch", "gapopen",
                                 "qstart",  "qend",    "sstart", "send",   "evalue",   "bitscore"};
// MMseqs2's 12 columns without --format-output: its identity is a fraction.
const char* const kMMseqsDefault = "query,target,fident,alnlen,mismatch,gapopen,qstart,qend,tstart,tend,evalue,bits";
// Without these a line cannot be read; every other column may be missing,
// its values then absent.
const Column kRequired[] = {QueryID, SubjectID, EValue, BitScore};
const char* const kRequiredNames[] = {"query id", "subject id", "evalue", "bit score"};
// psiblast -outfmt 6 ends its last round with this line.
const std::string_view kConverged = "Search has CONVERGED!";

const Field* fieldByKeyword(std::string_view keyword, unsigned vocabulary) {
    for (const Field& field : kFields) {
        if ((field.vocabulary & vocabulary) != 0 && keyword == field.keyword) {
            return &field;
        }
    }
    return nullptr;
}

const Field* fieldByName(std::string_view name) {
    for (const Field& field : kFields) {
        if ((field.vocabulary & kBlast) != 0 && name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

// The columns of a line: for each Column, the index of the field that fills
// it (the first such field), or -1.
struct Layout {
    std::size_t count = 0;
    std::array<int, kColumns> index;
    Layout() { index.fill(-1); }
    void add(Column column) {
        if (column != Ignored && index[column] < 0) {
            index[column] = static_cast<int>(count);
        }
        ++count;
    }
    bool has(Column column) const { return index[column] >= 0; }
    // The first required column it lacks, as its name; null when it has all.
    const char* missing() const {
        for (std::size_t i = 0; i < std::size(kRequired); ++i) {
            if (!has(kRequired[i])) {
                return kRequiredNames[i];
            }
        }
        return nullptr;
    }
};

// The keywords of a list, each word split at its commas (MMseqs2 takes
// "query,target,...").
std::vector<std::string_view> splitKeywords(const std::vector<std::string>& words) {
    std::vector<std::string_view> keywords;
    for (const std::string& word : words) {
        for (std::size_t at = 0; at <= word.size();) {
            const std::size_t comma = std::min(word.find(',', at), word.size());
            if (comma > at) {
                keywords.push_back(std::string_view(word).substr(at, comma - at));
            }
            at = comma + 1;
        }
    }
    return keywords;
}

// MMseqs2's when a keyword is its own, not BLAST's; else BLAST's (DIAMOND's).
unsigned vocabularyOf(const std::vector<std::string_view>& keywords) {
    for (const std::string_view keyword : keywords) {
        if (fieldByKeyword(keyword, kBlast) == nullptr && fieldByKeyword(keyword, kMMseqs) != nullptr) {
            return kMMseqs;
        }
    }
    return kBlast;
}

Layout layoutOfKeywords(const std::vector<std::string>& words) {
    const std::vector<std::string_view> keywords = splitKeywords(words);
    const unsigned vocabulary = vocabularyOf(keywords);
    Layout layout;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string_view keyword = keywords[i];
        if (i == 0 && (keyword == "6" || keyword == "7")) {
            continue;  // BLAST's own spelling: "6 std btop"
        }
        if (keyword == "std" && vocabulary == kBlast) {
            for (const char* standard : kStandard) {
                layout.add(fieldByKeyword(standard, kBlast)->column);
            }
            continue;
        }
        const Field* field = fieldByKeyword(keyword, vocabulary);
        if (field == nullptr) {
            throw std::invalid_argument("unknown field '" + std::string(keyword) + "'");
        }
        layout.add(field->column);
    }
    return layout;
}

// The line's tab-separated columns, each without the blanks around it
// (BLAST pads a bit score below 10 with one: "\t 9.6\t"), and where each
// begins.
void splitColumns(std::string_view line, std::vector<std::string_view>& columns, std::vector<std::size_t>& offsets) {
    columns.clear();
    offsets.clear();
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    for (const char* at = begin;;) {
        const auto* tab = static_cast<const char*>(std::memchr(at, '\t', static_cast<std::size_t>(end - at)));
        const char* const stop = tab == nullptr ? end : tab;
        offsets.push_back(static_cast<std::size_t>(at - begin));
        // Built in place from its two halves: pushing a whole view made
        // g++ 12 store it in halves and load it whole, a stall that took
        // 8% of the tabular reader's time.
        const std::string_view column = trimmed(std::string_view(at, static_cast<std::size_t>(stop - at)));
        columns.emplace_back(column.data(), column.size());
        if (tab == nullptr) {
            return;
        }
        at = tab + 1;
    }
}

// A header line of keywords (MMseqs2's --format-mode 4, DIAMOND's --header
// simple): every column a keyword of `vocabulary`, the query or the subject
// id among them. A line of alignment holds numbers, never keywords only.
bool isKeywordHeader(const std::vector<std::string_view>& columns, unsigned vocabulary) {
    // A line with a number is none: a quick test for every line, before
    // the names are looked up.
    if (std::any_of(columns.begin(), columns.end(),
                    [](std::string_view column) { return column.empty() || (column[0] >= '0' && column[0] <= '9'); })) {
        return false;
    }
    bool named = false;
    for (const std::string_view column : columns) {
        const Field* field = fieldByKeyword(column, vocabulary);
        if (field == nullptr) {
            return false;
        }
        named = named || field->column == QueryID || field->column == SubjectID;
    }
    return named;
}

// Whether `text` is `digits` decimal digits.
bool isDigits(std::string_view text, std::size_t digits) {
    return text.size() == digits && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// MMseqs2's 12 default columns: an identity fraction as "0.779" and an
// E-value as C's "%.3E" ("1.320E-122"); BLAST and DIAMOND print neither (an
// identity in percent, a lower-case e).
bool isMMseqsDefaultLine(const std::vector<std::string_view>& columns) {
    if (columns.size() != 12) {
        return false;
    }
    const std::string_view identity = columns[2], eValue = columns[10];
    const auto e = eValue.find('E');
    return identity.size() == 5 && (identity[0] == '0' || identity[0] == '1') && identity[1] == '.' &&
           isDigits(identity.substr(2), 3) && e == 5 && isDigits(eValue.substr(0, 1), 1) && eValue[1] == '.' &&
           isDigits(eValue.substr(2, 3), 3) && eValue.size() >= 8 && (eValue[6] == '+' || eValue[6] == '-') &&
           isDigits(eValue.substr(7), eValue.size() - 7);
}

// "1/-2": the frames of both sides.
bool splitFrames(std::string_view text, std::string_view& query, std::string_view& subject) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) {
        return false;
    }
    query = text.substr(0, slash);
    subject = text.substr(slash + 1);
    return true;
}

// Whether two alignments are of one subject.
bool sameSubject(const AlignmentResult& a, const AlignmentResult& b) {
    return a.record.getSubjectID() == b.record.getSubjectID() &&
           a.record.getSubjectSourceID() == b.record.getSubjectSourceID();
}

// The engine's order of merit: smaller E-value first, then larger bit score.
bool betterMerit(const AlignmentResult& a, const AlignmentResult& b) {
    const Norv::SeqAlign& x = a.record;
    const Norv::SeqAlign& y = b.record;
    return x.getEValue() < y.getEValue() || (x.getEValue() == y.getEValue() && x.getBitScore() > y.getBitScore());
}

// Where the output has no raw score, each hit's alignments are put in the
// engine's order of merit, so that the first of equal scores, the best, is
// the engine's best. The hits keep their places: only a subject's own
// positions are reordered. `together`: each subject's alignments follow
// one another (BLAST lists them so), and each such run is ordered in place,
// mostly found ordered already.
void rankWithoutScores(std::vector<AlignmentResult>& alignments, bool together) {
    if (together) {
        for (auto begin = alignments.begin(); begin != alignments.end();) {
            auto end = std::find_if_not(begin + 1, alignments.end(),
                                        [&begin](const AlignmentResult& a) { return sameSubject(*begin, a); });
            if (!std::is_sorted(begin, end, betterMerit)) {
                std::stable_sort(begin, end, betterMerit);
            }
            begin = end;
        }
        return;
    }
    std::vector<std::size_t> order(alignments.size());
    std::iota(order.begin(), order.end(), 0);
    // Positions grouped by subject, each group in file order.
    std::stable_sort(order.begin(), order.end(), [&alignments](std::size_t a, std::size_t b) {
        return alignments[a].record.getSubjectSourceID() < alignments[b].record.getSubjectSourceID() ||
               (alignments[a].record.getSubjectSourceID() == alignments[b].record.getSubjectSourceID() &&
                alignments[a].record.getSubjectID() < alignments[b].record.getSubjectID());
    });
    std::vector<AlignmentResult> ranked(alignments.size());
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin + 1;
        while (end < order.size() && sameSubject(alignments[order[begin]], alignments[order[end]])) {
            ++end;
        }
        std::vector<std::size_t> merit(order.begin() + static_cast<std::ptrdiff_t>(begin),
                                       order.begin() + static_cast<std::ptrdiff_t>(end));
        std::stable_sort(merit.begin(), merit.end(),
                         [&alignments](std::size_t a, std::size_t b) { return betterMerit(alignments[a], alignments[b]); });
        // The group's places, in file order, take its alignments by merit.
        for (std::size_t i = begin; i < end; ++i) {
            ranked[order[i]] = std::move(alignments[merit[i - begin]]);
        }
        begin = end;
    }
    alignments = std::move(ranked);
}

class Parser {
public:
    Parser(Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
           const std::function<void(QueryResult&&)>& each)
        : m_dialect(dialect), m_source(source), m_each(each), m_given(!fields.empty()) {
        const char* const standard = dialect == Dialect::MMseqs ? kMMseqsDefault : "std";
        m_layout = layoutOfKeywords(fields.empty() ? std::vector<std::string>{standard} : fields);
    }

    void parse(Input& in) {
        while (in.readLine(m_line)) {
            ++m_lineNumber;
            if (!in.lineEnded()) {
                fail(0, "the last line has no line end: the file is truncated");
            }
            if (trimmed(m_line).empty() || m_line == kConverged) {
                continue;
            }
            if (m_line[0] == '#') {
                comment(std::string_view(m_line).substr(1));
            } else {
                row();
            }
        }
        in.checkStream();
        if (m_commented && !m_processed) {
            fail(0, "the output ends before its \"processed ... queries\" line: the file is truncated");
        }
        endQuery();
    }

private:
    [[noreturn]] void fail(std::size_t column, const std::string& problem) const {
        throw SearchError(m_source, m_lineNumber, column, problem);
    }

    void comment(std::string_view text) {
        text = trimmed(text);
        m_commented = true;
        if (startsWith(text, "Query:")) {
            endQuery();
            startQuery(trimmed(text.substr(6)));
        } else if (startsWith(text, "Iteration:")) {
            endQuery();
            m_round = parsed(trimmed(text.substr(10)), 3, parsePosition);
        } else if (startsWith(text, "Database:")) {
            // BLAST names the database after the query.
            m_database.assign(trimmed(text.substr(9)));
            m_query.database = m_database;
        } else if (startsWith(text, "Fields:")) {
            fieldsLine(text.substr(7));
        } else if (text.find(" processed ") != std::string_view::npos) {
            endQuery();
            m_processed = true;
            m_round = 0;
        } else {
            program(text);
        }
    }

    template <class Parse>
    auto parsed(std::string_view text, std::size_t column, Parse parse) const -> decltype(parse(text)) {
        try {
            return parse(text);
        } catch (const std::invalid_argument& problem) {
            fail(column, problem.what());
        }
    }

    // "# BLASTX 2.12.0+", "# FASTX 36.3.8i Nov, 2022" (a run begins: after
    // the "processed" line of another, as split runs are concatenated), or
    // FASTA's "# fastx36 -m 8CB ..." command line.
    void program(std::string_view text) {
        const std::string_view name = text.substr(0, text.find(' '));
        const SearchProgram* program = findProgram(name);
        if (program == nullptr) {
            return;  // a comment of no meaning here
        }
        m_processed = false;
        m_database.clear();
        m_sides = Sides{program, {}};
        m_program = program->name;
        const std::string_view rest = trimmed(text.substr(name.size()));
        if (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') {
            m_version.assign(text);
        }
    }

    void fieldsLine(std::string_view list) {
        // FASTA's line names columns that its lines do not hold; its lines
        // are the standard 12 and BTOP.
        if (m_dialect == Dialect::Fasta || m_given || list == m_fieldsLine) {
            return;  // BLAST repeats the line for every query
        }
        Layout layout;
        std::size_t at = 0;
        while (at <= list.size()) {
            const std::size_t comma = std::min(list.find(',', at), list.size());
            const std::string_view name = trimmed(list.substr(at, comma - at));
            const Field* field = fieldByName(name);
            layout.add(field == nullptr ? Ignored : field->column);
            at = comma + 1;
        }
        if (const char* missing = layout.missing()) {
            fail(0, std::string("the fields have no \"") + missing + "\" column");
        }
        m_layout = layout;
        m_fieldsLine.assign(list);
    }

    void startQuery(std::string_view definition) {
        newQuery();
        m_queryFromComment = true;
        bool nucleotides = false;
        if (m_dialect == Dialect::Fasta && splitFastaLength(definition, definition, m_query.length, nucleotides)) {
            m_sides.either = nucleotides ? Molecule::Nucleotide : Molecule::Protein;
        }
        splitFirstWord(trimmed(definition), m_query.id, m_query.description);
    }

    void newQuery() {
        m_query = QueryResult();
        m_query.round = m_round;
        m_query.program = m_program;
        m_query.version = m_version;
        m_query.database = m_database;
        m_inQuery = true;
        m_queryFromComment = false;
        m_rows = 0;
        m_subjects.clear();
        m_lastSubjectID.clear();
        m_subjectsTogether = true;
        // Queries of one output are alike: room for as many as the last
        // saves growing the vector row by row.
        m_query.alignments.reserve(m_lastAlignments);
    }

    void endQuery() {
        if (!m_inQuery) {
            return;
        }
        m_inQuery = false;
        if (!m_layout.has(Score)) {
            rankWithoutScores(m_query.alignments, m_subjectsTogether);
        }
        m_lastAlignments = m_query.alignments.size();
        m_each(std::move(m_query));
        m_query = QueryResult();
    }

    void row() {
        split();
        if (m_dialect != Dialect::Fasta && isKeywordHeader(m_columns, m_dialect == Dialect::MMseqs ? kMMseqs : kBlast)) {
            if (!m_given) {
                std::vector<std::string> names(m_columns.begin(), m_columns.end());
                m_layout = layoutOfKeywords(names);
            }
            return;  // concatenated runs each begin with one
        }
        if (m_dialect == Dialect::Fasta && !m_given && m_columns.size() == 13 && m_layout.count == 12) {
            m_layout.add(Btop);
        }
        if (m_columns.size() != m_layout.count) {
            const std::size_t at = std::min(m_columns.size(), m_layout.count);
            fail(at < m_columns.size() ? m_offsets[at] + 1 : m_line.size() + 1,
                 std::to_string(m_columns.size()) + " columns where the fields name " +
                     std::to_string(m_layout.count));
        }
        if (const char* missing = m_layout.missing()) {
            fail(0, std::string("the fields have no \"") + missing + "\" column");
        }
        const std::string_view queryID = value(QueryID);
        if (!m_inQuery) {
            newQuery();
        }
        if (m_rows == 0) {
            if (m_queryFromComment && queryID != m_query.id) {
                // The id column wins over the comment's first word.
                m_query.id.assign(queryID);
            } else if (!m_queryFromComment) {
                m_query.id.assign(queryID);
            }
        } else if (!m_queryFromComment && queryID != m_query.id) {
            endQuery();
            newQuery();
            m_query.id.assign(queryID);
        }
        takeRow();
        ++m_rows;
    }

    void split() { splitColumns(m_line, m_columns, m_offsets); }

    // The column's text, trimmed; empty when the line has no such column.
    std::string_view value(Column column) const {
        const int index = m_layout.index[column];
        return index < 0 ? std::string_view() : m_columns[static_cast<std::size_t>(index)];
    }
    std::size_t columnOf(Column column) const {
        return m_offsets[static_cast<std::size_t>(m_layout.index[column])] + 1;
    }

    // Runs `parse` on the value of `column`, naming the column on failure.
    template <class Parse>
    auto parsed(Column column, Parse parse) const -> decltype(parse(std::string_view())) {
        return parsed(value(column), columnOf(column), parse);
    }
    // `into` set to the value of `column` read by `parse`, or to T() (0,
    // none) when the line has no such column or BLAST prints "N/A" there.
    // Set in place: an std::optional returned from a call was written to
    // the stack a part at a time and read back whole, a stall on every
    // call that took 20% of the row's time.
    template <class T, class Parse>
    void take(Column column, Parse parse, T& into) const {
        const std::string_view text = value(column);
        into = m_layout.has(column) && text != "N/A" ? T(parsed(text, columnOf(column), parse)) : T();
    }

    void takeRow() {
        Hsp& hsp = m_hsp;
        take(QueryStart, parsePosition, hsp.queryFrom);
        take(QueryEnd, parsePosition, hsp.queryTo);
        take(SubjectStart, parsePosition, hsp.subjectFrom);
        take(SubjectEnd, parsePosition, hsp.subjectTo);
        if ((hsp.queryFrom == 0) != (hsp.queryTo == 0)) {
            hsp.queryFrom = hsp.queryTo = 0;  // half a range is none
        }
        if ((hsp.subjectFrom == 0) != (hsp.subjectTo == 0)) {
            hsp.subjectFrom = hsp.subjectTo = 0;
        }
        hsp.eValue = parsed(EValue, [](std::string_view v) { return parseReal(v); });
        hsp.bitScore = parsed(BitScore, [](std::string_view v) { return parseReal(v); });
        take(Score, parseInt, hsp.score);
        subject(hsp);  // after the scores and ranges, which may tell a new round
        if (m_query.length == 0) {
            take(QueryLength, parsePosition, m_query.length);
        }
        hsp.queryLength = m_query.length;
        frames(hsp);
        AlignmentResult& alignment = m_query.alignments.emplace_back();
        take(AlignLength, parseCount, alignment.alignmentLength);
        take(Identities, parseCount, alignment.identities);
        take(Mismatches, parseCount, alignment.mismatches);
        take(Positives, parseCount, alignment.positives);
        take(GapOpens, parseCount, alignment.gapOpens);
        take(Gaps, parseCount, alignment.gaps);
        take(SubjectLength, parsePosition, hsp.subjectLength);
        hsp.btop = value(Btop);
        hsp.queryLetters = value(QueryLetters);
        hsp.subjectLetters = value(SubjectLetters);
        hsp.cigar = value(Cigar);
        passOverRangeLetters(hsp);
        take(PercentIdentity, parseReal, alignment.percentIdentity);
        if (!m_layout.has(PercentIdentity) && m_layout.has(FractionIdentity)) {
            take(FractionIdentity, parseReal, alignment.percentIdentity);
            if (alignment.percentIdentity) {
                *alignment.percentIdentity *= 100;
            }
        }
        if (m_layout.has(QueryHeader) && m_query.description.empty()) {
            std::string_view word, description;
            splitFirstWord(value(QueryHeader), word, description);
            m_query.description.assign(description);
        }
        try {
            makeAlignment(hsp, m_sides, alignment);
        } catch (const std::invalid_argument& problem) {
            const Column at = m_layout.has(Btop)                                     ? Btop
                              : m_layout.has(QueryLetters) || !m_layout.has(Cigar) ? QueryLetters
                                                                                     : Cigar;
            fail(m_layout.has(at) ? columnOf(at) : 0, problem.what());
        }
    }

    // DIAMOND's qseq and sseq are the letters of the two ranges without
    // gaps (blastx's query in nucleotides), not alignment rows: without a
    // gap, rows of different lengths that each fill their range are
    // these, and passed over (rows of one length read as they are).
    static void passOverRangeLetters(Hsp& hsp) {
        const std::string_view query = hsp.queryLetters, subject = hsp.subjectLetters;
        const auto spans = [](std::string_view letters, unsigned int from, unsigned int to) {
            return from != 0 && letters.size() == (from > to ? from - to : to - from) + 1UL &&
                   letters.find('-') == std::string_view::npos;
        };
        if (query.size() != subject.size() && spans(query, hsp.queryFrom, hsp.queryTo) &&
            spans(subject, hsp.subjectFrom, hsp.subjectTo)) {
            hsp.queryLetters = hsp.subjectLetters = std::string_view();
        }
    }

    // The subject's ids and title; a new summary for a subject not met before
    // in this query. A subject met again after others starts a new round of
    // an iterated search (psiblast -outfmt 6 separates its rounds no other
    // way): BLAST lists a subject's alignments together.
    void subject(Hsp& hsp) {
        const std::string_view rawID = value(SubjectID);
        std::string_view titles = value(SubjectTitle);
        titles = titles.substr(0, titles.find("<>"));  // salltitles: the first title
        std::string_view sourceID, title;
        if (!m_layout.has(SubjectTitle) && m_layout.has(SubjectHeader)) {
            // MMseqs2's theader is the whole definition line; its id column
            // may be a part of the first word ("P09488" of "sp|P09488|...").
            std::string_view word;
            splitFirstWord(value(SubjectHeader), word, title);
            sourceID = rawID;
        } else if (isOrdinalID(rawID) && !titles.empty()) {
            splitFirstWord(titles, sourceID, title);
        } else {
            sourceID = rawID.substr(0, rawID.find(';'));
            title = titles;
            // A database without parsed ids: the title begins with the id.
            if (title.size() > sourceID.size() && startsWith(title, sourceID) && title[sourceID.size()] == ' ') {
                title.remove_prefix(sourceID.size() + 1);
            }
        }
        if (sourceID.empty()) {
            fail(columnOf(SubjectID), "an empty subject id");
        }
        hsp.subjectSourceID.assign(sourceID);
        hsp.subjectNumber = numberInID(rawID);
        const std::string_view gi = value(SubjectGI);
        if (m_layout.has(SubjectGI) && gi != "N/A" && gi != "0") {
            hsp.subjectNumber = parsed(SubjectGI, [](std::string_view v) { return parsePosition(v); });
        }
        // Rounds with comments have their own; FASTA and MMseqs2 print none.
        const bool iterable = !m_queryFromComment && m_dialect == Dialect::Blast;
        if (hsp.subjectSourceID == m_lastSubjectID && hsp.subjectNumber == m_lastSubjectNumber &&
            !(iterable && startsOver(hsp))) {
            return;  // the same subject as the row before
        }
        std::string key = hsp.subjectSourceID;
        key += '\n';
        key += std::to_string(hsp.subjectNumber);
        bool isNew = m_subjects.insert(key).second;
        // A subject met again starts the next round, but where rounds have
        // comments of their own, and in FASTA output, which has no rounds,
        // it is only apart from its other alignments.
        if (!isNew && iterable) {
            nextRound();
            m_subjects.insert(key);
            isNew = true;
        }
        if (isNew) {
            m_query.subjects.push_back(makeSubject(hsp, title, m_database));
        } else {
            m_subjectsTogether = false;
        }
        m_lastSubjectID = hsp.subjectSourceID;
        m_lastSubjectNumber = hsp.subjectNumber;
    }

    // Whether the row, of the subject of the rows just before, begins a new
    // round of an iterated search: BLAST lists a subject's alignments by
    // E-value, smallest first, so a smaller one, or an alignment met again
    // with the same ranges on the same strands, starts the list anew.
    bool startsOver(const Hsp& hsp) const {
        for (auto it = m_query.alignments.rbegin(); it != m_query.alignments.rend(); ++it) {
            const Norv::SeqAlign& record = it->record;
            if (record.getSubjectSourceID() != hsp.subjectSourceID || record.getSubjectID() != hsp.subjectNumber) {
                break;
            }
            if (it == m_query.alignments.rbegin() && hsp.eValue < record.getEValue()) {
                return true;
            }
            // The same positions on the other strand (tblastx) are another alignment.
            if ((it->queryStrand < 0) == (hsp.queryFrom > hsp.queryTo) &&
                (it->subjectStrand < 0) == (hsp.subjectFrom > hsp.subjectTo) &&
                record.getQueryRange().start == std::min(hsp.queryFrom, hsp.queryTo) &&
                record.getQueryRange().end == std::max(hsp.queryFrom, hsp.queryTo) &&
                record.getSubjectRange().start == std::min(hsp.subjectFrom, hsp.subjectTo) &&
                record.getSubjectRange().end == std::max(hsp.subjectFrom, hsp.subjectTo)) {
                return true;
            }
        }
        return false;
    }

    void nextRound() {
        const unsigned int round = m_query.round == 0 ? 1 : m_query.round;
        const std::string id = m_query.id;
        m_query.round = round;
        endQuery();
        m_round = round + 1;
        newQuery();
        m_round = 0;
        m_query.id = id;
        m_rows = 1;  // the row being read belongs to this query
    }

    void frames(Hsp& hsp) const {
        std::string_view query = value(QueryFrame), subject = value(SubjectFrame);
        if (m_layout.has(Frames) && !splitFrames(value(Frames), query, subject)) {
            fail(columnOf(Frames), "'" + std::string(value(Frames)) + "' is not two frames");
        }
        const auto frame = [this](std::string_view text, Column column) {
            return text.empty() || text == "N/A" ? 0 : parsed(text, columnOf(column), parseInt);
        };
        hsp.queryFrame = frame(query, m_layout.has(Frames) ? Frames : QueryFrame);
        hsp.subjectFrame = frame(subject, m_layout.has(Frames) ? Frames : SubjectFrame);
        const std::string_view strand = value(SubjectStrand);
        if (hsp.subjectFrame == 0 && (strand == "plus" || strand == "minus")) {
            hsp.subjectFrame = strand == "plus" ? 1 : -1;
        }
    }

    Dialect m_dialect;
    const std::string& m_source;
    const std::function<void(QueryResult&&)>& m_each;
    bool m_given;
    Layout m_layout;
    // The "# Fields:" list that m_layout was made of.
    std::string m_fieldsLine;

    std::string_view m_line;
    unsigned long m_lineNumber = 0;
    std::vector<std::string_view> m_columns;
    std::vector<std::size_t> m_offsets;

    bool m_commented = false;
    bool m_processed = false;
    Sides m_sides;
    std::string m_program, m_version, m_database;
    unsigned int m_round = 0;

    QueryResult m_query;
    bool m_inQuery = false;
    bool m_queryFromComment = false;
    long m_rows = 0;
    // The subjects of the query as "source id\nnumber"; the last one's ids
    // (no id while m_lastSubjectID is empty: source ids never are).
    std::unordered_set<std::string> m_subjects;
    std::string m_lastSubjectID;
    unsigned int m_lastSubjectNumber = 0;
    // False once a subject's alignments are apart (rankWithoutScores).
    bool m_subjectsTogether = true;
    std::size_t m_lastAlignments = 0;
    // The row's alignment, reused so that its id keeps its memory: takeRow()
    // sets every field.
    Hsp m_hsp;
};

}  // namespace

void checkFields(const std::vector<std::string>& fields) {
    if (const char* missing = layoutOfKeywords(fields).missing()) {
        throw std::invalid_argument(std::string("the fields have no \"") + missing + "\" column");
    }
}

bool isTabular(std::string_view head, Dialect dialect) {
    const std::string_view line = head.substr(0, head.find('\n'));
    if (line[0] == '#') {
        // The first comment names the program: "# BLASTP 2.12.0+",
        // "# fasta36 -m 8C ...", "# FASTA 36.3.8i".
        std::string_view text = trimmed(line.substr(1));
        const SearchProgram* program = findProgram(text.substr(0, text.find(' ')));
        return program != nullptr && dialect != Dialect::MMseqs &&
               (program->engine == SearchProgram::Engine::Blast) == (dialect == Dialect::Blast);
    }
    if (std::count(line.begin(), line.end(), '\t') < 3) {
        return false;
    }
    std::vector<std::string_view> columns;
    std::vector<std::size_t> offsets;
    splitColumns(line, columns, offsets);
    const bool mmseqs = isKeywordHeader(columns, kMMseqs) || isMMseqsDefaultLine(columns);
    return dialect == Dialect::Blast ? !mmseqs : dialect == Dialect::MMseqs && mmseqs;
}

void parseTabular(Input& in, Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
                  const std::function<void(QueryResult&&)>& each) {
    Parser parser(dialect, fields, source, each);
    parser.parse(in);
}

}  // namespace internal
}  // namespace NorvSearch
