#include "BlastXmlParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>

#include <boost/make_shared.hpp>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace NorvSearch {
namespace internal {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool named(const pugi::xml_node& node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// A query id that BLAST made up: the real one is the first word of the
// definition line.
bool isNumberedQuery(const std::string& id) {
    return id.empty() || id.compare(0, 6, "Query_") == 0 || id.compare(0, 4, "lcl|") == 0;
}

// The values of an <Hsp> that it must carry, in the order of `kHspFields`.
const char* const kHspFields[] = {"Hsp_bit-score", "Hsp_score",    "Hsp_evalue",      "Hsp_query-from",
                                  "Hsp_query-to",  "Hsp_hit-from", "Hsp_hit-to",      "Hsp_query-frame",
                                  "Hsp_qseq",      "Hsp_hseq"};
constexpr int kRequiredHspFields = 7;

// One document: its nodes, and where its text begins in the whole input, so
// that a node's place can be named.
class Document {
public:
    Document(std::string& text, std::size_t begin, std::size_t end, const std::string& source)
        : m_text(text), m_begin(begin), m_source(source) {
        // In place: the text is parsed where it lies, without a copy.
        const pugi::xml_parse_result result =
            m_document.load_buffer_inplace(&text[begin], end - begin, pugi::parse_default | pugi::parse_doctype);
        if (!result) {
            fail(static_cast<std::size_t>(result.offset), result.description());
        }
    }

    [[noreturn]] void fail(std::size_t offset, const std::string& problem) const {
        const std::size_t at = std::min(m_begin + offset, m_text.size());
        const std::size_t lineStart = at == 0 ? std::string::npos : m_text.rfind('\n', at - 1);
        const unsigned long line =
            1 + static_cast<unsigned long>(std::count(m_text.begin(), m_text.begin() + static_cast<long>(at), '\n'));
        const unsigned long column = lineStart == std::string::npos ? at + 1 : at - lineStart;
        throw SearchError(m_source, line, column, problem);
    }
    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& problem) const {
        const std::ptrdiff_t offset = node.offset_debug();
        // The offset is that of the name; the tag opens one byte before it.
        fail(offset > 0 ? static_cast<std::size_t>(offset - 1) : 0, problem);
    }

    const pugi::xml_document& nodes() const { return m_document; }

private:
    pugi::xml_document m_document;
    const std::string& m_text;
    std::size_t m_begin;
    const std::string& m_source;
};

class Parser {
public:
    Parser(const std::string& source, const std::function<void(QueryResult&&)>& each) : m_source(source), m_each(each) {}

    void parse(std::string& text) {
        std::size_t begin = text.find_first_not_of(" \t\r\n");
        if (begin == std::string::npos) {
            throw SearchError(m_source, 1, 0, "empty input: no search output");
        }
        // Old BLAST wrote one document per query, each with its declaration.
        while (begin < text.size()) {
            std::size_t end = text.find("<?xml", begin + 1);
            end = end == std::string::npos ? text.size() : end;
            const Document document(text, begin, end, m_source);
            readDocument(document);
            begin = end;
        }
    }

private:
    void readDocument(const Document& document) {
        m_document = &document;
        bool any = false;
        for (const pugi::xml_node& node : document.nodes().children()) {
            if (node.type() == pugi::node_doctype && std::strstr(node.value(), "<!ENTITY") != nullptr) {
                // Entities are how XML files blow up or reach outside; BLAST declares none.
                document.fail(node, "entity declarations are not accepted");
            }
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
                document.fail(node, "text outside <BlastOutput>");
            }
            if (node.type() == pugi::node_element) {
                if (!named(node, "BlastOutput")) {
                    document.fail(node, "<" + std::string(node.name()) + "> where <BlastOutput> belongs");
                }
                readOutput(node);
                any = true;
            }
        }
        if (!any) {
            document.fail(0, "no <BlastOutput>");
        }
    }

    void readOutput(const pugi::xml_node& output) {
        const std::string_view program = trimmed(output.child_value("BlastOutput_program"));
        // Another program (or none): the step follows from the ranges.
        m_step = program == "blastx" || program == "tblastx"                      ? 3
                 : program == "blastn" || program == "blastp" || program == "tblastn" ? 1
                                                                                      : 0;
        m_database.assign(trimmed(output.child_value("BlastOutput_db")));
        m_outputQuery = output;
        for (const pugi::xml_node& iteration : output.child("BlastOutput_iterations").children("Iteration")) {
            readIteration(iteration);
        }
    }

