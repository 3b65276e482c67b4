#include <norvext/json/SearchJson.h>

#include <norvext/common/internal/Utf8.h>
#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/Alignment.h>

#include "internal/JsonEncoding.h"

#include <charconv>
#include <cmath>

namespace NorvJson {
namespace {

// Writes the JSON text straight into a string: a search record is printed
// often and in bulk, and building a JSON tree first would cost more than the
// reading of the output it came from.
class Writer {
public:
    explicit Writer(std::string& out) : m_out(out) {}

    // Text as it stands; its length is known when it is compiled.
    template <std::size_t N>
    Writer& raw(const char (&text)[N]) {
        m_out.append(text, N - 1);
        return *this;
    }
    Writer& raw(const char* text) {
        m_out += text;
        return *this;
    }
    template <std::size_t N>
    Writer& key(const char (&name)[N]) {
        m_out += '"';
        m_out.append(name, N - 1);
        m_out.append("\":", 2);
        return *this;
    }
    template <class Integer>
    Writer& integer(Integer value) {
        char text[24];
        m_out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
        return *this;
    }
    // The shortest text that reads back to the same double, as toJson()
    // writes it ("NaN", "Infinity" where JSON has no number).
    Writer& real(double value) {
        if (!std::isfinite(value)) {
            m_out += internal::realToJson(value).dump();
            return *this;
        }
        char text[32];
        m_out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
        return *this;
    }
    // Bytes as a JSON string, or {"base64": ...} when they are not UTF-8.
    Writer& text(const std::string& bytes) {
        if (!Norv::internal::isUtf8(bytes)) {
            m_out += "{\"base64\":\"" + internal::base64(bytes) + "\"}";
            return *this;
        }
        m_out += '"';
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += c;
            } else if (byte < 0x20) {
                static const char kHex[] = "0123456789abcdef";
                m_out += "\\u00";
                m_out += kHex[byte >> 4];
                m_out += kHex[byte & 15];
            } else {
                m_out += c;
            }
        }
        m_out += '"';
        return *this;
    }

private:
    std::string& m_out;
};

void scores(Writer& json, int score, double eValue, double bitScore) {
    json.key("score").integer(score).raw(",").key("eValue").real(eValue).raw(",").key("bitScore").real(bitScore);
}

void alignment(Writer& json, const Norv::SeqAlign& record, Norv::SeqAlign::Segments& segments) {
    json.raw("{");
    scores(json, record.getScore(), record.getEValue(), record.getBitScore());
    json.raw(",").key("queryFrom").integer(record.getQueryRange().start);
    json.raw(",").key("queryTo").integer(record.getQueryRange().end);
    json.raw(",").key("subjectFrom").integer(record.getSubjectRange().start);
    json.raw(",").key("subjectTo").integer(record.getSubjectRange().end);
    json.raw(",").key("segments").raw("[");
    record.getLineSegs(segments, 1, false, false);
    const char* separator = "";
    for (const auto& segment : segments) {
        json.raw(separator).raw("[").integer(segment.first).raw(",").integer(segment.second).raw("]");
        separator = ",";
    }
    json.raw("]}");
}

void hit(Writer& json, const Norv::XBlastHit& hit, Norv::SeqAlign::Segments& segments) {
    json.raw("{").key("id").integer(hit.getID());
    json.raw(",").key("sourceID").text(hit.getSourceID());
    json.raw(",").key("title").text(hit.getSummary() ? hit.getSummary()->getTitle() : std::string());
    json.raw(",").key("best").raw("{");
    scores(json, hit.getScore(), hit.getEValue(), hit.getBitScore());
    json.raw("},").key("alignments").raw("[");
    const char* separator = "";
    for (const auto& each : hit.getAlignments()) {
        json.raw(separator);
        alignment(json, each->getSeqAlign(), segments);
        separator = ",";
    }
    json.raw("]}");
}

}  // namespace

std::string searchToJson(const Norv::XBlast& search) {
    std::string out;
    searchToJson(search, out);
    return out;
}

void searchToJson(const Norv::XBlast& search, std::string& out) {
    Writer json(out);
    const auto& query = search.getQuery();
    const Norv::Sequence::Range& range = search.getRange();
    const unsigned int length = range.start >= 1 && range.start <= range.end ? range.end - range.start + 1 : 0;
    json.raw("{").key("query").raw("{").key("id").text(query ? query->getSourceID() : std::string());
    json.raw(",").key("description").text(query ? query->getName() : std::string());
    json.raw(",").key("length").integer(length).raw("},").key("hits").raw("[");
    Norv::SeqAlign::Segments segments;
    const char* separator = "";
    for (const Norv::XBlastHit& each : search) {
        json.raw(separator);
        hit(json, each, segments);
        separator = ",";
    }
    json.raw("]}");
}

}  // namespace NorvJson
