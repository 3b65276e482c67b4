#ifndef NORVUTIL_ALIGNEDBUF_H
#define NORVUTIL_ALIGNEDBUF_H

// What NorvExt may ask of NorvUtil's buffer: puts and gets in writing order,
// and nothing else. It never makes, copies, seeks, rewinds or sizes a buffer.
// Declarations only, for compiling the library against; nothing links here.

#include <string>

namespace Norv {

class AlignedBuf {
public:
    AlignedBuf() = delete;
    AlignedBuf(const AlignedBuf&) = delete;
    AlignedBuf& operator=(const AlignedBuf&) = delete;

    void put(unsigned int value);
    void put(bool value);
    void put(double value);
    void put(const unsigned char* bytes, unsigned int n);

    void get(unsigned int& value);
    void get(int& value);
    void get(bool& value);
    void get(double& value);
    void get(std::string& value);
    const char* gets(unsigned int n);
};

}  // namespace Norv

#endif
