#include "TabularParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>

#include <algorithm>
#include <array>
#include <cctype>
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
    SubjectTitle,
    Ignored,
    kColumns = Ignored
};

// A BLAST field: its keyword (-outfmt "6 qseqid ..."), the name that a
// "# Fields:" line gives it, and the column it fills. Of several id or title
// fields, the first listed here wins.
struct Field {
    const char* keyword;
    const char* name;
    Column column;
};
const Field kFields[] = {
    {"qseqid", "query id", QueryID},
    {"qaccver", "query acc.ver", QueryID},
    {"qacc", "query acc.", QueryID},
    {"qgi", "query gi", Ignored},
    {"qlen", "query length", QueryLength},
    {"sseqid", "subject id", SubjectID},
    {"saccver", "subject acc.ver", SubjectID},
    {"sacc", "subject acc.", SubjectID},
    {"sallseqid", "subject ids", SubjectID},
    {"sgi", "subject gi", SubjectGI},
    {"sallgi", "subject gis", Ignored},
    {"sallacc", "subject accs.", Ignored},
    {"slen", "subject length", Ignored},
    {"qstart", "q. start", QueryStart},
    {"qend", "q. end", QueryEnd},
    {"sstart", "s. start", SubjectStart},
    {"send", "s. end", SubjectEnd},
    {"qseq", "query seq", QueryLetters},
    {"sseq", "subject seq", SubjectLetters},
    {"evalue", "evalue", EValue},
    {"bitscore", "bit score", BitScore},
    {"score", "score", Score},
    {"length", "alignment length", Ignored},
    {"pident", "% identity", Ignored},
    {"nident", "identical", Ignored},
    {"mismatch", "mismatches", Ignored},
    {"positive", "positives", Ignored},
    {"gapopen", "gap opens", Ignored},
    {"gaps", "gaps", Ignored},
    {"ppos", "% positives", Ignored},
    {"frames", "query/sbjct frames", Ignored},
    {"qframe", "query frame", Ignored},
    {"sframe", "sbjct frame", Ignored},
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
    {"sstrand", "subject strand", Ignored},
    {"qcovs", "% query coverage per subject", Ignored},
    {"qcovhsp", "% query coverage per hsp", Ignored},
    {"qcovus", "% query coverage per uniq subject", Ignored},
};
const char* const kStandard[] = {"qaccver", "saccver", "pident", "length", "mismatch", "gapopen",
                                 "qstart",  "qend",    "sstart", "send",   "evalue",   "bitscore"};
const Column kRequired[] = {QueryID, SubjectID, QueryStart, QueryEnd, SubjectStart, SubjectEnd, EValue, BitScore};
const char* const kRequiredNames[] = {"query id", "subject id", "q. start", "q. end",
                                      "s. start", "s. end",     "evalue",   "bit score"};

const Field* fieldByKeyword(std::string_view keyword) {
    for (const Field& field : kFields) {
        if (keyword == field.keyword) {
            return &field;
        }
    }
    return nullptr;
}

