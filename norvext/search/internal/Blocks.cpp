#include "Blocks.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace NorvSearch {
namespace internal {
namespace {

// Walks the query through the columns and collects the blocks.
class BlockWalker {
public:
    explicit BlockWalker(const QueryWalk& walk) : m_walk(walk), m_next(walk.first) {
        // Most alignments have a few blocks: one allocation instead of one
        // per doubling.
        m_blocks.segments.reserve(4);
    }

    // `count` query letters each aligned to a subject letter.
    void aligned(unsigned long count) {
        if (count == 0) {
            return;
        }
        const long span = static_cast<long>(count) * m_walk.step;
        const long lower = m_walk.direction > 0 ? m_next : m_next - span + 1;
        const long upper = m_walk.direction > 0 ? m_next + span - 1 : m_next;
        if (lower < 1 || upper > std::numeric_limits<int>::max()) {
            throw std::invalid_argument("the alignment runs outside the positions of the query");
        }
        if (m_open) {
            auto& block = m_blocks.segments.back();
            block.first = std::min<long>(block.first, lower);
            block.second = std::max<long>(block.second, upper);
        } else {
            // A frameshift back may reach into the block before: blocks stay apart.
            long from = lower, to = upper;
            if (!m_blocks.segments.empty()) {
                const auto& last = m_blocks.segments.back();
                from = m_walk.direction > 0 ? std::max<long>(from, last.second + 1L) : from;
                to = m_walk.direction < 0 ? std::min<long>(to, last.first - 1L) : to;
            }
            if (from <= to) {
                m_blocks.segments.emplace_back(static_cast<int>(from), static_cast<int>(to));
                m_open = true;
            }
        }
        advance(count);
    }
    // A frameshift of the translated query by `nucleotides` (+1 skips one,
    // -1 steps back one): it ends the block.
    void shift(long nucleotides) {
        m_open = false;
        m_next += m_walk.direction * nucleotides;
        m_blocks.frameshift += nucleotides;
    }
    // `count` query letters against gaps of the subject.
    void queryOnly(unsigned long count) {
        m_open = false;
        advance(count);
    }
    // A subject letter against a gap of the query.
    void subjectOnly() { m_open = false; }

    Blocks finish() {
        if (m_walk.direction < 0) {
            std::reverse(m_blocks.segments.begin(), m_blocks.segments.end());
        }
        return std::move(m_blocks);
    }

private:
    void advance(unsigned long count) {
        m_next += m_walk.direction * static_cast<long>(count) * m_walk.step;
        m_blocks.queryLetters += count;
    }

    QueryWalk m_walk;
    long m_next;
    bool m_open = false;
    Blocks m_blocks;
};

}  // namespace

Blocks blocksFromLetters(std::string_view query, std::string_view subject, const QueryWalk& walk) {
    if (query.size() != subject.size()) {
        throw std::invalid_argument("the aligned query has " + std::to_string(query.size()) +
                                    " letters and the aligned subject " + std::to_string(subject.size()));
    }
    BlockWalker walker(walk);
    for (std::size_t i = 0; i < query.size();) {
        std::size_t run = i;
        while (run < query.size() && query[run] != '-' && subject[run] != '-' && query[run] != '/' &&
               query[run] != '\\') {
            ++run;
        }
        walker.aligned(run - i);
        if (run == query.size()) {
            break;
        }
        if (query[run] == '/' || query[run] == '\\') {
            walker.shift(query[run] == '/' ? -1 : 1);
        } else if (query[run] == '-') {
            walker.subjectOnly();
        } else {
            walker.queryOnly(1);
        }
        i = run + 1;
    }
    return walker.finish();
}

Blocks blocksFromBtop(std::string_view btop, const QueryWalk& walk) {
    BlockWalker walker(walk);
    // Aligned columns, numbers and pairs of two letters alike, are passed
    // on a run at a time: a run in two calls makes the same block as in one.
    unsigned long run = 0;
    for (std::size_t i = 0; i < btop.size();) {
        if (btop[i] >= '0' && btop[i] <= '9') {
            unsigned long count = 0;
            for (; i < btop.size() && btop[i] >= '0' && btop[i] <= '9'; ++i) {
                count = count * 10 + static_cast<unsigned long>(btop[i] - '0');
                if (count > std::numeric_limits<int>::max()) {
                    throw std::invalid_argument("BTOP: a run of identical letters is too long");
                }
            }
            if (run > std::numeric_limits<int>::max() - count) {
                walker.aligned(run);  // runs stay within int
                run = 0;
            }
            run += count;
            continue;
        }
        if (i + 1 == btop.size()) {
            throw std::invalid_argument("BTOP: '" + std::string(1, btop[i]) + "' at its end lacks its pair");
        }
        const char query = btop[i];
        const char subject = btop[i + 1];
        i += 2;
        if (query == '-' && subject == '-') {
            throw std::invalid_argument("BTOP: a column of two gaps");
        }
        if (query != '/' && query != '\\' && query != '-' && subject != '-') {
            ++run;
            continue;
        }
        walker.aligned(run);
        run = 0;
        if (query == '/' || query == '\\') {
            walker.shift(query == '/' ? -1 : 1);
        } else if (query == '-') {
            walker.subjectOnly();
        } else {
            walker.queryOnly(1);
        }
    }
    walker.aligned(run);
    return walker.finish();
}

Blocks blocksFromCigar(std::string_view cigar, const QueryWalk& walk) {
    BlockWalker walker(walk);
    for (std::size_t i = 0; i < cigar.size();) {
        unsigned long count = 0;
        const std::size_t digits = i;
        for (; i < cigar.size() && cigar[i] >= '0' && cigar[i] <= '9'; ++i) {
            count = count * 10 + static_cast<unsigned long>(cigar[i] - '0');
            if (count > std::numeric_limits<int>::max()) {
                throw std::invalid_argument("CIGAR: a run is too long");
            }
        }
        if (i == digits || i == cigar.size()) {
            throw std::invalid_argument("CIGAR: '" + std::string(cigar.substr(digits, 8)) +
                                        "' is not a count and an operation");
        }
        const char operation = cigar[i++];
        if (operation == 'M' || operation == '=' || operation == 'X') {
            walker.aligned(count);
        } else if (operation == 'I') {
            walker.queryOnly(count);
        } else if (operation == 'D') {
            if (count > 0) {
                walker.subjectOnly();
            }
        } else {
            throw std::invalid_argument("CIGAR: unknown operation '" + std::string(1, operation) + "'");
        }
    }
    return walker.finish();
}

}  // namespace internal
}  // namespace NorvSearch
