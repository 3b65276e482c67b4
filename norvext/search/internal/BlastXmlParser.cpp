#include "BlastXmlParser.h"

#include "Fields.h"
#include "Hsp.h"

#include <norvext/search/SearchError.h>

#include <boost/make_shared.hpp>

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace NorvSearch {
namespace internal {
namespace {

// BLAST XML nests 7 levels deep; anything far deeper is not BLAST output.
constexpr int kMaxDepth = 64;

// The elements the reader takes values from; every other one is passed over.
enum class Tag {
    Other,
    Root,
    Program,
    Database,
    OutputQueryID,
    OutputQueryDef,
    OutputQueryLen,
    Iteration,
    QueryID,
    QueryDef,
    QueryLen,
    Hit,
    HitID,
    HitDef,
    Hsp,
    BitScore,
    Score,
    EValue,
    QueryFrom,
    QueryTo,
    HitFrom,
    HitTo,
    QueryFrame,
    QueryLetters,
    SubjectLetters,
};

Tag tagOf(std::string_view name) {
    static const std::unordered_map<std::string_view, Tag> tags = {
        {"BlastOutput", Tag::Root},
        {"BlastOutput_program", Tag::Program},
        {"BlastOutput_db", Tag::Database},
        {"BlastOutput_query-ID", Tag::OutputQueryID},
        {"BlastOutput_query-def", Tag::OutputQueryDef},
        {"BlastOutput_query-len", Tag::OutputQueryLen},
        {"Iteration", Tag::Iteration},
        {"Iteration_query-ID", Tag::QueryID},
        {"Iteration_query-def", Tag::QueryDef},
        {"Iteration_query-len", Tag::QueryLen},
        {"Hit", Tag::Hit},
        {"Hit_id", Tag::HitID},
        {"Hit_def", Tag::HitDef},
        {"Hsp", Tag::Hsp},
        {"Hsp_bit-score", Tag::BitScore},
        {"Hsp_score", Tag::Score},
        {"Hsp_evalue", Tag::EValue},
        {"Hsp_query-from", Tag::QueryFrom},
        {"Hsp_query-to", Tag::QueryTo},
        {"Hsp_hit-from", Tag::HitFrom},
        {"Hsp_hit-to", Tag::HitTo},
        {"Hsp_query-frame", Tag::QueryFrame},
        {"Hsp_qseq", Tag::QueryLetters},
        {"Hsp_hseq", Tag::SubjectLetters},
    };
    const auto found = tags.find(name);
    return found == tags.end() ? Tag::Other : found->second;
}

// The values of an <Hsp> that it must carry, as bits of a mask.
constexpr unsigned kHspRequired[] = {1u << int(Tag::BitScore), 1u << int(Tag::Score), 1u << int(Tag::EValue),
                                     1u << int(Tag::QueryFrom), 1u << int(Tag::QueryTo), 1u << int(Tag::HitFrom),
                                     1u << int(Tag::HitTo)};
const char* const kHspRequiredNames[] = {"Hsp_bit-score",  "Hsp_score",    "Hsp_evalue", "Hsp_query-from",
                                         "Hsp_query-to", "Hsp_hit-from", "Hsp_hit-to"};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A query id that BLAST made up: the real one is the first word of the
// definition line.
bool isNumberedQuery(const std::string& id) {
    return id.empty() || id.compare(0, 6, "Query_") == 0 || id.compare(0, 4, "lcl|") == 0;
}

class Parser {
public:
    Parser(const std::string& source, const std::function<void(QueryResult&&)>& each)
        : m_source(source), m_each(each), m_parser(XML_ParserCreate(nullptr), XML_ParserFree) {
        if (!m_parser) {
            throw std::bad_alloc();
        }
        setUp();
    }

    void parse(Input& in) {
        for (;;) {
            const std::string_view block = in.block();
            in.checkStream();
            if (block.empty()) {
                finish();
                return;
            }
            const XML_Index before = m_fedBefore;
            feed(block, false);
            if (m_rootEnd == kNoEnd) {
                in.consume(block.size());
                continue;
            }
            // The document ended inside this block: what follows may be
            // another document.
            const std::size_t used = static_cast<std::size_t>(m_rootEnd - before);
            in.consume(used);
            nextDocument(in);
        }
    }

private:
    static constexpr XML_Index kNoEnd = -1;

    void setUp() {
        XML_Parser p = m_parser.get();
        XML_SetUserData(p, this);
        XML_SetElementHandler(p, &Parser::onStart, &Parser::onEnd);
        XML_SetCharacterDataHandler(p, &Parser::onText);
        // Entities are how XML files blow up or reach outside; BLAST declares none.
        XML_SetEntityDeclHandler(p, &Parser::onEntityDecl);
        XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
        m_fedBefore = 0;
        m_rootEnd = kNoEnd;
        m_depth = 0;
    }

    void feed(std::string_view bytes, bool last) {
        if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
            throw std::length_error("block too large");
        }
        const XML_Status status = XML_Parse(m_parser.get(), bytes.data(), static_cast<int>(bytes.size()), last);
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
        if (status == XML_STATUS_ERROR && !(m_rootEnd != kNoEnd && XML_GetErrorCode(m_parser.get()) == XML_ERROR_ABORTED)) {
            fail(XML_ErrorString(XML_GetErrorCode(m_parser.get())));
        }
        m_fedBefore += static_cast<XML_Index>(bytes.size());
    }

    // After a document: blanks up to the end, or the start of another one.
    void nextDocument(Input& in) {
        for (;;) {
            const std::string_view block = in.block();
            in.checkStream();
            if (block.empty()) {
                return;
            }
            const auto start = block.find_first_not_of(" \t\r\n");
            m_lineBase += static_cast<unsigned long>(
                std::count(block.begin(), block.begin() + (start == std::string_view::npos ? block.size() : start), '\n'));
            if (start == std::string_view::npos) {
                in.consume(block.size());
                continue;
            }
            in.consume(start);
            if (block.compare(start, 1, "<") != 0) {
                throw SearchError(m_source, m_lineBase, 0, "text after the end of the document");
            }
            m_lineBase -= 1;  // the new document's line 1 is the current line
            XML_ParserReset(m_parser.get(), nullptr);
            setUp();
            return;
        }
    }

    void finish() {
        if (m_rootEnd == kNoEnd) {
            feed(std::string_view(), true);
            if (m_rootEnd == kNoEnd) {
                fail("the document ends before </BlastOutput>");
            }
        }
    }

    [[noreturn]] void fail(const std::string& problem) const {
        XML_Parser p = m_parser.get();
        throw SearchError(m_source, m_lineBase + XML_GetCurrentLineNumber(p), XML_GetCurrentColumnNumber(p) + 1,
                          problem);
    }

    // Handlers: an exception must not cross expat's C frames, so it is kept
    // and the parser stopped.
    template <class Body>
    static void guarded(void* data, Body body) {
        auto* self = static_cast<Parser*>(data);
        if (self->m_failure) {
            return;
        }
        try {
            body(*self);
        } catch (...) {
            self->m_failure = std::current_exception();
            XML_StopParser(self->m_parser.get(), XML_FALSE);
        }
    }
    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
        guarded(data, [name](Parser& self) { self.start(name); });
    }
    static void XMLCALL onEnd(void* data, const XML_Char* name) {
        guarded(data, [name](Parser& self) { self.end(name); });
    }
    static void XMLCALL onText(void* data, const XML_Char* text, int length) {
        auto* self = static_cast<Parser*>(data);
        if (self->m_collect) {
            self->m_text.append(text, static_cast<std::size_t>(length));
        }
    }
    static void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                     const XML_Char*, const XML_Char*, const XML_Char*) {
        guarded(data, [](Parser& self) { self.fail("entity declarations are not accepted"); });
    }

    void start(const char* name) {
        if (++m_depth > kMaxDepth) {
            fail("elements nested deeper than " + std::to_string(kMaxDepth));
        }
        const Tag tag = tagOf(name);
        m_collect = tag != Tag::Other && tag != Tag::Root && tag != Tag::Iteration && tag != Tag::Hit && tag != Tag::Hsp;
        m_text.clear();
        switch (tag) {
            case Tag::Iteration:
                m_query = QueryResult();
                m_iterationID.clear();
                m_iterationDef.clear();
                m_iterationLength.clear();
                m_inIteration = true;
                m_hasIterationDef = false;
                break;
            case Tag::Hit:
                m_hitSeen = 0;
                m_hitAlignments = 0;
                break;
            case Tag::Hsp:
                m_hsp = Hsp();
                m_hspSeen = 0;
                m_queryLetters.clear();
                m_subjectLetters.clear();
                break;
            default:
                break;
        }
    }

    void end(const char* name) {
        --m_depth;
        const Tag tag = tagOf(name);
        m_collect = false;
        try {
            take(tag);
        } catch (const std::invalid_argument& problem) {
            fail('<' + std::string(name) + ">: " + problem.what());
        }
    }

    void take(Tag tag) {
        const std::string_view value = trimmed(m_text);
        if (tag >= Tag::BitScore && tag <= Tag::HitTo) {
            m_hspSeen |= 1u << int(tag);
        }
        switch (tag) {
            case Tag::Program:
                // Another program (or none): the step follows from the ranges.
                m_step = value == "blastx" || value == "tblastx" ? 3
                         : value == "blastn" || value == "blastp" || value == "tblastn" ? 1
                                                                                          : 0;
                break;
            case Tag::Database: m_database.assign(value); break;
            case Tag::OutputQueryID: m_outputID.assign(value); break;
            case Tag::OutputQueryDef: m_outputDef = m_text; break;
            case Tag::OutputQueryLen: m_outputLength.assign(value); break;
            case Tag::QueryID: m_iterationID.assign(value); break;
            case Tag::QueryDef: m_iterationDef = m_text; m_hasIterationDef = true; break;
            case Tag::QueryLen: m_iterationLength.assign(value); break;
            case Tag::HitID: m_hitID.assign(value); m_hitSeen |= 1; break;
            case Tag::HitDef: m_hitDef = m_text; m_hitSeen |= 2; break;
            case Tag::BitScore: m_hsp.bitScore = parseReal(value); break;
            case Tag::Score: m_hsp.score = parseInt(value); break;
            case Tag::EValue: m_hsp.eValue = parseReal(value); break;
            case Tag::QueryFrom: m_hsp.queryFrom = parsePosition(value); break;
            case Tag::QueryTo: m_hsp.queryTo = parsePosition(value); break;
            case Tag::HitFrom: m_hsp.subjectFrom = parsePosition(value); break;
            case Tag::HitTo: m_hsp.subjectTo = parsePosition(value); break;
            case Tag::QueryFrame: m_hsp.queryFrame = parseInt(value); break;
            case Tag::QueryLetters: m_queryLetters.assign(value); break;
            case Tag::SubjectLetters: m_subjectLetters.assign(value); break;
            case Tag::Hsp: endHsp(); break;
            case Tag::Hit: endHit(); break;
            case Tag::Iteration: endIteration(); break;
            case Tag::Root: endDocument(); break;
            default: break;
        }
    }

    void endHsp() {
        for (std::size_t i = 0; i < std::size(kHspRequired); ++i) {
            if ((m_hspSeen & kHspRequired[i]) == 0) {
                throw std::invalid_argument(std::string("no <") + kHspRequiredNames[i] + '>');
            }
        }
        if ((m_hitSeen & 3) != 3) {
            throw std::invalid_argument("an alignment before its hit's <Hit_id> and <Hit_def>");
        }
        if (!m_inIteration) {
            throw std::invalid_argument("an alignment outside an <Iteration>");
        }
        if (m_hitAlignments++ == 0) {
            resolveSubject();
        }
        m_hsp.subjectSourceID = m_subjectID;
        m_hsp.subjectNumber = m_subjectNumber;
        m_hsp.step = m_step;
        m_hsp.queryLetters = m_queryLetters;
        m_hsp.subjectLetters = m_subjectLetters;
        m_query.alignments.push_back(makeRecord(m_hsp));
    }

    // The hit's source id, number and title from <Hit_id> and <Hit_def>.
    void resolveSubject() {
        m_subjectNumber = numberInID(m_hitID);
        if (isOrdinalID(m_hitID)) {
            splitFirstWord(m_hitDef, m_subjectID, m_subjectTitle);
        } else {
            m_subjectID = m_hitID;
            m_subjectTitle = m_hitDef;
        }
    }

    void endHit() {
        if ((m_hitSeen & 3) != 3) {
            throw std::invalid_argument((m_hitSeen & 1) == 0 ? "no <Hit_id>" : "no <Hit_def>");
        }
        if (m_hitAlignments == 0) {
            resolveSubject();
        }
        auto summary = boost::make_shared<Norv::Summary>();
        summary->setID(m_subjectNumber);
        summary->setSourceID(m_subjectID);
        summary->setTitle(m_subjectTitle);
        summary->setDBName(m_database);
        m_query.subjects.push_back(std::move(summary));
    }

    void endIteration() {
        m_inIteration = false;
        const bool own = m_hasIterationDef;
        const std::string& id = own ? m_iterationID : m_outputID;
        const std::string& def = own ? m_iterationDef : m_outputDef;
        const std::string& length = !m_iterationLength.empty() ? m_iterationLength : m_outputLength;
        if (isNumberedQuery(id)) {
            splitFirstWord(def, m_query.id, m_query.description);
        } else {
            m_query.id = id;
            m_query.description = def;
        }
        if (m_query.id.empty()) {
            throw std::invalid_argument("the query has neither an id nor a definition line");
        }
        m_query.length = length.empty() ? 0 : parsePosition(length);
        m_each(std::move(m_query));
        m_query = QueryResult();
    }

    void endDocument() {
        XML_Parser p = m_parser.get();
        m_rootEnd = XML_GetCurrentByteIndex(p) + XML_GetCurrentByteCount(p);
        m_lineBase += XML_GetCurrentLineNumber(p);
        XML_StopParser(p, XML_FALSE);
    }

    const std::string& m_source;
    const std::function<void(QueryResult&&)>& m_each;
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> m_parser;
    std::exception_ptr m_failure;

    XML_Index m_fedBefore = 0;
    XML_Index m_rootEnd = kNoEnd;
    unsigned long m_lineBase = 0;
    int m_depth = 0;
    bool m_collect = false;
    std::string m_text;

    int m_step = 0;
    std::string m_database, m_outputID, m_outputDef, m_outputLength;

    bool m_inIteration = false;
    bool m_hasIterationDef = false;
    std::string m_iterationID, m_iterationDef, m_iterationLength;
    QueryResult m_query;

    unsigned m_hitSeen = 0;
    unsigned m_hitAlignments = 0;
    std::string m_hitID, m_hitDef, m_subjectID, m_subjectTitle;
    unsigned int m_subjectNumber = 0;

    Hsp m_hsp;
    unsigned m_hspSeen = 0;
    std::string m_queryLetters, m_subjectLetters;
};

}  // namespace

void parseBlastXml(Input& in, const std::string& source, const std::function<void(QueryResult&&)>& each) {
    Parser parser(source, each);
    parser.parse(in);
}

}  // namespace internal
}  // namespace NorvSearch
