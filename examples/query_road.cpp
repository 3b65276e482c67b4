// A database query on its way between two modules: the formulating module
// builds and writes it, the running module reads it, adds what it found and
// writes it back, and the formulating module reads the answer and walks the
// hits. Given a folder, it saves the two buffers there as query-request.bin
// and query-reply.bin.
#include <norvext/NorvExt.h>
#include <norvutil/NorvUtil.h>

#include "SaveBuffer.h"

#include <boost/make_shared.hpp>

#include <iostream>

namespace {

// Prints one line per hit record that it is offered.
struct HitLister : Common::VisitorBase, Common::Visitor<Norv::Summary> {
    void visit(Norv::Summary& hit) override {
        std::cout << "hit " << hit.getID() << " from " << hit.getSourceDB() << ": " << hit.getTitle() << '\n';
    }
};

// What the running module makes of a request: it only sees the bytes.
Norv::AlignedBuf run(const Norv::AlignedBuf& request) {
    Norv::AlignedBuf in(request.bytes());
    Norv::DBQuery query;
    query.read(in);
    std::cout << "-- running module received database " << query.getDatabase() << ":\n";
    query.dump(std::cout, 0);

    Norv::Summary first(query.getDatabase(), 1041, "Serine/threonine-protein kinase", "KS6A1_HUMAN", nullptr);
    first.setSourceDB("swissprot");
    Norv::Summary second(query.getDatabase(), 2203, "Tyrosine-protein kinase", "ABL1_MOUSE", nullptr);
    second.setSourceDB("swissprot");
    query.setHitCount(2);
    query.add(boost::make_shared<Norv::Summary>(first));
    query.add(boost::make_shared<Norv::Summary>(second));

    Norv::AlignedBuf reply;
    query.write(reply);
    return reply;
}

}  // namespace

int main(int argc, char** argv) {
    const char* saveTo = argc > 1 ? argv[1] : nullptr;

    using Norv::DBTerm;
    const auto description = boost::make_shared<Norv::DBStringTerm>("description", "kinase*", DBTerm::LIKE);
    const auto date = boost::make_shared<Norv::DBRangeTerm>("date", "2001", "2005");
    const auto both = boost::make_shared<Norv::DBBooleanTerm>(description, Norv::DBBooleanTerm::AND, date);
    const Norv::DBQuery request(7, both);

    Norv::AlignedBuf sent;
    request.write(sent);
    Example::saveBuffer(saveTo, "query-request.bin", sent);
    std::cout << "-- formulating module wrote " << sent.size() << " bytes, databases text \""
              << request.getDatabasesStr() << "\"\n";

    const Norv::AlignedBuf reply = run(sent);
    Example::saveBuffer(saveTo, "query-reply.bin", reply);
    std::cout << "-- running module wrote " << reply.size() << " bytes back\n";

    Norv::AlignedBuf in(reply.bytes());
    Norv::DBQuery answer;
    answer.read(in);
    std::cout << "-- formulating module read " << answer.getHitCount() << " hits:\n";
    HitLister lister;
    answer.visitResult(lister);
    answer.dump(std::cout, 0);
    return 0;
}
