#include "BlastJsonParser.h"

#include "BlastReport.h"
#include "Fields.h"
#include "Window.h"

#include <simdjson.h>

#include <cstring>
#include <stdexcept>
#include <string>

// Why simdjson, and why a report at a time: -outfmt 15 is one JSON object
// holding an array of every query's report, so a parser that takes whole
// documents would hold the whole file. A small scanner that knows strings
// and brackets cuts the stream into one report at a time (which needs no
// parsing, only a look at each byte), and simdjson's On-Demand API parses
// that report: over BLAST's real outputs, the whole reader, records built,
// takes about 0.6 of the time nlohmann-json's SAX interface takes merely
// passing over the same bytes (bench/RESULTS.md), and On-Demand gives each value's
// place in the text, so a fault is named by line and column.

namespace NorvSearch {
namespace internal {
namespace {

namespace ondemand = simdjson::ondemand;

const std::string_view kList = "a list of per-query files (-outfmt 13): give its path to be followed, or the "
                               "files it lists";

class Parser {
public:
    Parser(Input& in, const std::string& source, const EachQuery& each)
        : m_window(in, source), m_report(false, each) {}

    // Per-query files may be concatenated: one document after another.
    void parse() {
        m_window.forEachDocument([this] { readDocument(); });
    }

private:
    // The next byte that is not a blank, 0 at the end of the input.
    char next() {
        const std::size_t at = m_window.skipBlanks();
        return at < m_window.text().size() ? m_window.text()[at] : '\0';
    }

    void expect(char c, const char* what) {
        if (next() != c) {
            m_window.fail(m_window.position(), std::string(what) + " belongs here");
        }
        m_window.moveTo(m_window.position() + 1);
    }

    void readDocument() {
        expect('{', "'{'");
        if (next() != '"') {
            m_window.fail(m_window.position(), "\"BlastOutput2\" belongs here");
        }
        const std::size_t keyAt = m_window.position();
        const std::size_t keyEnd = stringEnd(m_window.position());
        const std::string key = m_window.text().substr(keyAt + 1, keyEnd - keyAt - 2);
        if (key == "BlastJSON") {
            m_window.fail(keyAt, std::string(kList));
        }
        if (key != "BlastOutput2") {
            m_window.fail(keyAt, "\"" + key + "\" where \"BlastOutput2\" belongs");
        }
        m_window.moveTo(keyEnd);
        expect(':', "':'");
        const char value = next();
        if (value == '{') {
            readReport();
        } else if (value == '[') {
            m_window.moveTo(m_window.position() + 1);
            for (bool first = true;; first = false) {
                const char c = next();
                if (c == ']' && first) {
                    break;
                }
                if (c != '{') {
                    m_window.fail(m_window.position(), "a report belongs here");
                }
                readReport();
                if (next() != ',') {
                    break;
                }
                m_window.moveTo(m_window.position() + 1);
            }
            expect(']', "',' or ']'");
        } else {
            m_window.fail(m_window.position(), "a report or an array of reports belongs here");
        }
        expect('}', "'}'");
    }

    // The end of the string whose quote is at `at`: past its closing quote.
    std::size_t stringEnd(std::size_t at) {
        std::size_t from = at + 1;
        for (;;) {
            const std::string& text = m_window.text();
            const void* quote = std::memchr(text.data() + from, '"', text.size() - from);
            if (quote == nullptr) {
                from = text.size();
                if (!m_window.fill()) {
                    m_window.fail(text.size(), "the output ends inside a string");
                }
                continue;
            }
            const std::size_t found = static_cast<std::size_t>(static_cast<const char*>(quote) - text.data());
            std::size_t backslashes = 0;
            while (found - backslashes > at + 1 && text[found - backslashes - 1] == '\\') {
                ++backslashes;
            }
            if (backslashes % 2 == 0) {
                return found + 1;
            }
            from = found + 1;
        }
    }

