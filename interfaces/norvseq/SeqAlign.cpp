#include <norvseq/SeqAlign.h>

#include <algorithm>

namespace Norv {

SeqAlign::SeqAlign() : m_subjectID(0), m_score(0), m_eValue(0.0), m_bitScore(0.0) {}

void SeqAlign::setLineSegs(unsigned int row, Segments segments) {
    if (row < 2) {
        m_segments[row] = std::move(segments);
    }
}

bool SeqAlign::getLineSegs(Segments& out, unsigned int row, bool merge, bool translated) const {
    out.clear();
    if (row >= 2) {
        return false;
    }
    for (const auto& segment : m_segments[row]) {
        if (merge && !out.empty() && segment.first <= out.back().second + 1 &&
            segment.second >= out.back().first - 1) {
            out.back().first = std::min(out.back().first, segment.first);
            out.back().second = std::max(out.back().second, segment.second);
        } else {
            out.push_back(segment);
        }
    }
    if (translated) {
        for (auto& segment : out) {
            segment.first *= 3;
            segment.second *= 3;
        }
    }
    return true;
}

}  // namespace Norv
