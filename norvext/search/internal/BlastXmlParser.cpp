#include "BlastXmlParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <stdexcept>
#include <string_view>

namespace NorvSearch {
namespace internal {
namespace {

bool named(const pugi::xml_node& node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// A query id that BLAST made up: the real one is the first word of the
// definition line.
bool isNumberedQuery(const std::string& id) {
    return id.empty() || id.compare(0, 6, "Query_") == 0 || id.compare(0, 4, "lcl|") == 0;
}

// The values of an <Hsp>, the first kRequiredHspFields of them required.
const char* const kHspFields[] = {"Hsp_bit-score", "Hsp_score",    "Hsp_evalue", "Hsp_query-from", "Hsp_query-to",
                                  "Hsp_hit-from",  "Hsp_hit-to",   "Hsp_query-frame", "Hsp_qseq",  "Hsp_hseq"};
constexpr int kRequiredHspFields = 7;
constexpr int kNoField = -1;

// The place of an element's name in kHspFields, or kNoField: the letter
// behind "Hsp_" picks the candidates (an <Hsp> has some 17 elements, read for
// every alignment).
int hspField(const char* name) {
    if (std::strncmp(name, "Hsp_", 4) != 0) {
        return kNoField;
    }
    static const int kByLetter[][5] = {{0, kNoField}, {1, kNoField}, {2, kNoField}, {3, 4, 7, 8, kNoField},
                                       {5, 6, 9, kNoField}};
    const char* const letters = "bseqh";
    const char* const letter = std::strchr(letters, name[4]);
    if (name[4] == '\0' || letter == nullptr) {
        return kNoField;
    }
    for (const int* field = kByLetter[letter - letters]; *field != kNoField; ++field) {
        if (std::strcmp(name + 4, kHspFields[*field] + 4) == 0) {
            return *field;
        }
    }
    return kNoField;
}

// The number of line feeds in [begin, end), eight bytes at a time: the
// reader counts every line it passes, so that a fault can name its line.
unsigned long countLines(const char* begin, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    unsigned long lines = 0;
    while (end - begin >= 8) {
        // Up to 255 words add their line feeds bytewise before one sum.
        std::uint64_t counts = 0;
        for (int i = 0; i < 255 && end - begin >= 8; ++i, begin += 8) {
            std::uint64_t word;
            std::memcpy(&word, begin, 8);
            const std::uint64_t x = word ^ (kOnes * '\n');  // a zero byte where a line feed was
            counts += (~(((x & kLow7) + kLow7) | x) >> 7) & kOnes;
        }
        lines += static_cast<unsigned long>((counts * kOnes) >> 56);
    }
    return lines + static_cast<unsigned long>(std::count(begin, end, '\n'));
}

// Character and entity references, CDATA, the doctype (to refuse entity
// declarations); an element's text kept in the element (half the nodes); line
// ends stay as they are, since values are trimmed.
constexpr unsigned kParseOptions =
    pugi::parse_escapes | pugi::parse_cdata | pugi::parse_doctype | pugi::parse_embed_pcdata;

const std::string_view kIterationsTag = "<BlastOutput_iterations";
const std::string_view kIterationEnd = "</Iteration>";
const std::string_view kOutputEnd = "</BlastOutput>";

// The input in a window that begins at a line start and holds at least the
// piece being parsed. BLAST writes its XML one <Iteration> after another;
// the reader parses the header, each iteration and the trailer as documents
// of their own, so that memory follows one query, not the file, and the
// same memory serves every query.
class Window {
public:
    Window(Input& in, const std::string& source) : m_in(in), m_source(source) {}

    const std::string& text() const { return m_text; }
    std::size_t position() const { return m_position; }
    void moveTo(std::size_t position) { m_position = position; }

    // The first place at or after `from` where `needle` begins, reading more
    // of the input as needed; npos when the input ends first.
    std::size_t find(std::string_view needle, std::size_t from) {
        const std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher(needle.begin(),
                                                                                            needle.end());
        for (;;) {
            const std::string_view rest = std::string_view(m_text).substr(std::min(from, m_text.size()));
            const auto found = std::search(rest.begin(), rest.end(), searcher);
            if (found != rest.end()) {
                return from + static_cast<std::size_t>(found - rest.begin());
            }
            from = std::max(from, m_text.size() >= needle.size() ? m_text.size() - needle.size() + 1 : 0);
            if (!fill()) {
                return std::string::npos;
            }
        }
    }
    // The position of the first byte that is not white space, reading more
    // as needed; the text's size at the end of the input.
    std::size_t skipBlanks() {
        for (;;) {
            const std::size_t at = m_text.find_first_not_of(" \t\r\n", m_position);
            if (at != std::string::npos || !fill()) {
                m_position = at == std::string::npos ? m_text.size() : at;
                return m_position;
            }
        }
    }
    // Drops the text before the line that holds the position, once there is
    // enough of it to be worth moving what follows.
    void forget() {
        if (m_position < kForgetAt) {
            return;
        }
        const std::size_t lineStart = m_text.rfind('\n', m_position - 1);
        if (lineStart == std::string::npos) {
            return;
        }
        m_line += countLines(m_text.data(), m_text.data() + lineStart + 1);
        m_text.erase(0, lineStart + 1);
        m_position -= lineStart + 1;
    }
    // The text from `begin` to `end` for a parser that works in place; the
    // window has no further use for it.
    char* reuse(std::size_t begin) { return &m_text[begin]; }

    [[noreturn]] void fail(std::size_t at, const std::string& problem) const {
        at = std::min(at, m_text.size());
        const std::size_t lineStart = at == 0 ? std::string::npos : m_text.rfind('\n', at - 1);
        const unsigned long line = m_line + countLines(m_text.data(), m_text.data() + at);
        throw SearchError(m_source, line, lineStart == std::string::npos ? at + 1 : at - lineStart, problem);
    }

private:
    bool fill() {
        const std::string_view block = m_in.block();
        m_in.checkStream();
        m_text.append(block);
        m_in.consume(block.size());
        return !block.empty();
    }

    static constexpr std::size_t kForgetAt = 1 << 17;

    Input& m_in;
    const std::string& m_source;
    std::string m_text;
    std::size_t m_position = 0;
    unsigned long m_line = 1;
};

// One piece of the window parsed as a document: `prefix` and `suffix` close
// what the piece leaves open (the header's elements, the trailer's). Parsing
// is in place: a piece that needs neither is parsed where it lies in the
// window, others in `scratch`, whose memory serves every piece.
class Piece {
public:
    Piece(Window& window, std::size_t begin, std::size_t end, std::string_view prefix, std::string_view suffix,
          std::string& scratch, pugi::xml_document& document)
        : m_window(window), m_begin(begin), m_end(end), m_prefix(prefix.size()), m_document(document) {
        char* text = window.reuse(begin);
        std::size_t size = end - begin;
        if (!prefix.empty() || !suffix.empty()) {
            scratch.assign(prefix);
            scratch.append(window.text(), begin, end - begin);
            scratch.append(suffix);
            text = &scratch[0];
            size = scratch.size();
        }
        const pugi::xml_parse_result result =
            document.load_buffer_inplace(text, size, kParseOptions);
        if (!result) {
            fail(static_cast<std::size_t>(result.offset), result.description());
        }
    }

    const pugi::xml_document& nodes() const { return m_document; }

    [[noreturn]] void fail(std::size_t offset, const std::string& problem) const {
        // A fault in the closing text is one of the piece's end.
        const std::size_t inPiece = offset < m_prefix ? 0 : std::min(offset - m_prefix, m_end - m_begin);
        m_window.fail(m_begin + inPiece, problem);
    }
    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& problem) const {
        const std::ptrdiff_t offset = node.offset_debug();
        // The offset is that of the name; the tag opens one byte before it.
        fail(offset > 0 ? static_cast<std::size_t>(offset - 1) : 0, problem);
    }

private:
    const Window& m_window;
    std::size_t m_begin;
    std::size_t m_end;
    std::size_t m_prefix;
    pugi::xml_document& m_document;
};

class Parser {
public:
    Parser(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each)
        : m_window(in, source), m_each(each) {}

