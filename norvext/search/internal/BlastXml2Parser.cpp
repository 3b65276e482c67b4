#include "BlastXml2Parser.h"

#include "BlastReport.h"
#include "Fields.h"
#include "XmlPiece.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace NorvSearch {
namespace internal {
namespace {

const std::string_view kWrapper = "<BlastXML2";
const std::string_view kOutput = "<BlastOutput2";
const std::string_view kOutputEnd = "</BlastOutput2>";

// `head` past an XML declaration and the blanks after it.
std::string_view pastDeclaration(std::string_view head) {
    if (startsWith(head, "<?xml")) {
        const std::size_t end = head.find("?>");
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 2);
    }
    while (!head.empty() && isBlank(head.front())) {
        head.remove_prefix(1);
    }
    return head;
}

// Whether `text` at `at` opens the element `tag` ("<BlastXML2") and no
// longer name.
bool opens(std::string_view text, std::size_t at, std::string_view tag) {
    return text.compare(at, tag.size(), tag) == 0 &&
           (at + tag.size() == text.size() || isBlank(text[at + tag.size()]) || text[at + tag.size()] == '>' ||
            text[at + tag.size()] == '/');
}

class Parser {
public:
    Parser(Input& in, const std::string& source, const EachQuery& each)
        : m_window(in, source), m_report(true, each) {}

    // Per-query files may be concatenated: one document after another.
    void parse() {
        m_window.forEachDocument([this] { readDocument(); });
    }

private:
    void readDocument() {
        const std::size_t begin = m_window.position();
        const std::size_t root = m_window.find("<Blast", begin);
        if (root == std::string::npos) {
            m_window.fail(begin, "no <BlastXML2> or <BlastOutput2>");
        }
        m_window.has(root, kOutput.size() + 1);  // the longer name, and the byte after it
        if (opens(m_window.text(), root, kOutput)) {
            // A file of one query (-outfmt 14): the document is one piece.
            readOutput(begin, "BlastOutput2");
            return;
        }
        if (!opens(m_window.text(), root, kWrapper)) {
            m_window.fail(root, "no <BlastXML2> or <BlastOutput2>");
        }
        const std::size_t tagEnd = m_window.find(">", root);
        if (tagEnd == std::string::npos) {
            m_window.fail(m_window.text().size(), "the document ends inside <BlastXML2>");
        }
        const Piece header(m_window, begin, tagEnd + 1, "", "</BlastXML2>", m_scratch, m_document);
        header.checkTop("BlastXML2");
        m_window.moveTo(tagEnd + 1);
        if (m_window.text()[tagEnd - 1] == '/') {
            return;
        }
        for (;;) {
            m_window.skipBlanks();
            m_window.forget();
            const std::size_t at = m_window.position();
            m_window.has(at, 16);
            const std::string_view text = m_window.text();
            if (opens(text, at, kOutput)) {
                readOutput(at, nullptr);
            } else if (opens(text, at, "<xi:include")) {
                m_window.fail(at, "a list of per-query files (-outfmt 14): give its path to be followed, "
                                  "or the files it lists");
            } else if (opens(text, at, "</BlastXML2")) {
                const std::size_t end = m_window.find(">", at);
                if (end == std::string::npos) {
                    m_window.fail(text.size(), "the document ends inside </BlastXML2>");
                }
                m_window.moveTo(end + 1);
                return;
            } else if (at == m_window.text().size()) {
                m_window.fail(at, "the document ends before </BlastXML2>");
            } else {
                m_window.fail(at, at < text.size() && text[at] == '<' ? "<BlastOutput2> or </BlastXML2> belongs here"
                                                                         : "text outside <BlastOutput2>");
            }
        }
    }

    // One <BlastOutput2> from `begin` to its end tag, a document of its own
    // when `root` names it (with what comes before it).
    void readOutput(std::size_t begin, const char* root) {
        const std::size_t end = m_window.find(kOutputEnd, begin);
        if (end == std::string::npos) {
            m_window.fail(m_window.text().size(), "the document ends inside <BlastOutput2>");
        }
        const std::size_t stop = end + kOutputEnd.size();
        const Piece piece(m_window, begin, stop, "", "", m_scratch, m_document);
        if (root != nullptr) {
            piece.checkTop(root);
        } else if (piece.nodes().first_child() != piece.nodes().last_child()) {
            piece.fail(piece.nodes().first_child().next_sibling(), "text or elements after </BlastOutput2>");
        }
        const pugi::xml_node report = piece.nodes().child("BlastOutput2").child("report").child("Report");
        if (!report) {
            piece.fail(piece.nodes().first_child(), "no <report><Report>");
        }
        readReport(piece, report);
        m_window.moveTo(stop);
    }

    void readReport(const Piece& piece, const pugi::xml_node& report) {
        m_report.beginReport(report.child_value("program"), report.child_value("version"),
                             report.child("search-target").child("Target").child_value("db"));
        const pugi::xml_node results = report.child("results").child("Results");
        if (!results) {
            piece.fail(report, "no <results><Results>");
        }
        if (const pugi::xml_node search = results.child("search")) {
            readSearch(piece, search.child("Search"), m_report.isIterated() ? 1 : 0);
        }
        // PSI-BLAST: a search per round, rounds counted from 1 in the report.
        unsigned int round = 0;
        for (const pugi::xml_node& iteration : results.child("iterations").children("Iteration")) {
            readSearch(piece, iteration.child("search").child("Search"), ++round);
        }
        // Searches against subjects given in a file (-subject): one per query.
        for (const pugi::xml_node& search : results.child("bl2seq").children("Search")) {
            readSearch(piece, search, 0);
        }
    }

    void readSearch(const Piece& piece, const pugi::xml_node& search, unsigned int round) {
        if (!search) {
            piece.fail(search.parent(), "no <Search>");
        }
        attempt(piece, search, [&] {
            m_report.beginSearch(search.child_value("query-id"), search.child_value("query-title"),
                                 search.child_value("query-len"), round);
        });
        for (const pugi::xml_node& hit : search.child("hits").children("Hit")) {
            const pugi::xml_node description = hit.child("description").child("HitDescr");
            if (!description.child("id")) {
                piece.fail(hit, "no <description><HitDescr><id>");
            }
            attempt(piece, hit, [&] {
                m_report.beginHit(description.child_value("id"), description.child_value("title"),
                                  hit.child_value("len"));
            });
            for (const pugi::xml_node& hsp : hit.child("hsps").children("Hsp")) {
                for (const pugi::xml_node& value : hsp.children()) {
                    attempt(piece, value, [&] { m_report.setHspValue(value.name(), value.child_value()); });
                }
                attempt(piece, hsp, [&] { m_report.endHsp(); });
            }
            m_report.endHit();
        }
        m_report.endSearch();
    }

    // Runs `step`; a value it cannot read is a fault at `node`.
    template <class Step>
    static void attempt(const Piece& piece, const pugi::xml_node& node, const Step& step) {
        try {
            step();
        } catch (const std::invalid_argument& problem) {
            piece.fail(node, problem.what());
        }
    }

    Window m_window;
    BlastReport m_report;
    std::string m_scratch;
    pugi::xml_document m_document;
};

}  // namespace

bool isBlastXml2(std::string_view head) {
    const std::string_view root = pastDeclaration(head);
    return opens(root, 0, kWrapper) || opens(root, 0, kOutput);
}

void parseBlastXml2(Input& in, const ReadContext& context, const EachQuery& each) {
    Parser parser(in, context.source, each);
    parser.parse();
}

}  // namespace internal
}  // namespace NorvSearch
