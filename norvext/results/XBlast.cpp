#include <norvext/results/XBlast.h>

#include <norvext/common/Dispatch.h>
#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/Summary.h>

#include <norvutil/Tracer.h>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace Norv {

namespace {

// Room reserved for hits when neither parameter object names a limit.
const unsigned int s_defaultHitHint = 100;

bool isValid(const Sequence::Range& range) { return range.start >= 1 && range.start <= range.end; }

unsigned int offsetOf(const Sequence::Range& range) { return isValid(range) ? range.start - 1 : 0; }

// The two matching keys. Source ids are viewed, not copied: every index
// built on them lives only while the viewed objects stand still.
struct NumericKey {
    typedef unsigned int Type;
    static Type of(const SeqAlign& record) { return record.getSubjectID(); }
    static Type of(const XBlastHit& hit) { return hit.getID(); }
    static Type of(const Summary& summary) { return summary.getID(); }
};

struct SourceKey {
    typedef std::string_view Type;
    static Type of(const SeqAlign& record) { return record.getSubjectSourceID(); }
    static Type of(const XBlastHit& hit) { return hit.getSourceID(); }
    static Type of(const Summary& summary) { return summary.getSourceID(); }
};

// Appends the records to `hits` (empty on entry), one hit per key. The
// index maps each key to the position of the hit made for its first record,
// which is the first hit with that key, so the result is that of a linear
// scan per record at O(1) a record.
template <class Key>
void group(XBlast::Hits& hits, const std::vector<SeqAlign>& records) {
    std::unordered_map<typename Key::Type, std::size_t> position;
    for (const SeqAlign& record : records) {
        const auto entry = position.emplace(Key::of(record), hits.size());
        if (entry.second) {
            hits.emplace_back(record);
        } else {
            hits[entry.first->second].add(record);
        }
    }
}

// Gives each summary to the first hit with its key. The source ids viewed
// by the index belong to the hits, which neither move nor change here.
template <class Key>
void attach(XBlast::Hits& hits, const std::vector<boost::shared_ptr<Summary>>& summaries) {
    std::unordered_map<typename Key::Type, std::size_t> first;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        first.emplace(Key::of(hits[i]), i);  // keeps the earliest position
    }
    for (const auto& summary : summaries) {
        if (summary) {
            const auto found = first.find(Key::of(*summary));
            if (found != first.end()) {
                hits[found->second].setSummary(summary);
            }
        }
    }
}

}  // namespace

XBlast::XBlast() = default;

XBlast::XBlast(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range)
    : m_query(query), m_range(range) {}

XBlast::XBlast(const XBlast&) = default;
XBlast& XBlast::operator=(const XBlast&) = default;
XBlast::~XBlast() = default;

void XBlast::setQuery(const boost::shared_ptr<Sequence>& query, unsigned int first, unsigned int count) {
    m_query = query;
    setRange(first, count);
}

void XBlast::setQuery(const boost::shared_ptr<Sequence>& query, const Sequence::Range& range) {
    m_query = query;
    m_range = range;
}

void XBlast::setRange(unsigned int first, unsigned int count) { m_range = Sequence::Range(first + 1, first + count); }

bool XBlast::isProtein() const { return m_params && m_params->isProtein(); }

const XBlastHit& XBlast::getHit(unsigned int index) const { return m_hits.at(index); }

void XBlast::add(const XBlastHit& hit) { m_hits.push_back(hit); }

XBlast::const_iterator XBlast::findHit(unsigned int id) const {
    return std::find_if(m_hits.begin(), m_hits.end(), [id](const XBlastHit& hit) { return hit.getID() == id; });
}

XBlast::iterator XBlast::findHit(unsigned int id) {
    return std::find_if(m_hits.begin(), m_hits.end(), [id](const XBlastHit& hit) { return hit.getID() == id; });
}

XBlast::const_iterator XBlast::findHit(const std::string& sourceID) const {
    const_iterator from = m_hits.begin();
    return findHit(sourceID, from);
}

XBlast::iterator XBlast::findHit(const std::string& sourceID) {
    return std::find_if(m_hits.begin(), m_hits.end(),
                        [&sourceID](const XBlastHit& hit) { return hit.getSourceID() == sourceID; });
}

