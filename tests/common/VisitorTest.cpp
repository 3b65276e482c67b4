// The visitor frame, seen through a concrete visitable class.
#include <norvext/common/Visitor.h>
#include <norvext/common/VisitorBase.h>
#include <norvext/query/Summary.h>

#include <gtest/gtest.h>

using Norv::Summary;

namespace {

struct SummaryCounter : Common::VisitorBase, Common::Visitor<Summary> {
    int calls = 0;
    Summary* last = nullptr;
    void visit(Summary& s) override {
        ++calls;
        last = &s;
    }
};

struct Nothing : Common::VisitorBase {};

}  // namespace

TEST(Visitor, AcceptCallsTheInterfaceOfTheClassOnceThroughABasePointer) {
    Summary summary(3, 4, "t", nullptr, nullptr);
    Common::VisitableBase& base = summary;
    SummaryCounter counter;
    Nothing nothing;
    base.accept(counter);
    base.accept(nothing);  // a visitor without the interface is ignored
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.last, &summary);
}