    void parse() {
        if (m_window.skipBlanks() == m_window.text().size()) {
            m_window.fail(0, "empty input: no search output");
        }
        // Old BLAST wrote one document per query, each with its declaration.
        while (m_window.skipBlanks() < m_window.text().size()) {
            m_window.forget();
            if (m_window.text()[m_window.position()] != '<') {
                m_window.fail(m_window.position(), "text outside <BlastOutput>");
            }
            readDocument();
        }
    }

private:
    void readDocument() {
        const std::size_t begin = m_window.position();
        const std::size_t tag = m_window.find(kIterationsTag, begin);
        const std::size_t tagEnd = tag == std::string::npos ? tag : m_window.find(">", tag);
        if (tagEnd == std::string::npos || m_window.text()[tagEnd - 1] == '/') {
            // No iterations to read one by one: the document is one piece.
            const std::size_t end = m_window.find(kOutputEnd, begin);
            const std::size_t stop = end == std::string::npos ? m_window.text().size() : end + kOutputEnd.size();
            const Piece whole(m_window, begin, stop, "", "", m_scratch, m_document);
            readHeader(whole);
            const pugi::xml_node output = whole.nodes().child("BlastOutput");
            for (const pugi::xml_node& iteration : output.child("BlastOutput_iterations").children("Iteration")) {
                readIteration(whole, iteration);
            }
            m_window.moveTo(stop);
            return;
        }
        readHeader(Piece(m_window, begin, tagEnd + 1, "", "</BlastOutput_iterations></BlastOutput>", m_scratch,
                         m_document));
        m_window.moveTo(tagEnd + 1);
        for (;;) {
            m_window.skipBlanks();
            m_window.forget();
            const std::size_t start = m_window.position();
            if (m_window.text().compare(start, 10, "<Iteration") != 0 ||
                m_window.text().compare(start, 11, "<Iteration_") == 0) {
                break;
            }
            const std::size_t end = m_window.find(kIterationEnd, start);
            if (end == std::string::npos) {
                m_window.fail(m_window.text().size(), "the document ends inside an <Iteration>");
            }
            const Piece piece(m_window, start, end + kIterationEnd.size(), "", "", m_scratch, m_document);
            readIteration(piece, piece.nodes().first_child());
            m_window.moveTo(end + kIterationEnd.size());
        }
        readTrailer();
    }

