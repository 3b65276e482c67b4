// A program outside the project that uses the installed package.
#include <norvext/NorvExt.h>
#include <norvseq/NorvSeq.h>
#include <norvutil/NorvUtil.h>

#include <iostream>
#include <sstream>
#include <vector>

int main() {
    Norv::AlignedBuf buf;
    Norv::Summary(7, 42, "title", nullptr, nullptr).write(buf);
    Norv::AlignedBuf in(buf.bytes());
    const Norv::Summary read(in);
    std::cout << "consumer: " << read.getID() << " W/W=" << Norv::Tarvik::defaultMatrix()['W']['W'] << '\n';
    // A call into each of the other two libraries, so that a link line that
    // lacks one of them fails.
    std::vector<char> letters;
    Norv::Sequence(1, "src", "name", "ACGT").copyData(letters, 2, 1);
    std::ostringstream indent;
    Norv::Indent(1).write(indent);
    const bool others = letters == std::vector<char>{'C', 'G'} && indent.str() == "  ";
    return read.getDatabase() == 7 && others ? 0 : 1;
}
