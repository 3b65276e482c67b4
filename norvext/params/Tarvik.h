#ifndef NORVEXT_PARAMS_TARVIK_H
#define NORVEXT_PARAMS_TARVIK_H

#include <norvext/Export.h>
#include <norvext/params/Block.h>

namespace Norv {

/// The default amino-acid substitution matrix, BLOSUM62, indexed directly by
/// two character codes: Tarvik::defaultMatrix()['W']['W'] is 11. Only the
/// upper-case letters ARNDCQEGHILKMFPSTWYVBZX and '*' have scores; every other
/// pair holds -1000.
class NORVEXT_API Tarvik {
public:
    /// 128 by 128 scores, indexed by two character codes.
    typedef Block<Block<int, 128>, 128> Matrix;

    /// Holds nothing: the matrix is static.
    Tarvik() = default;
    /// Copies nothing.
    Tarvik(const Tarvik&) = default;
    /// Tarvik holds no instance data: assignment does nothing.
    Tarvik& operator=(const Tarvik&) { return *this; }

    /// The filled matrix. It is filled exactly once, on the first call, even
    /// when several threads make that call at once; afterwards it never
    /// changes and may be read from any number of threads.
    static const Matrix& defaultMatrix();

private:
    static void init();

    static Matrix s_default;
    static bool s_initialized;
};

}  // namespace Norv

#endif