    // The end of the object or array that opens at `at`: past its closing
    // bracket. Only strings and brackets are looked at; simdjson checks the
    // rest.
    std::size_t valueEnd(std::size_t at) {
        long depth = 0;
        for (;;) {
            while (at < m_window.text().size()) {
                // glibc's strcspn passes over the blanks, names and numbers
                // between two of these many bytes at a time; the text's own
                // terminating NUL stops it, as a NUL inside it would.
                at += std::strcspn(m_window.text().c_str() + at, "\"{}[]");
                if (at >= m_window.text().size()) {
                    break;
                }
                const char c = m_window.text()[at];
                if (c == '"') {
                    at = stringEnd(at);
                    continue;
                }
                if (c == '{' || c == '[') {
                    ++depth;
                } else if ((c == '}' || c == ']') && --depth == 0) {
                    return at + 1;
                }
                ++at;
            }
            if (!m_window.fill()) {
                m_window.fail(m_window.text().size(), "the output ends inside a report");
            }
        }
    }

    void readReport() {
        const std::size_t begin = m_window.position();
        const std::size_t end = valueEnd(begin);
        m_buffer.assign(m_window.text(), begin, end - begin);
        m_buffer.append(simdjson::SIMDJSON_PADDING, ' ');
        m_base = m_buffer.data();
        m_begin = begin;
        // On-Demand checks only what it reads, and assumes the rest well
        // formed (a missing comma there is undefined behaviour), so the DOM
        // parser checks the whole report first: only JSON reaches it.
        simdjson::dom::element root;
        simdjson::error_code error = m_checker.parse(m_buffer.data(), end - begin, false).get(root);
        if (error) {
            fail(m_base, std::string("not JSON: ") + simdjson::error_message(error));
        }
        ondemand::document document;
        error = m_parser.iterate(m_buffer.data(), end - begin, m_buffer.size()).get(document);
        if (error) {
            fail(m_base, std::string("not JSON: ") + simdjson::error_message(error));
        }
        try {
            readPiece(document);
        } catch (const simdjson::simdjson_error& problem) {
            const char* at = m_base;
            if (document.current_location().get(at)) {
                at = m_base + (end - begin);
            }
            fail(at, std::string("not JSON, or not BLAST's: ") + simdjson::error_message(problem.error()));
        }
        m_window.moveTo(end);
        m_window.forget();  // memory follows one report, not the array of them
    }

    [[noreturn]] void fail(const char* at, const std::string& problem) const {
        m_window.fail(m_begin + static_cast<std::size_t>(at - m_base), problem);
    }

    static const char* placeOf(ondemand::value& value) { return value.raw_json_token().data(); }

    // The value of `object`'s field `name`, false when it has none.
    static bool field(ondemand::object& object, std::string_view name, ondemand::value& value) {
        const simdjson::error_code error = object.find_field_unordered(name).get(value);
        if (error == simdjson::NO_SUCH_FIELD) {
            return false;
        }
        if (error) {
            throw simdjson::simdjson_error(error);
        }
        return true;
    }

    // A string's letters, or a number's text as printed; "" when `object`
    // has no `name`.
    std::string_view textOf(ondemand::object& object, std::string_view name) {
        ondemand::value value;
        return field(object, name, value) ? textOf(value, name) : std::string_view();
    }

    std::string_view textOf(ondemand::value& value, std::string_view name) {
        switch (value.type()) {
        case ondemand::json_type::string:
            return value.get_string();
        case ondemand::json_type::object:
        case ondemand::json_type::array:
            fail(placeOf(value), m_report.spell(name) + ": an object or array where a value belongs");
        default:
            return trimmed(value.raw_json_token());
        }
    }

