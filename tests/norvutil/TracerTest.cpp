#include <norvutil/Tracer.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using Norv::Indent;
using Norv::Tracer;

TEST(Tracer, BlockTextWithNestingShortestDoublesAndZeroBytes) {
    std::ostringstream os;
    {
        Tracer outer(os, Indent(1), "Outer");
        outer("text", std::string("a\0b", 3));
        outer("literal", "true");
        outer("null", static_cast<const char*>(nullptr));
        outer("signed", -1);
        outer("unsigned", 4294967295u);
        {
            Tracer inner(os, Indent(outer.nestedIndent()), "Inner");
            for (double value : {10.0, 1e-05, 0.1, -2.5, 1.0 / 3}) {
                inner("d", value);
            }
        }
        outer("after", 0);
    }
    static const char expected[] =
        "  Outer {\n    text: a\0b\n    literal: true\n    null: \n    signed: -1\n    unsigned: 4294967295\n"
        "    Inner {\n      d: 10\n      d: 1e-05\n      d: 0.1\n      d: -2.5\n      d: 0.3333333333333333\n    }\n"
        "    after: 0\n  }\n";
    EXPECT_EQ(os.str(), std::string(expected, sizeof expected - 1));
}
