#include <norvutil/Tracer.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using Norv::Indent;
using Norv::Tracer;

TEST(Tracer, BlockLayoutWithNestedBlock) {
    std::ostringstream os;
    {
        Tracer outer(os, Indent(1), "Outer");
        outer("text", std::string("a b"));
        outer("literal", "true");
        outer("signed", -1);
        outer("unsigned", 4294967295u);
        {
            Tracer inner(os, Indent(outer.nestedIndent()), "Inner");
            inner("empty", "");
        }
        outer("after", 0);
    }
    EXPECT_EQ(os.str(),
              "  Outer {\n"
              "    text: a b\n"
              "    literal: true\n"
              "    signed: -1\n"
              "    unsigned: 4294967295\n"
              "    Inner {\n"
              "      empty: \n"
              "    }\n"
              "    after: 0\n"
              "  }\n");
}

TEST(Tracer, DoublesPrintShortestRoundTrip) {
    std::ostringstream os;
    {
        Tracer trace(os, Indent(0), "D");
        trace("a", 10.0);
        trace("b", 1e-05);
        trace("c", 0.1);
        trace("d", -2.5);
    }
    EXPECT_EQ(os.str(), "D {\n  a: 10\n  b: 1e-05\n  c: 0.1\n  d: -2.5\n}\n");
}

TEST(Tracer, StringsKeepZeroBytesAndNullTextsPrintEmpty) {
    std::ostringstream os;
    {
        Tracer trace(os, Indent(0), "S");
        trace("z", std::string("a\0b", 3));
        trace("n", static_cast<const char*>(nullptr));
    }
    static const char expected[] = "S {\n  z: a\0b\n  n: \n}\n";
    EXPECT_EQ(os.str(), std::string(expected, sizeof expected - 1));
}

TEST(Tracer, NestedIndentIsOneDeeper) {
    std::ostringstream os;
    Tracer trace(os, Indent(3), "X");
    EXPECT_EQ(trace.nestedIndent(), 4);
}
