#include <norvseq/Sequence.h>

#include <boost/make_shared.hpp>

#include <stdexcept>

namespace Norv {

Sequence::Sequence() : m_id(0) {}

Sequence::Sequence(unsigned int id, const std::string& sourceID, const std::string& name,
                   const std::string& letters)
    : m_id(id), m_sourceID(sourceID), m_name(name), m_letters(letters) {}

Sequence::~Sequence() = default;

void Sequence::copyData(std::vector<char>& out, unsigned int count, unsigned int first) const {
    const std::size_t size = m_letters.size();
    if (first > size || count > size - first) {
        throw std::out_of_range("Sequence::copyData: letters " + std::to_string(first) + " to " +
                                std::to_string(static_cast<unsigned long long>(first) + count) +
                                " lie beyond the " + std::to_string(size) + " letters of the sequence");
    }
    out.assign(m_letters.begin() + first, m_letters.begin() + first + count);
}

boost::shared_ptr<Sequence> Sequence::clone() const { return boost::make_shared<Sequence>(*this); }

}  // namespace Norv
