// Visitor dispatch, through the classes that take visitors: accept() calls
// the visitor's interface for the class once, through a base pointer too,
// and ignores a visitor without it.
#include <norvext/common/Visitor.h>
#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBQuery.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using Norv::DBBooleanTerm;
using Norv::DBQuery;
using Norv::Summary;

namespace {

boost::shared_ptr<Summary> hit(unsigned int id) { return boost::make_shared<Summary>(3, id, "t", nullptr, nullptr); }

struct Recorder : Common::VisitorBase, Common::Visitor<Summary>, Common::Visitor<DBBooleanTerm> {
    std::vector<unsigned int> ids;
    int terms = 0;
    void visit(Summary& s) override { ids.push_back(s.getID()); }
    void visit(DBBooleanTerm&) override { ++terms; }
};

}  // namespace

TEST(DBQuery, VisitsTheRootTermAndTheHitsOnly) {
    DBQuery query(1, boost::make_shared<DBBooleanTerm>(boost::make_shared<DBBooleanTerm>(), DBBooleanTerm::AND));
    query.add(hit(5));
    query.add(nullptr);
    query.add(hit(6));
    Recorder recorder;
    static_cast<Common::VisitableBase&>(query).accept(recorder);  // no Visitor<DBQuery>: ignored
    query.visitTerm(recorder);
    query.visitResult(recorder);
    DBQuery().visitTerm(recorder);
    EXPECT_EQ(recorder.terms, 1);
    EXPECT_EQ(recorder.ids, (std::vector<unsigned int>{5, 6}));
}