    void readPiece(ondemand::document& document) {
        ondemand::object top = document.get_object();
        ondemand::value value;
        if (!field(top, "report", value)) {
            fail(m_base, "no \"report\"");
        }
        ondemand::object report = value.get_object();
        const std::string program(textOf(report, "program"));
        const std::string version(textOf(report, "version"));
        std::string database;
        if (field(report, "search_target", value)) {
            ondemand::object target = value.get_object();
            database.assign(textOf(target, "db"));
        }
        m_report.beginReport(program, version, database);
        if (!field(report, "results", value)) {
            fail(m_base, "no \"results\"");
        }
        for (ondemand::field result : value.get_object()) {
            const std::string_view key = result.unescaped_key();
            ondemand::value content = result.value();
            if (key == "search") {
                readSearch(content, m_report.isIterated() ? 1 : 0);
            } else if (key == "iterations") {
                // PSI-BLAST: a search per round, rounds counted from 1 in the report.
                unsigned int round = 0;
                for (ondemand::value iteration : content.get_array()) {
                    const char* at = placeOf(iteration);
                    ondemand::object rounds = iteration.get_object();
                    if (!field(rounds, "search", value)) {
                        fail(at, "no \"search\"");
                    }
                    readSearch(value, ++round);
                }
            } else if (key == "bl2seq") {
                // Searches against subjects given in a file (-subject).
                for (ondemand::value search : content.get_array()) {
                    readSearch(search, 0);
                }
            }
        }
    }

    void readSearch(ondemand::value& value, unsigned int round) {
        const char* at = placeOf(value);
        ondemand::object search = value.get_object();
        const std::string_view id = textOf(search, "query_id");
        const std::string_view title = textOf(search, "query_title");
        const std::string_view length = textOf(search, "query_len");
        attempt(at, [&] { m_report.beginSearch(id, title, length, round); });
        ondemand::value hits;
        if (field(search, "hits", hits)) {
            for (ondemand::value hit : hits.get_array()) {
                readHit(hit);
            }
        }
        m_report.endSearch();
    }

    void readHit(ondemand::value& value) {
        const char* at = placeOf(value);
        ondemand::object hit = value.get_object();
        ondemand::value descriptions;
        std::string_view id, title;
        if (field(hit, "description", descriptions)) {
            for (ondemand::value description : descriptions.get_array()) {
                ondemand::object first = description.get_object();
                id = textOf(first, "id");
                title = textOf(first, "title");
                break;  // the first names the subject; the others are entries merged into it
            }
        }
        if (id.empty()) {
            fail(at, "no \"description\" with an \"id\"");
        }
        const std::string_view length = textOf(hit, "len");
        attempt(at, [&] { m_report.beginHit(id, title, length); });
        ondemand::value hsps;
        if (field(hit, "hsps", hsps)) {
            for (ondemand::value hsp : hsps.get_array()) {
                const char* hspAt = placeOf(hsp);
                for (ondemand::field entry : hsp.get_object()) {
                    const std::string_view name = entry.unescaped_key();
                    ondemand::value content = entry.value();
                    const char* valueAt = placeOf(content);
                    const std::string_view text = textOf(content, name);
                    attempt(valueAt, [&] { m_report.setHspValue(name, text); });
                }
                attempt(hspAt, [&] { m_report.endHsp(); });
            }
        }
        m_report.endHit();
    }

    // Runs `step`; a value it cannot read is a fault at `at`.
    template <class Step>
    void attempt(const char* at, const Step& step) const {
        try {
            step();
        } catch (const std::invalid_argument& problem) {
            fail(at, problem.what());
        }
    }

    Window m_window;
    BlastReport m_report;
    simdjson::dom::parser m_checker;
    ondemand::parser m_parser;
    // The report being read, with the padding simdjson reads past its end.
    std::string m_buffer;
    const char* m_base = nullptr;
    std::size_t m_begin = 0;
};

}  // namespace

bool isBlastJson(std::string_view head) {
    if (!startsWith(head, "{")) {
        return false;
    }
    head = trimmed(head.substr(1));
    return startsWith(head, "\"BlastOutput2\"") || startsWith(head, "\"BlastJSON\"");
}

void parseBlastJson(Input& in, const ReadContext& context, const EachQuery& each) {
    Parser parser(in, context.source, each);
    parser.parse();
}

}  // namespace internal
}  // namespace NorvSearch