const Field* fieldByName(std::string_view name) {
    for (const Field& field : kFields) {
        if (name == field.name) {
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
};

Layout layoutOfKeywords(const std::vector<std::string>& keywords) {
    Layout layout;
    for (const std::string& keyword : keywords) {
        if (keyword == "std") {
            for (const char* standard : kStandard) {
                layout.add(fieldByKeyword(standard)->column);
            }
            continue;
        }
        const Field* field = fieldByKeyword(keyword);
        if (field == nullptr) {
            throw std::invalid_argument("unknown field '" + keyword + "'");
        }
        layout.add(field->column);
    }
    return layout;
}

class Parser {
public:
    Parser(Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
           const std::function<void(QueryResult&&)>& each)
        : m_dialect(dialect), m_source(source), m_each(each), m_given(!fields.empty()) {
        m_layout = layoutOfKeywords(fields.empty() ? std::vector<std::string>{"std"} : fields);
    }

    void parse(Input& in) {
        while (in.readLine(m_line)) {
            ++m_lineNumber;
            if (!in.lineEnded()) {
                fail(0, "the last line has no line end: the file is truncated");
            }
            if (m_line.empty()) {
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
        if (m_processed) {
            fail(1, "a comment after the \"processed ... queries\" line");
        }
        if (startsWith(text, "Query:")) {
            endQuery();
            startQuery(trimmed(text.substr(6)));
        } else if (startsWith(text, "Database:")) {
            m_database.assign(trimmed(text.substr(9)));
        } else if (startsWith(text, "Fields:")) {
            fieldsLine(text.substr(7));
        } else if (text.find(" hits found") != std::string_view::npos) {
            m_announced = static_cast<long>(parseNumber(text.substr(0, text.find(' '))));
        } else if (text.find(" processed ") != std::string_view::npos) {
            endQuery();
            m_processed = true;
        } else {
            program(text.substr(0, text.find(' ')));
        }
    }

    unsigned int parseNumber(std::string_view text) const {
        try {
            return static_cast<unsigned int>(parseInt(text));
        } catch (const std::invalid_argument& problem) {
            fail(3, problem.what());
        }
    }

    // "# BLASTX 2.12.0+", "# FASTX 36.3.8i ...": a translated query runs 3
    // positions per letter.
    void program(std::string_view name) {
        std::string upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        static const char* const translated[] = {"BLASTX", "TBLASTX", "FASTX", "FASTY", "FASTX36", "FASTY36"};
        static const char* const direct[] = {"BLASTN", "BLASTP", "TBLASTN", "FASTA", "SSEARCH", "TFASTX", "TFASTY",
                                             "FASTA36", "SSEARCH36", "TFASTX36", "TFASTY36", "GGSEARCH", "GLSEARCH"};
        if (std::find(std::begin(translated), std::end(translated), upper) != std::end(translated)) {
            m_step = 3;
        } else if (std::find(std::begin(direct), std::end(direct), upper) != std::end(direct)) {
            m_step = 1;
        }
    }

    void fieldsLine(std::string_view list) {
        // FASTA's line names columns that its lines do not hold; its lines
        // are the standard 12 and BTOP.
        if (m_dialect == Dialect::Fasta || m_given) {
            return;
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
        m_layout = layout;
        checkLayout(m_layout);
    }

    void checkLayout(const Layout& layout) const {
        for (std::size_t i = 0; i < std::size(kRequired); ++i) {
            if (layout.index[kRequired[i]] < 0) {
                fail(0, std::string("the fields have no \"") + kRequiredNames[i] + "\" column");
            }
        }
    }

    void startQuery(std::string_view definition) {
        m_query = QueryResult();
        m_inQuery = true;
        m_queryFromComment = true;
        m_rows = 0;
        m_announced = -1;
        if (m_dialect == Dialect::Fasta) {
            // "... - 218 aa": FASTA appends the length.
            const auto dash = definition.rfind(" - ");
            if (dash != std::string_view::npos) {
                const std::string_view tail = definition.substr(dash + 3);
                const auto blank = tail.find(' ');
                if (blank != std::string_view::npos && (tail.substr(blank) == " aa" || tail.substr(blank) == " nt")) {
                    try {
                        m_query.length = parsePosition(tail.substr(0, blank));
                        definition = definition.substr(0, dash);
                    } catch (const std::invalid_argument&) {
                    }
                }
            }
        }
        splitFirstWord(trimmed(definition), m_query.id, m_query.description);
    }

    void endQuery() {
        if (!m_inQuery) {
            return;
        }
        if (m_dialect == Dialect::Blast && m_announced >= 0 && m_announced != m_rows) {
            fail(0, "the query " + m_query.id + " announces " + std::to_string(m_announced) + " hits and has " +
                        std::to_string(m_rows));
        }
        m_inQuery = false;
        m_subjectIDs.clear();
        m_each(std::move(m_query));
        m_query = QueryResult();
    }

    void row() {
        if (m_processed) {
            fail(1, "a line after the \"processed ... queries\" line");
        }
        split();
        if (m_dialect == Dialect::Fasta && !m_given && m_columns.size() == 13 && m_layout.count == 12) {
            m_layout.add(Btop);
        }
        if (m_columns.size() != m_layout.count) {
            const std::size_t at = std::min(m_columns.size(), m_layout.count);
            fail(at < m_columns.size() ? m_offsets[at] + 1 : m_line.size() + 1,
                 std::to_string(m_columns.size()) + " columns where the fields name " +
                     std::to_string(m_layout.count));
        }
        checkLayout(m_layout);
        const std::string_view queryID = value(QueryID);
        if (!m_inQuery || (!m_queryFromComment && queryID != m_query.id)) {
            endQuery();
            m_query = QueryResult();
            m_query.id.assign(queryID);
            m_inQuery = true;
            m_queryFromComment = false;
        }
        ++m_rows;
        takeRow();
    }

    void split() {
        m_columns.clear();
        m_offsets.clear();
        std::size_t at = 0;
        for (;;) {
            const std::size_t tab = m_line.find('\t', at);
            m_offsets.push_back(at);
            m_columns.push_back(std::string_view(m_line).substr(at, tab == std::string::npos ? tab : tab - at));
            if (tab == std::string::npos) {
                return;
            }
            at = tab + 1;
        }
    }

    // The column's text without the blanks around it (BLAST pads a bit
    // score below 10 with one: "\t 9.6\t").
    std::string_view value(Column column) const {
        const int index = m_layout.index[column];
        return index < 0 ? std::string_view() : trimmed(m_columns[static_cast<std::size_t>(index)]);
    }

    // Runs `parse` on the value of `column`, naming the column on failure.
    template <class Parse>
    auto parsed(Column column, Parse parse) const {
        try {
            return parse(value(column));
        } catch (const std::invalid_argument& problem) {
            fail(m_offsets[static_cast<std::size_t>(m_layout.index[column])] + 1, problem.what());
        }
    }

    void takeRow() {
        Hsp hsp;
        const std::string_view rawID = value(SubjectID);
        std::string title;
        std::string_view titles = value(SubjectTitle);
        titles = titles.substr(0, titles.find("<>"));  // salltitles: the first title
        if (isOrdinalID(rawID) && !titles.empty()) {
            splitFirstWord(titles, hsp.subjectSourceID, title);
        } else {
            hsp.subjectSourceID.assign(rawID.substr(0, rawID.find(';')));
            title.assign(titles);
        }
        if (hsp.subjectSourceID.empty()) {
            fail(m_offsets[static_cast<std::size_t>(m_layout.index[SubjectID])] + 1, "an empty subject id");
        }
        hsp.subjectNumber = numberInID(rawID);
        if (m_layout.index[SubjectGI] >= 0 && value(SubjectGI) != "N/A" && value(SubjectGI) != "0") {
            hsp.subjectNumber = parsed(SubjectGI, [](std::string_view v) { return parsePosition(v); });
        }
        hsp.queryFrom = parsed(QueryStart, [](std::string_view v) { return parsePosition(v); });
        hsp.queryTo = parsed(QueryEnd, [](std::string_view v) { return parsePosition(v); });
        hsp.subjectFrom = parsed(SubjectStart, [](std::string_view v) { return parsePosition(v); });
        hsp.subjectTo = parsed(SubjectEnd, [](std::string_view v) { return parsePosition(v); });
        hsp.eValue = parsed(EValue, [](std::string_view v) { return parseReal(v); });
        hsp.bitScore = parsed(BitScore, [](std::string_view v) { return parseReal(v); });
        if (m_layout.index[Score] >= 0) {
            hsp.score = parsed(Score, [](std::string_view v) { return parseInt(v); });
        }
        if (m_layout.index[QueryLength] >= 0 && m_query.length == 0) {
            m_query.length = parsed(QueryLength, [](std::string_view v) { return parsePosition(v); });
        }
        hsp.step = m_step;
        hsp.btop = value(Btop);
        hsp.queryLetters = value(QueryLetters);
        hsp.subjectLetters = value(SubjectLetters);
        try {
            m_query.alignments.push_back(makeRecord(hsp));
        } catch (const std::invalid_argument& problem) {
            const Column at = m_layout.index[Btop] >= 0 ? Btop : QueryLetters;
            fail(m_offsets[static_cast<std::size_t>(m_layout.index[at])] + 1, problem.what());
        }
        if (m_subjectIDs.insert(hsp.subjectSourceID).second) {
            m_query.subjects.push_back(makeSubject(hsp, title, m_database));
        }
    }

    Dialect m_dialect;
    const std::string& m_source;
    const std::function<void(QueryResult&&)>& m_each;
    bool m_given;
    Layout m_layout;

    std::string m_line;
    unsigned long m_lineNumber = 0;
    std::vector<std::string_view> m_columns;
    std::vector<std::size_t> m_offsets;

    bool m_commented = false;
    bool m_processed = false;
    int m_step = 0;
    std::string m_database;

    QueryResult m_query;
    bool m_inQuery = false;
    bool m_queryFromComment = false;
    long m_rows = 0;
    long m_announced = -1;
    std::unordered_set<std::string> m_subjectIDs;
};

}  // namespace

void checkFields(const std::vector<std::string>& fields) { layoutOfKeywords(fields); }

void parseTabular(Input& in, Dialect dialect, const std::vector<std::string>& fields, const std::string& source,
                  const std::function<void(QueryResult&&)>& each) {
    Parser parser(dialect, fields, source, each);
    parser.parse(in);
}

}  // namespace internal
}  // namespace NorvSearch