    // The rest of the document after its last <Iteration>.
    void readTrailer() {
        const std::size_t begin = m_window.position();
        const std::size_t end = m_window.find(kOutputEnd, begin);
        if (end == std::string::npos) {
            m_window.fail(m_window.text().size(), "the document ends before </BlastOutput>");
        }
        const std::size_t stop = end + kOutputEnd.size();
        const Piece trailer(m_window, begin, stop, "<BlastOutput><BlastOutput_iterations>", "", m_scratch, m_document);
        const pugi::xml_node iterations = trailer.nodes().child("BlastOutput").child("BlastOutput_iterations");
        if (const pugi::xml_node stray = iterations.first_child()) {
            trailer.fail(stray, stray.type() == pugi::node_element
                                    ? "<" + std::string(stray.name()) + "> where <Iteration> belongs"
                                    : std::string("text among the iterations"));
        }
        checkTop(trailer);
        m_window.moveTo(stop);
    }

    // The top level of a piece: the declaration, a doctype without
    // entities, <BlastOutput>, and nothing else.
    void checkTop(const Piece& piece) const {
        for (const pugi::xml_node& node : piece.nodes().children()) {
            if (node.type() == pugi::node_doctype && std::strstr(node.value(), "<!ENTITY") != nullptr) {
                // Entities are how XML files blow up or reach outside; BLAST declares none.
                piece.fail(node, "entity declarations are not accepted");
            }
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
                piece.fail(node, "text outside <BlastOutput>");
            }
            if (node.type() == pugi::node_element && !named(node, "BlastOutput")) {
                piece.fail(node, "<" + std::string(node.name()) + "> where <BlastOutput> belongs");
            }
        }
        if (!piece.nodes().child("BlastOutput")) {
            piece.fail(std::size_t(0), "no <BlastOutput>");
        }
    }

    void readHeader(const Piece& header) {
        checkTop(header);
        const pugi::xml_node output = header.nodes().child("BlastOutput");
        const std::string_view program = trimmed(output.child_value("BlastOutput_program"));
        // Another program (or none): the step follows from the ranges.
        m_step = program == "blastx" || program == "tblastx"                      ? 3
                 : program == "blastn" || program == "blastp" || program == "tblastn" ? 1
                                                                                      : 0;
        m_database.assign(trimmed(output.child_value("BlastOutput_db")));
        // BLAST before 2.2.18 names the query in the header only.
        m_outputID.assign(trimmed(output.child_value("BlastOutput_query-ID")));
        m_outputDefinition = output.child_value("BlastOutput_query-def");
        m_outputLength.clear();
        if (const pugi::xml_node length = output.child("BlastOutput_query-len")) {
            m_outputLength = std::to_string(parsed(header, length, parsePosition));
        }
    }

