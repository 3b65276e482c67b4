#include <norvext/search/QueryJson.h>

#include <norvext/json/JsonText.h>

#include <norvseq/Alignment.h>

#include <unordered_map>

namespace NorvSearch {
namespace {

using NorvJson::JsonText;

// A position or length of 0 is none.
JsonText& positive(JsonText& json, unsigned int value) { return value == 0 ? json.null() : json.integer(value); }
JsonText& nonZero(JsonText& json, int value) { return value == 0 ? json.null() : json.integer(value); }
JsonText& letters(JsonText& json, const std::string& text) { return text.empty() ? json.null() : json.text(text); }

// The alignments of each hit of makeSearch(result), as places in
// result.alignments: hits in order of first appearance, by the key that
// makeSearch groups by.
std::vector<std::vector<std::size_t>> hitAlignments(const QueryResult& result) {
    const bool bySourceID = groupsBySourceID(result);
    std::unordered_map<std::string, std::size_t> hitOf;
    std::vector<std::vector<std::size_t>> hits;
    for (std::size_t i = 0; i < result.alignments.size(); ++i) {
        const Norv::SeqAlign& record = result.alignments[i].record;
        const std::string key =
            bySourceID ? record.getSubjectSourceID() : std::to_string(record.getSubjectID());
        const auto found = hitOf.emplace(key, hits.size());
        if (found.second) {
            hits.emplace_back();
        }
        hits[found.first->second].push_back(i);
    }
    return hits;
}

void alignment(JsonText& json, const AlignmentResult& alignment, Norv::SeqAlign::Segments& segments) {
    const Norv::SeqAlign& record = alignment.record;
    json.raw("{").key("score");
    alignment.hasScore ? json.integer(record.getScore()) : json.null();
    json.raw(",").key("eValue").real(record.getEValue());
    json.raw(",").key("bitScore").real(record.getBitScore());
    positive(json.raw(",").key("queryFrom"), record.getQueryRange().start);
    positive(json.raw(",").key("queryTo"), record.getQueryRange().end);
    positive(json.raw(",").key("subjectFrom"), record.getSubjectRange().start);
    positive(json.raw(",").key("subjectTo"), record.getSubjectRange().end);
    nonZero(json.raw(",").key("queryStrand"), alignment.queryStrand);
    nonZero(json.raw(",").key("subjectStrand"), alignment.subjectStrand);
    nonZero(json.raw(",").key("queryFrame"), alignment.queryFrame);
    nonZero(json.raw(",").key("subjectFrame"), alignment.subjectFrame);
    json.raw(",").key("alignmentLength").optional(alignment.alignmentLength);
    json.raw(",").key("identities").optional(alignment.identities);
    json.raw(",").key("positives").optional(alignment.positives);
    json.raw(",").key("mismatches").optional(alignment.mismatches);
    json.raw(",").key("gapOpens").optional(alignment.gapOpens);
    json.raw(",").key("gaps").optional(alignment.gaps);
    json.raw(",").key("percentIdentity").optional(alignment.percentIdentity);
    letters(json.raw(",").key("querySeq"), alignment.queryLetters);
    letters(json.raw(",").key("subjectSeq"), alignment.subjectLetters);
    record.getLineSegs(segments, 1, false, false);
    json.raw(",").key("segments").pairs(segments).raw("}");
}

void hit(JsonText& json, const Norv::XBlastHit& hit, const QueryResult& result, const std::vector<std::size_t>& places,
         Norv::SeqAlign::Segments& segments) {
    json.raw("{").key("id").integer(hit.getID());
    json.raw(",").key("sourceID").text(hit.getSourceID());
    json.raw(",").key("title").text(hit.getSummary() ? hit.getSummary()->getTitle() : std::string());
    std::optional<unsigned int> length;
    for (const std::size_t place : places) {
        length = length ? length : result.alignments[place].subjectLength;
    }
    json.raw(",").key("length").optional(length);
    const bool scored = !places.empty() && result.alignments[places.front()].hasScore;
    json.raw(",").key("best").raw("{").key("score");
    scored ? json.integer(hit.getScore()) : json.null();
    json.raw(",").key("eValue").real(hit.getEValue()).raw(",").key("bitScore").real(hit.getBitScore());
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

void queryToJson(const QueryResult& result, std::string& out) {
    const Norv::XBlast search = makeSearch(result);
    const std::vector<std::vector<std::size_t>> places = hitAlignments(result);
    JsonText json(out);
    json.raw("{").key("query").raw("{").key("id").text(result.id);
    json.raw(",").key("description").text(result.description);
    positive(json.raw(",").key("length"), result.length);
    if (result.round != 0) {
        json.raw(",").key("round").integer(result.round);
    }
    textOrNull(json.raw(",").key("program"), result.program);
    textOrNull(json.raw(",").key("version"), result.version);
    textOrNull(json.raw(",").key("database"), result.database);
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
