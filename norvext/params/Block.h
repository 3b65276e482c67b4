#ifndef NORVEXT_PARAMS_BLOCK_H
#define NORVEXT_PARAMS_BLOCK_H

#include <cstddef>

namespace Norv {

/// A fixed array of N values of type T. The index operator does not check:
/// the position must be below N.
template <class T, std::size_t N>
struct Block {
    /// The N values; public, so that a Block is an aggregate.
    T m_values[N];

    /** @{ */
    /// The value at position `i`, which must be below N (not checked).
    T& operator[](std::size_t i) { return m_values[i]; }
    const T& operator[](std::size_t i) const { return m_values[i]; }
    /** @} */
    /// The number of values, N.
    static constexpr std::size_t size() { return N; }
};

}  // namespace Norv

#endif
