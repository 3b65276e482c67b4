#include <norvext/json/SearchJson.h>

#include <norvext/json/JsonText.h>

#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/Alignment.h>


namespace NorvJson {
namespace {

using Writer = JsonText;

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
    record.getLineSegs(segments, 1, false, false);
    json.raw(",").key("segments").pairs(segments).raw("}");
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
