#include <norvext/search/QueryJson.h>

#include <norvext/json/JsonText.h>

#include <norvseq/Alignment.h>


namespace NorvSearch {
namespace {

using NorvJson::JsonText;

// A position or length of 0 is none.
JsonText& positive(JsonText& json, unsigned int value) { return value == 0 ? json.null() : json.integer(value); }
JsonText& nonZero(JsonText& json, int value) { return value == 0 ? json.null() : json.integer(value); }
JsonText& letters(JsonText& json, const std::string& text) { return text.empty() ? json.null() : json.text(text); }

void alignment(JsonText& json, const AlignmentResult& alignment, Norv::SeqAlign::Segments& segments) {
    const Norv::SeqAlign& record = alignment.record;
    json.raw("{").key("score");
    alignment.hasScore ? json.integer(record.getScore()) : json.null();
    json.nextKey("eValue").real(record.getEValue());
    json.nextKey("bitScore").real(record.getBitScore());
    positive(json.nextKey("queryFrom"), record.getQueryRange().start);
    positive(json.nextKey("queryTo"), record.getQueryRange().end);
    positive(json.nextKey("subjectFrom"), record.getSubjectRange().start);
    positive(json.nextKey("subjectTo"), record.getSubjectRange().end);
    nonZero(json.nextKey("queryStrand"), alignment.queryStrand);
    nonZero(json.nextKey("subjectStrand"), alignment.subjectStrand);
    nonZero(json.nextKey("queryFrame"), alignment.queryFrame);
    nonZero(json.nextKey("subjectFrame"), alignment.subjectFrame);
    json.nextKey("alignmentLength").optional(alignment.alignmentLength);
    json.nextKey("identities").optional(alignment.identities);
    json.nextKey("positives").optional(alignment.positives);
    json.nextKey("mismatches").optional(alignment.mismatches);
    json.nextKey("gapOpens").optional(alignment.gapOpens);
    json.nextKey("gaps").optional(alignment.gaps);
    json.nextKey("percentIdentity").optional(alignment.percentIdentity);
    letters(json.nextKey("querySeq"), alignment.queryLetters);
    letters(json.nextKey("subjectSeq"), alignment.subjectLetters);
    record.getLineSegs(segments, 1, false, false);
    json.nextKey("segments").pairs(segments).raw("}");
}

void hit(JsonText& json, const Norv::XBlastHit& hit, const QueryResult& result, const std::vector<std::size_t>& places,
         Norv::SeqAlign::Segments& segments) {
    json.raw("{").key("id").integer(hit.getID());
    json.nextKey("sourceID").text(hit.getSourceID());
    json.nextKey("title").text(hit.getSummary() ? hit.getSummary()->getTitle() : std::string());
    std::optional<unsigned int> length;
    for (const std::size_t place : places) {
        length = length ? length : result.alignments[place].subjectLength;
    }
    json.nextKey("length").optional(length);
    const bool scored = !places.empty() && result.alignments[places.front()].hasScore;
    json.nextKey("best").raw("{").key("score");
    scored ? json.integer(hit.getScore()) : json.null();
    json.nextKey("eValue").real(hit.getEValue()).nextKey("bitScore").real(hit.getBitScore());
    json.raw("},").key("alignments").raw("[");
    const char* separator = "";
    for (const std::size_t place : places) {
        json.raw(separator);
        alignment(json, result.alignments[place], segments);
        separator = ",";
    }
    json.raw("]}");
}

JsonText& textOrNull(JsonText& json, const std::string& text) { return text.empty() ? json.null() : json.text(text); }

}  // namespace

void queryToJson(const QueryResult& result, std::string& out) { queryToJson(result, makeSearch(result), out); }

void queryToJson(const QueryResult& result, const Norv::XBlast& search, std::string& out) {
    const std::vector<std::vector<std::size_t>> places = hitAlignments(result);
    JsonText json(out);
    json.raw("{").key("query").raw("{").key("id").text(result.id);
    json.nextKey("description").text(result.description);
    positive(json.nextKey("length"), result.length);
    if (result.round != 0) {
        json.nextKey("round").integer(result.round);
    }
    textOrNull(json.nextKey("program"), result.program);
    textOrNull(json.nextKey("version"), result.version);
    textOrNull(json.nextKey("database"), result.database);
    json.raw("},").key("hits").raw("[");
    Norv::SeqAlign::Segments segments;
    const char* separator = "";
    for (std::size_t i = 0; i < search.getHitCount(); ++i) {
        json.raw(separator);
        hit(json, search.getHit(i), result, places[i], segments);
        separator = ",";
    }
    json.raw("]}");
}

}  // namespace NorvSearch
