#ifndef NORVSEQ_SEQUENCE_H
#define NORVSEQ_SEQUENCE_H

// What NorvExt may ask of a sequence, which it holds only through a shared
// pointer: its letters, a copy, and the three values that name it.

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace Norv {

class Sequence {
public:
    struct Range {
        unsigned int start;
        unsigned int end;

        Range();
        Range(unsigned int s, unsigned int e);
    };

    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) = delete;
    virtual ~Sequence();

    unsigned int getID() const;
    const std::string& getSourceID() const;
    const std::string& getName() const;

    void copyData(std::vector<char>& out, unsigned int count, unsigned int first) const;
    virtual boost::shared_ptr<Sequence> clone() const;
};

}  // namespace Norv

#endif
