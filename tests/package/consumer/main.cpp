// A program outside the project that uses the installed package.
#include <norvext/NorvExt.h>
#include <norvseq/NorvSeq.h>
#include <norvutil/NorvUtil.h>

#include <iostream>

int main() {
    Norv::AlignedBuf buf;
    Norv::Summary(7, 42, "title", nullptr, nullptr).write(buf);
    Norv::AlignedBuf in(buf.bytes());
    const Norv::Summary read(in);
    std::cout << "consumer: " << read.getID() << " W/W=" << Norv::Tarvik::defaultMatrix()['W']['W'] << '\n';
    return read.getDatabase() == 7 ? 0 : 1;
}
