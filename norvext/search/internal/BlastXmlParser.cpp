#include "BlastXmlParser.h"

#include "BlastXml2Parser.h"

#include "Fields.h"
#include "Hsp.h"
#include "XmlPiece.h"

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

const std::string_view kIterationsTag = "<BlastOutput_iterations";
const std::string_view kIterationEnd = "</Iteration>";
const std::string_view kOutputEnd = "</BlastOutput>";

class Parser {
public:
    Parser(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each)
        : m_window(in, source), m_each(each) {}

    void parse() {
        // Old BLAST wrote one document per query, each with its declaration.
        m_window.forEachDocument([this] {
            if (m_window.text()[m_window.position()] != '<') {
                m_window.fail(m_window.position(), "text outside <BlastOutput>");
            }
            readDocument();
        });
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
        trailer.checkTop("BlastOutput");
        m_window.moveTo(stop);
    }

    void readHeader(const Piece& header) {
        header.checkTop("BlastOutput");
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
        nameQuery(id, definition, query);
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
        nameSubject(hitID, definition, hsp, title);
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
    if (isBlastXml2(head)) {
        return false;
    }
    return startsWith(head, "<?xml") || startsWith(head, "<BlastOutput") || startsWith(head, "<!DOCTYPE BlastOutput");
}

void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    Parser parser(in, source, each);
    parser.parse();
}

}  // namespace internal
}  // namespace NorvSearch
