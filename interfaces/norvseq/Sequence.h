#ifndef NORVSEQ_SEQUENCE_H
#define NORVSEQ_SEQUENCE_H

#include <norvseq/Export.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace Norv {

/// A sequence: numeric id, source id, display name and its letters.
class NORVSEQ_API Sequence {
public:
    /// A stretch of a sequence, 1-based and inclusive at both ends; {0, 0}
    /// stands for no range.
    struct NORVSEQ_API Range {
        /// The first position; 0 in {0, 0}.
        unsigned int start;
        /// The last position, included; 0 in {0, 0}.
        unsigned int end;

        /// No range: {0, 0}.
        Range() : start(0), end(0) {}
        /// {s, e} as given; nothing is checked.
        Range(unsigned int s, unsigned int e) : start(s), end(e) {}

        /// True when both ends are equal.
        bool operator==(const Range& other) const { return start == other.start && end == other.end; }
    };

    /// An empty sequence with id 0 and no name.
    Sequence();
    /// Holds copies of the id, the two texts and the letters.
    Sequence(unsigned int id, const std::string& sourceID, const std::string& name, const std::string& letters);
    /// Copies id, texts and letters.
    Sequence(const Sequence&) = default;
    /// Replaces id, texts and letters.
    Sequence& operator=(const Sequence&) = default;
    virtual ~Sequence();

    /// The numeric id.
    unsigned int getID() const { return m_id; }
    /// The source id text.
    const std::string& getSourceID() const { return m_sourceID; }
    /// The display name.
    const std::string& getName() const { return m_name; }

    /// Replaces `out` with the `count` letters starting at zero-based `first`.
    /// A count of 0 gives an empty `out`. Throws std::out_of_range (leaving
    /// `out` alone) when the stretch runs past the end of the sequence.
    void copyData(std::vector<char>& out, unsigned int count, unsigned int first) const;

    /// A new, independent copy of this sequence (of its most derived class).
    virtual boost::shared_ptr<Sequence> clone() const;

private:
    unsigned int m_id;
    std::string m_sourceID;
    std::string m_name;
    std::string m_letters;
};

}  // namespace Norv

#endif
