#include "BlastXmlParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <functional>
#include <iterator>
#include <string>
#include <stdexcept>
#include <string_view>

namespace NorvSearch {
namespace internal {
namespace {

bool named(const pugi::xml_node& node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// The elements of an <Hsp> in the order BLAST writes them; the reader
// looks for each where the last one was found, so that it finds it at once.
enum HspField {
    HspNumber, BitScore, Score, EValue, QueryFrom, QueryTo, HitFrom, HitTo, QueryFrame, HitFrame, Identity,
    Positive, Gaps, AlignLength, QueryLetters, HitLetters, Midline, kHspFields
};
const char* const kHspFieldNames[kHspFields] = {
    "Hsp_num",         "Hsp_bit-score", "Hsp_score",    "Hsp_evalue",   "Hsp_query-from", "Hsp_query-to",
    "Hsp_hit-from",    "Hsp_hit-to",    "Hsp_query-frame", "Hsp_hit-frame", "Hsp_identity", "Hsp_positive",
    "Hsp_gaps",        "Hsp_align-len", "Hsp_qseq",     "Hsp_hseq",     "Hsp_midline"};
const HspField kRequiredHspFields[] = {BitScore, Score, EValue, QueryFrom, QueryTo, HitFrom, HitTo};

// BLAST's text for a query or subject given without a definition line.
const std::string_view kNoDefinition = "No definition line";

std::string_view definitionOf(const char* text) {
    const std::string_view definition = trimmed(text);
    return definition == kNoDefinition ? std::string_view() : definition;
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

// The first place of `needle` in `text`; npos when it has none. Finding
// where each <Iteration> ends is a good part of the reader's work: glibc's
// memmem took 1.9 ms over a 16.5 MB output where the standard library's
// Boyer-Moore-Horspool searcher took 4.5 ms.
std::size_t findIn(std::string_view text, std::string_view needle) {
#ifdef __GLIBC__
    const void* found = memmem(text.data(), text.size(), needle.data(), needle.size());
    return found == nullptr ? std::string_view::npos
                            : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
#else
    const std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher(needle.begin(), needle.end());
    const auto found = std::search(text.begin(), text.end(), searcher);
    return found == text.end() ? std::string_view::npos : static_cast<std::size_t>(found - text.begin());
#endif
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
        for (;;) {
            const std::size_t found = findIn(std::string_view(m_text).substr(std::min(from, m_text.size())), needle);
            if (found != std::string_view::npos) {
                return from + found;
            }
            from = std::max(from, m_text.size() >= needle.size() ? m_text.size() - needle.size() + 1 : 0);
            if (!fill()) {
                return std::string::npos;
            }
        }
    }
    // Whether at least `count` bytes follow `from`, reading more of the
    // input as needed: a tag is never compared against a window that ends
    // inside it.
    bool has(std::size_t from, std::size_t count) {
        while (m_text.size() < from + count) {
            if (!fill()) {
                return false;
            }
        }
        return true;
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
    // Puts `text` in place of the `count` bytes at `at`.
    void replace(std::size_t at, std::size_t count, std::string_view text) { m_text.replace(at, count, text); }
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
            m_window.has(start, 11);
            if (m_window.text().compare(start, 10, "<Iteration") != 0 ||
                m_window.text().compare(start, 11, "<Iteration_") == 0) {
                break;
            }
            std::size_t end = m_window.find(kIterationEnd, start);
            if (end == std::string::npos) {
                m_window.fail(m_window.text().size(), "the document ends inside an <Iteration>");
            }
            if (m_diamond) {
                end = closeDiamondHits(start, end);
            }
            const Piece piece(m_window, start, end + kIterationEnd.size(), "", "", m_scratch, m_document);
            readIteration(piece, piece.nodes().first_child());
            m_window.moveTo(end + kIterationEnd.size());
        }
        readTrailer();
    }

    // DIAMOND (2.1.3, and other releases) leaves the last <Hit> of a query
    // open, and writes its closing tags into the <Iteration_hits> of a query
    // without hits instead: exactly these two faults of the <Iteration> in
    // [start, end) are mended, any other is left to the parser. Returns
    // where the <Iteration> now ends.
    std::size_t closeDiamondHits(std::size_t start, std::size_t end) {
        static const std::string_view kHits = "<Iteration_hits>", kHitsEnd = "</Iteration_hits>",
                                      kHspEnd = "</Hsp>", kClose = "</Hit_hsps></Hit>";
        const std::string_view text = std::string_view(m_window.text()).substr(0, end);
        const std::size_t hits = findIn(text.substr(start), kHits);
        const std::size_t close = findIn(text.substr(start), kHitsEnd);
        if (hits == std::string_view::npos || close == std::string_view::npos || close < hits) {
            return end;
        }
        const auto skipBlanks = [&text](std::size_t at) {
            return std::min(text.find_first_not_of(" \t\r\n", at), text.size());
        };
        // A query without hits: "<Iteration_hits> </Hit_hsps> </Hit> </Iteration_hits>".
        const std::size_t first = skipBlanks(start + hits + kHits.size());
        if (text.compare(first, 11, "</Hit_hsps>") == 0) {
            const std::size_t hit = skipBlanks(first + 11);
            if (text.compare(hit, 6, "</Hit>") == 0 && skipBlanks(hit + 6) == start + close) {
                // Blanked, line ends kept: errors after it keep their lines.
                m_window.replace(first, 11, std::string(11, ' '));
                m_window.replace(hit, 6, std::string(6, ' '));
            }
            return end;
        }
        // A query with hits: its last <Hsp> ends right before </Iteration_hits>.
        const std::size_t last = text.find_last_not_of(" \t\r\n", start + close - 1);
        if (last != std::string_view::npos && last + 1 >= kHspEnd.size() &&
            text.compare(last + 1 - kHspEnd.size(), kHspEnd.size(), kHspEnd) == 0) {
            m_window.replace(start + close, 0, kClose);
            return end + kClose.size();
        }
        return end;
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
        m_program.assign(trimmed(output.child_value("BlastOutput_program")));
        m_version.assign(trimmed(output.child_value("BlastOutput_version")));
        m_database.assign(trimmed(output.child_value("BlastOutput_db")));
        m_sides = Sides{findProgram(m_program), {}};
        m_diamond = startsWith(m_version, "diamond ");
        // Only PSI-BLAST's iterations are rounds; other programs number their queries.
        m_iterated = m_sides.program != nullptr && std::strcmp(m_sides.program->name, "psiblast") == 0;
        // BLAST before 2.2.18 names the query in the header only.
        m_outputID.assign(trimmed(output.child_value("BlastOutput_query-ID")));
        m_outputDefinition.assign(definitionOf(output.child_value("BlastOutput_query-def")));
        m_outputLength = 0;
        if (const pugi::xml_node length = output.child("BlastOutput_query-len")) {
            m_outputLength = parsed(header, length, parsePosition);
        }
    }

    void readIteration(const Piece& piece, const pugi::xml_node& iteration) {
        QueryResult query;
        query.program = m_program;
        query.version = m_version;
        query.database = m_database;
        const bool own = iteration.child("Iteration_query-def") || iteration.child("Iteration_query-ID");
        const std::string id = own ? std::string(trimmed(iteration.child_value("Iteration_query-ID"))) : m_outputID;
        const std::string definition =
            own ? std::string(definitionOf(iteration.child_value("Iteration_query-def"))) : m_outputDefinition;
        if ((id.empty() || isMadeUpQueryID(id)) && !definition.empty()) {
            splitFirstWord(definition, query.id, query.description);
        } else {
            query.id = id;
            query.description = definition;
        }
        if (query.id.empty()) {
            piece.fail(iteration, "the query has neither an id nor a definition line");
        }
        query.length = m_outputLength;
        if (const pugi::xml_node length = iteration.child("Iteration_query-len")) {
            query.length = parsed(piece, length, parsePosition);
        }
        if (m_iterated) {
            query.round = round(piece, iteration, id);
        }
        const pugi::xml_node hits = iteration.child("Iteration_hits");
        reserveRoom(hits, query);
        for (const pugi::xml_node& hit : hits.children("Hit")) {
            readHit(piece, hit, query);
        }
        m_each(std::move(query));
    }

    // PSI-BLAST numbers its iterations on from one query to the next; a
    // query's rounds count from 1, from its first iteration.
    unsigned int round(const Piece& piece, const pugi::xml_node& iteration, const std::string& queryID) {
        const pugi::xml_node number = iteration.child("Iteration_iter-num");
        const unsigned int iterations = number ? parsed(piece, number, parsePosition) : 1;
        if (queryID != m_roundQuery || iterations <= m_roundBase) {
            m_roundQuery = queryID;
            m_roundBase = iterations - 1;
        }
        return iterations - m_roundBase;
    }

    // Room in `query` for the alignments and subjects of `hits` at once: a
    // query of 200 hits has a thousand alignments, which growing the vector
    // step by step would move again and again into fresh memory.
    static void reserveRoom(const pugi::xml_node& hits, QueryResult& query) {
        std::size_t subjects = 0, alignments = 0;
        for (const pugi::xml_node& hit : hits.children("Hit")) {
            ++subjects;
            const auto hsps = hit.child("Hit_hsps").children("Hsp");
            alignments += static_cast<std::size_t>(std::distance(hsps.begin(), hsps.end()));
        }
        query.subjects.reserve(subjects);
        query.alignments.reserve(alignments);
    }

    void readHit(const Piece& piece, const pugi::xml_node& hit, QueryResult& query) {
        const pugi::xml_node idNode = hit.child("Hit_id");
        const pugi::xml_node definitionNode = hit.child("Hit_def");
        if (!idNode || !definitionNode) {
            piece.fail(hit, idNode ? "no <Hit_def>" : "no <Hit_id>");
        }
        const std::string_view hitID = trimmed(idNode.child_value());
        const std::string_view definition = definitionOf(definitionNode.child_value());
        Hsp hsp;
        std::string title;
        hsp.subjectNumber = numberInID(hitID);
        if (isOrdinalID(hitID) && !definition.empty()) {
            splitFirstWord(definition, hsp.subjectSourceID, title);
        } else {
            hsp.subjectSourceID.assign(hitID);
            title.assign(definition);
        }
        hsp.queryLength = query.length;
        if (const pugi::xml_node length = hit.child("Hit_len")) {
            hsp.subjectLength = parsed(piece, length, parsePosition);
        }
        for (const pugi::xml_node& node : hit.child("Hit_hsps").children("Hsp")) {
            AlignmentResult& alignment = query.alignments.emplace_back();
            readHsp(piece, node, hsp, alignment);
            try {
                makeAlignment(hsp, m_sides, alignment);
            } catch (const std::invalid_argument& problem) {
                piece.fail(node, std::string("<Hsp>: ") + problem.what());
            }
        }
        query.subjects.push_back(makeSubject(hsp, title, m_database));
    }

    // The <Hsp>'s values into `hsp`, and its counts into `alignment`.
    void readHsp(const Piece& piece, const pugi::xml_node& node, Hsp& hsp, AlignmentResult& alignment) {
        pugi::xml_node fields[kHspFields];
        for (const pugi::xml_node& child : node.children()) {
            const int field = hspField(child.name());
            if (field >= 0 && !fields[field]) {
                fields[field] = child;
            }
        }
        for (const HspField required : kRequiredHspFields) {
            if (!fields[required]) {
                piece.fail(node, std::string("no <") + kHspFieldNames[required] + '>');
            }
        }
        hsp.bitScore = parsed(piece, fields[BitScore], parseReal);
        hsp.score = parsed(piece, fields[Score], parseInt);
        hsp.eValue = parsed(piece, fields[EValue], parseReal);
        hsp.queryFrom = parsed(piece, fields[QueryFrom], parsePosition);
        hsp.queryTo = parsed(piece, fields[QueryTo], parsePosition);
        hsp.subjectFrom = parsed(piece, fields[HitFrom], parsePosition);
        hsp.subjectTo = parsed(piece, fields[HitTo], parsePosition);
        hsp.queryFrame = fields[QueryFrame] ? parsed(piece, fields[QueryFrame], parseInt) : 0;
        hsp.subjectFrame = fields[HitFrame] ? parsed(piece, fields[HitFrame], parseInt) : 0;
        alignment.identities = optionalCount(piece, fields[Identity]);
        alignment.positives = optionalCount(piece, fields[Positive]);
        alignment.gaps = optionalCount(piece, fields[Gaps]);
        alignment.alignmentLength = optionalCount(piece, fields[AlignLength]);
        hsp.queryLetters = trimmed(fields[QueryLetters].child_value());
        hsp.subjectLetters = trimmed(fields[HitLetters].child_value());
    }

    // The place of an element's name among the <Hsp> fields, -1 for another:
    // tried first where the previous one was found.
    int hspField(const char* name) {
        for (int tried = 0; tried < kHspFields; ++tried) {
            const int field = (m_nextField + tried) % kHspFields;
            if (std::strcmp(name, kHspFieldNames[field]) == 0) {
                m_nextField = (field + 1) % kHspFields;
                return field;
            }
        }
        return -1;
    }

    static std::optional<unsigned int> optionalCount(const Piece& piece, const pugi::xml_node& node) {
        if (!node) {
            return std::nullopt;
        }
        return parsed(piece, node, parseCount);
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
    int m_nextField = 0;
    Sides m_sides;
    bool m_iterated = false;
    // Written by DIAMOND (its version says so): see closeDiamondHits().
    bool m_diamond = false;
    std::string m_roundQuery;
    unsigned int m_roundBase = 0;
    std::string m_program, m_version, m_database, m_outputID, m_outputDefinition;
    unsigned int m_outputLength = 0;
};

}  // namespace

bool isBlastXml(std::string_view head) {
    return startsWith(head, "<?xml") || startsWith(head, "<BlastOutput") || startsWith(head, "<!DOCTYPE BlastOutput");
}

void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    Parser parser(in, source, each);
    parser.parse();
}

}  // namespace internal
}  // namespace NorvSearch
