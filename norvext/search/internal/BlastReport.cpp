#include "BlastReport.h"

#include "Fields.h"

#include <cstring>
#include <string_view>
#include <stdexcept>

namespace NorvSearch {
namespace internal {
namespace {

// The values of an alignment the record takes, in the order BLAST writes
// them; the first seven are needed.
enum HspValue {
    BitScore, Score, EValue, QueryFrom, QueryTo, HitFrom, HitTo, QueryFrame, HitFrame, QueryStrand, HitStrand,
    Identity, Positive, Gaps, AlignLength, QueryLetters, HitLetters, kHspValues
};
// As views, whose lengths are known without counting.
constexpr std::string_view kHspNames[kHspValues] = {
    "bit_score", "score", "evalue", "query_from", "query_to", "hit_from", "hit_to", "query_frame", "hit_frame",
    "query_strand", "hit_strand", "identity", "positive", "gaps", "align_len", "qseq", "hseq"};
constexpr int kRequired = 7;

int valueOf(std::string_view name) {
    for (int value = 0; value < kHspValues; ++value) {
        if (isNamed(name, kHspNames[value])) {
            return value;
        }
    }
    return -1;
}

// BLAST's "Plus" and "Minus", as a printed frame is read.
int strandOf(std::string_view text) {
    if (text == "Plus") {
        return 1;
    }
    if (text == "Minus") {
        return -1;
    }
    throw std::invalid_argument("'" + std::string(text) + "' is neither Plus nor Minus");
}

}  // namespace

bool isNamed(std::string_view given, std::string_view json) {
    if (given.size() != json.size()) {
        return false;
    }
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] != json[i] && !(given[i] == '-' && json[i] == '_')) {
            return false;
        }
    }
    return true;
}

std::string BlastReport::spell(std::string_view name) const {
    if (!m_xml) {
        return '"' + std::string(name) + '"';
    }
    std::string tag = '<' + std::string(name) + '>';
    for (char& c : tag) {
        c = c == '_' ? '-' : c;
    }
    return tag;
}

void BlastReport::beginReport(std::string_view program, std::string_view version, std::string_view database) {
    m_program.assign(trimmed(program));
    m_version.assign(trimmed(version));
    m_database.assign(trimmed(database));
    m_sides = Sides{findProgram(m_program), {}};
}

bool BlastReport::isIterated() const {
    return m_sides.program != nullptr && std::strcmp(m_sides.program->name, "psiblast") == 0;
}

void BlastReport::beginSearch(std::string_view id, std::string_view title, std::string_view length,
                              unsigned int round) {
    m_query = QueryResult();
    m_query.program = m_program;
    m_query.version = m_version;
    m_query.database = m_database;
    m_query.round = round;
    nameQuery(trimmed(id), definitionOf(title), m_query);
    if (m_query.id.empty()) {
        throw std::invalid_argument("the query has neither an id nor a title");
    }
    try {
        m_query.length = trimmed(length).empty() ? 0 : parsePosition(trimmed(length));
    } catch (const std::invalid_argument& problem) {
        throw std::invalid_argument(spell("query_len") + ": " + problem.what());
    }
}

void BlastReport::beginHit(std::string_view id, std::string_view title, std::string_view length) {
    m_hit = Hsp();
    m_title.clear();
    nameSubject(trimmed(id), definitionOf(title), m_hit, m_title);
    m_hit.queryLength = m_query.length;
    try {
        if (!trimmed(length).empty()) {
            m_hit.subjectLength = parsePosition(trimmed(length));
        }
    } catch (const std::invalid_argument& problem) {
        throw std::invalid_argument(spell("len") + ": " + problem.what());
    }
    m_hsp = m_hit;
    m_alignment = nullptr;
    m_given = 0;
}

bool BlastReport::setHspValue(std::string_view name, std::string_view text) {
    const int value = valueOf(name);
    if (value < 0) {
        return false;
    }
    if (m_alignment == nullptr) {
        m_alignment = &m_query.alignments.emplace_back();
    }
    text = trimmed(text);
    try {
        switch (value) {
        case BitScore: m_hsp.bitScore = parseReal(text); break;
        case Score: m_hsp.score = parseInt(text); break;
        case EValue: m_hsp.eValue = parseReal(text); break;
        case QueryFrom: m_hsp.queryFrom = parsePosition(text); break;
        case QueryTo: m_hsp.queryTo = parsePosition(text); break;
        case HitFrom: m_hsp.subjectFrom = parsePosition(text); break;
        case HitTo: m_hsp.subjectTo = parsePosition(text); break;
        case QueryFrame: m_hsp.queryFrame = parseInt(text); break;
        case HitFrame: m_hsp.subjectFrame = parseInt(text); break;
        case QueryStrand: m_hsp.queryFrame = strandOf(text); break;
        case HitStrand: m_hsp.subjectFrame = strandOf(text); break;
        case Identity: m_alignment->identities = parseCount(text); break;
        case Positive: m_alignment->positives = parseCount(text); break;
        case Gaps: m_alignment->gaps = parseCount(text); break;
        case AlignLength: m_alignment->alignmentLength = parseCount(text); break;
        case QueryLetters: m_hsp.queryLetters = text; break;
        case HitLetters: m_hsp.subjectLetters = text; break;
        default: break;
        }
    } catch (const std::invalid_argument& problem) {
        throw std::invalid_argument(spell(kHspNames[value]) + ": " + problem.what());
    }
    m_given |= 1u << value;
    return true;
}

void BlastReport::endHsp() {
    for (int value = 0; value < kRequired; ++value) {
        if ((m_given & (1u << value)) == 0) {
            throw std::invalid_argument("no " + spell(kHspNames[value]));
        }
    }
    try {
        makeAlignment(m_hsp, m_sides, *m_alignment);
    } catch (const std::invalid_argument& problem) {
        throw std::invalid_argument(spell("hsp") + ": " + problem.what());
    }
    m_hsp = m_hit;
    m_alignment = nullptr;
    m_given = 0;
}

void BlastReport::endHit() { m_query.subjects.push_back(makeSubject(m_hit, m_title, m_database)); }

void BlastReport::endSearch() { m_each(std::move(m_query)); }

}  // namespace internal
}  // namespace NorvSearch