XBlast::const_iterator XBlast::findHit(const std::string& sourceID, const_iterator& from) const {
    return std::find_if(from, end(), [&sourceID](const XBlastHit& hit) { return hit.getSourceID() == sourceID; });
}

bool XBlast::getIDSet(std::vector<unsigned int>& ids) const {
    for (const XBlastHit& hit : m_hits) {
        ids.push_back(hit.getID());
    }
    return !ids.empty();
}

bool XBlast::getSourceIDSet(std::vector<std::string>& ids) const {
    for (const XBlastHit& hit : m_hits) {
        ids.push_back(hit.getSourceID());
    }
    return !ids.empty();
}

void XBlast::setParamsData() {
    std::vector<char>* target = m_fastA ? &m_fastA->data() : m_params ? &m_params->data() : nullptr;
    if (!m_query || target == nullptr) {
        return;
    }
    const bool valid = isValid(m_range);
    const unsigned int count = valid ? m_range.end - m_range.start + 1 : 0;
    m_query->copyData(*target, count, offsetOf(m_range));
}

void XBlast::cloneQuery() {
    if (m_query) {
        m_query = m_query->clone();
    }
}

void XBlast::updateQuery() {
    for (XBlastHit& hit : m_hits) {
        hit.setQuery(m_query, m_range);
    }
}

void XBlast::assign(const std::vector<SeqAlign>& records, bool bySourceID) {
    unsigned int hint = s_defaultHitHint;
    if (m_fastA) {
        hint = m_fastA->getLimit();
    } else if (m_params) {
        hint = static_cast<unsigned int>(m_params->getLimit());
    }
    // Swapping with an empty vector also lets go of the old room, so the
    // reservation below is the only one that counts.
    Hits().swap(m_hits);
    // There are never more hits than records.
    m_hits.reserve(std::min<std::size_t>(hint, records.size()));
    if (bySourceID) {
        group<SourceKey>(m_hits, records);
    } else {
        group<NumericKey>(m_hits, records);
    }
    updateQuery();
}

void XBlast::assign(const std::vector<boost::shared_ptr<Summary>>& summaries, bool bySourceID) {
    if (summaries.empty() || m_hits.empty()) {
        return;
    }
    if (bySourceID) {
        attach<SourceKey>(m_hits, summaries);
    } else {
        attach<NumericKey>(m_hits, summaries);
    }
}

bool XBlast::addSubject(const boost::shared_ptr<Sequence>& subject, bool bySourceID) {
    if (!subject) {
        return false;
    }
    const iterator hit = bySourceID ? findHit(subject->getSourceID()) : findHit(subject->getID());
    if (hit == m_hits.end()) {
        return false;
    }
    hit->setSubject(subject);
    return true;
}

bool XBlast::getLineSet(LineSet& lines, bool flag) const {
    lines.resize(m_hits.size());
    if (m_hits.empty()) {
        return false;
    }
    const bool translated = m_params && m_params->isProtein() && m_params->isTranslated();
    for (std::size_t i = 0; i < m_hits.size(); ++i) {
        m_hits[i].getLineSegRow(lines[i], flag, translated);
    }
    const unsigned int offset = offsetOf(m_range);
    if (offset != 0) {
        // Unsigned arithmetic: an offset beyond the int range wraps instead
        // of overflowing.
        const auto shift = [offset](int position) {
            return static_cast<int>(static_cast<unsigned int>(position) - offset);
        };
        for (auto& row : lines) {
            for (auto& segments : row) {
                for (auto& segment : segments) {
                    segment.first = shift(segment.first);
                    segment.second = shift(segment.second);
                }
            }
        }
    }
    return true;
}

void XBlast::accept(Common::VisitorBase& visitor) { Common::dispatch(*this, visitor); }

void XBlast::dump(std::ostream& os, int level) const {
    Tracer trace(os, Indent(level), "XBlast");
    trace("query", m_query ? m_query->getName().c_str() : "(null)");
    trace("start", m_range.start);
    trace("end", m_range.end);
    if (m_params) {
        m_params->dump(os, trace.nestedIndent());
    } else {
        trace("params", "(null)");
    }
    if (m_fastA) {
        m_fastA->dump(os, trace.nestedIndent());
    } else {
        trace("fastA", "(null)");
    }
    for (const XBlastHit& hit : m_hits) {
        hit.dump(os, trace.nestedIndent());
    }
}

}  // namespace Norv
