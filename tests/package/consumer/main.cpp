// A program outside the project that uses the installed package.
#include <norvext/NorvExt.h>
#include <norvext/json/NorvJson.h>
#if defined(NORVEXT_CONSUMER_SEARCH)
#include <norvext/search/NorvSearch.h>
#endif
#include <norvseq/NorvSeq.h>
#include <norvutil/NorvUtil.h>

#include <boost/make_shared.hpp>

#include <iostream>
#include <sstream>
#include <vector>

namespace {

std::vector<unsigned char> bytesOf(const Norv::DBQuery& query) {
    Norv::AlignedBuf buf;
    query.write(buf);
    return buf.bytes();
}

}  // namespace

int main() {
    Norv::AlignedBuf buf;
    Norv::Summary(7, 42, "title", nullptr, nullptr).write(buf);
    Norv::AlignedBuf in(buf.bytes());
    const Norv::Summary read(in);
    // A query through JSON and back, to the same bytes.
    const auto term = boost::make_shared<Norv::DBStringTerm>("description", "kinase*", Norv::DBTerm::LIKE);
    const Norv::DBQuery query(7, term);
    const std::string json = NorvJson::toJson(query, -1);
    const bool same = bytesOf(NorvJson::fromJson<Norv::DBQuery>(json)) == bytesOf(query);
    std::cout << "consumer: " << read.getID() << " W/W=" << Norv::Tarvik::defaultMatrix()['W']['W']
              << " json=" << (same ? "same" : "other");
#if defined(NORVEXT_CONSUMER_SEARCH)
    std::istringstream tabular("q\ts\t99\t3\t0\t0\t1\t3\t1\t3\t1e-5\t30\n");
    std::cout << " search=" << NorvSearch::SearchReader().readAll(tabular).at(0).alignments.size();
#endif
    std::cout << '\n';
    // A call into each of the other two libraries, so that a link line that
    // lacks one of them fails.
    std::vector<char> letters;
    Norv::Sequence(1, "src", "name", "ACGT").copyData(letters, 2, 1);
    std::ostringstream indent;
    Norv::Indent(1).write(indent);
    const bool others = letters == std::vector<char>{'C', 'G'} && indent.str() == "  ";
    return read.getDatabase() == 7 && others && same ? 0 : 1;
}
