#ifndef NORVEXT_PARAMS_BLOCK_H
#define NORVEXT_PARAMS_BLOCK_H

#include <cstddef>

namespace Norv {

// A fixed array of N values of type T. The index operator does not check:
// the position must be below N.
template <class T, std::size_t N>
struct Block {
    T m_values[N];

    T& operator[](std::size_t i) { return m_values[i]; }
    const T& operator[](std::size_t i) const { return m_values[i]; }
    static constexpr std::size_t size() { return N; }
};

}  // namespace Norv

#endif