    void readIteration(const pugi::xml_node& iteration) {
        QueryResult query;
        // BLAST before 2.2.18 names the query in the header only.
        const bool own = iteration.child("Iteration_query-def");
        const pugi::xml_node& holder = own ? iteration : m_outputQuery;
        const char* const prefix = own ? "Iteration_" : "BlastOutput_";
        const std::string id(trimmed(holder.child_value((std::string(prefix) + "query-ID").c_str())));
        const std::string definition = holder.child_value((std::string(prefix) + "query-def").c_str());
        if (isNumberedQuery(id)) {
            splitFirstWord(definition, query.id, query.description);
        } else {
            query.id = id;
            query.description = definition;
        }
        if (query.id.empty()) {
            m_document->fail(iteration, "the query has neither an id nor a definition line");
        }
        pugi::xml_node length = iteration.child("Iteration_query-len");
        length = length ? length : m_outputQuery.child("BlastOutput_query-len");
        if (length) {
            query.length = parsed(length, parsePosition);
        }
        for (const pugi::xml_node& hit : iteration.child("Iteration_hits").children("Hit")) {
            readHit(hit, query);
        }
        m_each(std::move(query));
    }

    void readHit(const pugi::xml_node& hit, QueryResult& query) {
        const pugi::xml_node idNode = hit.child("Hit_id");
        const pugi::xml_node definitionNode = hit.child("Hit_def");
        if (!idNode || !definitionNode) {
            m_document->fail(hit, idNode ? "no <Hit_def>" : "no <Hit_id>");
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
            readHsp(node, hsp);
            query.alignments.push_back(makeRecord(node, hsp));
        }
        auto summary = boost::make_shared<Norv::Summary>();
        summary->setID(hsp.subjectNumber);
        summary->setSourceID(hsp.subjectSourceID);
        summary->setTitle(title);
        summary->setDBName(m_database);
        query.subjects.push_back(std::move(summary));
    }

    void readHsp(const pugi::xml_node& node, Hsp& hsp) {
        pugi::xml_node fields[std::size(kHspFields)];
        for (const pugi::xml_node& child : node.children()) {
            for (std::size_t i = 0; i < std::size(kHspFields); ++i) {
                if (!fields[i] && named(child, kHspFields[i])) {
                    fields[i] = child;
                    break;
                }
            }
        }
        for (int i = 0; i < kRequiredHspFields; ++i) {
            if (!fields[i]) {
                m_document->fail(node, std::string("no <") + kHspFields[i] + '>');
            }
        }
        hsp.bitScore = parsed(fields[0], parseReal);
        hsp.score = parsed(fields[1], parseInt);
        hsp.eValue = parsed(fields[2], parseReal);
        hsp.queryFrom = parsed(fields[3], parsePosition);
        hsp.queryTo = parsed(fields[4], parsePosition);
        hsp.subjectFrom = parsed(fields[5], parsePosition);
        hsp.subjectTo = parsed(fields[6], parsePosition);
        hsp.queryFrame = fields[7] ? parsed(fields[7], parseInt) : 0;
        hsp.queryLetters = trimmed(fields[8].child_value());
        hsp.subjectLetters = trimmed(fields[9].child_value());
    }

    Norv::SeqAlign makeRecord(const pugi::xml_node& node, const Hsp& hsp) const {
        try {
            return internal::makeRecord(hsp);
        } catch (const std::invalid_argument& problem) {
            m_document->fail(node, std::string("<Hsp>: ") + problem.what());
        }
    }

    // The value of `node` read by `parse`; a value that does not read names
    // the element.
    template <class Parse>
    auto parsed(const pugi::xml_node& node, Parse parse) const -> decltype(parse(std::string_view())) {
        try {
            return parse(trimmed(node.child_value()));
        } catch (const std::invalid_argument& problem) {
            m_document->fail(node, '<' + std::string(node.name()) + ">: " + problem.what());
        }
    }

    const std::string& m_source;
    const std::function<void(QueryResult&&)>& m_each;
    const Document* m_document = nullptr;
    pugi::xml_node m_outputQuery;
    int m_step = 0;
    std::string m_database;
};

}  // namespace

void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    std::string text = in.readAll();
    Parser parser(source, each);
    parser.parse(text);
}

}  // namespace internal
}  // namespace NorvSearch