    void readIteration(const Piece& piece, const pugi::xml_node& iteration) {
        QueryResult query;
        const bool own = iteration.child("Iteration_query-def");
        const std::string id = own ? std::string(trimmed(iteration.child_value("Iteration_query-ID"))) : m_outputID;
        const std::string definition = own ? iteration.child_value("Iteration_query-def") : m_outputDefinition;
        if (isNumberedQuery(id)) {
            splitFirstWord(definition, query.id, query.description);
        } else {
            query.id = id;
            query.description = definition;
        }
        if (query.id.empty()) {
            piece.fail(iteration, "the query has neither an id nor a definition line");
        }
        if (const pugi::xml_node length = iteration.child("Iteration_query-len")) {
            query.length = parsed(piece, length, parsePosition);
        } else if (!m_outputLength.empty()) {
            query.length = parsePosition(m_outputLength);
        }
        for (const pugi::xml_node& hit : iteration.child("Iteration_hits").children("Hit")) {
            readHit(piece, hit, query);
        }
        m_each(std::move(query));
    }

    void readHit(const Piece& piece, const pugi::xml_node& hit, QueryResult& query) {
        const pugi::xml_node idNode = hit.child("Hit_id");
        const pugi::xml_node definitionNode = hit.child("Hit_def");
        if (!idNode || !definitionNode) {
            piece.fail(hit, idNode ? "no <Hit_def>" : "no <Hit_id>");
        }
        const std::string_view hitID = trimmed(idNode.child_value());
        Hsp hsp;
        std::string title;
        hsp.subjectNumber = numberInID(hitID);
        if (isOrdinalID(hitID)) {
            splitFirstWord(definitionNode.child_value(), hsp.subjectSourceID, title);
        } else {
            hsp.subjectSourceID.assign(hitID);
            title = definitionNode.child_value();
        }
        hsp.step = m_step;
        for (const pugi::xml_node& node : hit.child("Hit_hsps").children("Hsp")) {
            readHsp(piece, node, hsp);
            try {
                query.alignments.push_back(makeRecord(hsp));
            } catch (const std::invalid_argument& problem) {
                piece.fail(node, std::string("<Hsp>: ") + problem.what());
            }
        }
        query.subjects.push_back(makeSubject(hsp, title, m_database));
    }

    void readHsp(const Piece& piece, const pugi::xml_node& node, Hsp& hsp) const {
        pugi::xml_node fields[std::size(kHspFields)];
        for (const pugi::xml_node& child : node.children()) {
            const int field = hspField(child.name());
            if (field != kNoField && !fields[field]) {
                fields[field] = child;
            }
        }
        for (int i = 0; i < kRequiredHspFields; ++i) {
            if (!fields[i]) {
                piece.fail(node, std::string("no <") + kHspFields[i] + '>');
            }
        }
        hsp.bitScore = parsed(piece, fields[0], parseReal);
        hsp.score = parsed(piece, fields[1], parseInt);
        hsp.eValue = parsed(piece, fields[2], parseReal);
        hsp.queryFrom = parsed(piece, fields[3], parsePosition);
        hsp.queryTo = parsed(piece, fields[4], parsePosition);
        hsp.subjectFrom = parsed(piece, fields[5], parsePosition);
        hsp.subjectTo = parsed(piece, fields[6], parsePosition);
        hsp.queryFrame = fields[7] ? parsed(piece, fields[7], parseInt) : 0;
        hsp.queryLetters = trimmed(fields[8].child_value());
        hsp.subjectLetters = trimmed(fields[9].child_value());
    }

    // The value of `node` read by `parse`; a value that does not read names
    // the element.
    template <class Parse>
    static auto parsed(const Piece& piece, const pugi::xml_node& node, Parse parse)
        -> decltype(parse(std::string_view())) {
        try {
            return parse(trimmed(node.child_value()));
        } catch (const std::invalid_argument& problem) {
            piece.fail(node, '<' + std::string(node.name()) + ">: " + problem.what());
        }
    }

    Window m_window;
    const std::function<void(QueryResult&&)>& m_each;
    std::string m_scratch;
    pugi::xml_document m_document;
    int m_step = 0;
    std::string m_database, m_outputID, m_outputDefinition, m_outputLength;
};

}  // namespace

void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    Parser parser(in, source, each);
    parser.parse();
}

}  // namespace internal
}  // namespace NorvSearch
