#include <norvext/json/SearchJson.h>

#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/Alignment.h>

#include "internal/JsonEncoding.h"

namespace NorvJson {
namespace {

using internal::bytesToJson;
using internal::Json;
using internal::realToJson;

Json scores(int score, double eValue, double bitScore) {
    return Json{{"score", score}, {"eValue", realToJson(eValue)}, {"bitScore", realToJson(bitScore)}};
}

Json alignmentJson(const Norv::SeqAlign& record) {
    Json json = scores(record.getScore(), record.getEValue(), record.getBitScore());
    json["queryFrom"] = record.getQueryRange().start;
    json["queryTo"] = record.getQueryRange().end;
    json["subjectFrom"] = record.getSubjectRange().start;
    json["subjectTo"] = record.getSubjectRange().end;
    Norv::SeqAlign::Segments segments;
    record.getLineSegs(segments, 1, false, false);
    Json& list = json["segments"] = Json::array();
    for (const auto& segment : segments) {
        list.push_back(Json::array({segment.first, segment.second}));
    }
    return json;
}

Json hitJson(const Norv::XBlastHit& hit) {
    Json json{{"id", hit.getID()},
              {"sourceID", bytesToJson(hit.getSourceID())},
              {"title", bytesToJson(hit.getSummary() ? hit.getSummary()->getTitle() : std::string())},
              {"best", scores(hit.getScore(), hit.getEValue(), hit.getBitScore())}};
    Json& alignments = json["alignments"] = Json::array();
    for (const auto& alignment : hit.getAlignments()) {
        alignments.push_back(alignmentJson(alignment->getSeqAlign()));
    }
    return json;
}

}  // namespace

std::string searchToJson(const Norv::XBlast& search, int indent) {
    const auto& query = search.getQuery();
    const Norv::Sequence::Range& range = search.getRange();
    const unsigned int length = range.start >= 1 && range.start <= range.end ? range.end - range.start + 1 : 0;
    Json json{{"query",
               {{"id", bytesToJson(query ? query->getSourceID() : std::string())},
                {"description", bytesToJson(query ? query->getName() : std::string())},
                {"length", length}}}};
    Json& hits = json["hits"] = Json::array();
    for (const Norv::XBlastHit& hit : search) {
        hits.push_back(hitJson(hit));
    }
    return json.dump(indent);
}

}  // namespace NorvJson
