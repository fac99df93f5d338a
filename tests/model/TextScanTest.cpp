#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <type_traits>
#include <string>
#include <vector>

#include "model/String.h"
#include "model/TextScan.h"

namespace {

// One read, done the same way on a stream and on the scanner; the result
// is the value read and the state bits after it.
enum class Op { Int, Unsigned, LongLong, Get, SkipLine, Line };

template <class In> std::string Apply(In& in, Op op)
{
    std::ostringstream out;
    switch (op) {
    case Op::Int: {
        int v = 77;
        in >> v;
        out << "int " << v;
        break;
    }
    case Op::Unsigned: {
        unsigned v = 77;
        in >> v;
        out << "unsigned " << v;
        break;
    }
    case Op::LongLong: {
        long long v = 77;
        in >> v;
        out << "long " << v;
        break;
    }
    case Op::Get:
        out << "get " << in.get();
        break;
    case Op::SkipLine:
        if constexpr (std::is_same_v<In, TextScanner>)
            in.SkipLine();
        else
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        out << "skip";
        break;
    case Op::Line: {
        std::string line;
        if constexpr (std::is_same_v<In, TextScanner>) {
            in.ReadLine(line);
        } else {
            String text;
            text.ReadLine(in);
            line = text.str();
        }
        out << "line [" << line << "]";
        break;
    }
    }
    out << (in.fail() ? " fail" : "") << (in.eof() ? " eof" : "") << (in.bad() ? " bad" : "");
    return out.str();
}

} // namespace

TEST(TextScanTest, TheScannerReadsAsAStreamDoes)
{
    struct Case {
        const char* text;
        std::vector<Op> ops;
    };
    const std::string longLine(kMaxTextLineLength + 1, 'x');
    const std::string exactLine = std::string(kMaxTextLineLength, 'x') + "\r\n5";
    const Case cases[] = {
        { " 12\n-7\t+3", { Op::Int, Op::Int, Op::Int, Op::Int } },
        { "2147483647 2147483648 -2147483648 -2147483649 5", { Op::Int, Op::Int, Op::Int, Op::Int, Op::Int } },
        { "4294967295 4294967296 -1 -4294967295 -4294967296",
            { Op::Unsigned, Op::Unsigned, Op::Unsigned, Op::Unsigned, Op::Unsigned } },
        { "9223372036854775807 -9223372036854775808 9223372036854775808",
            { Op::LongLong, Op::LongLong, Op::LongLong } },
        { "- 5", { Op::Int, Op::Int } },
        { "+", { Op::Int } },
        { "12x 3", { Op::Int, Op::Int, Op::Get, Op::Int } },
        { "007 0x1", { Op::Int, Op::Int, Op::Get } },
        { "   ", { Op::Int, Op::Int } },
        { "", { Op::Get, Op::Get } },
        { "1 2\nrest of line\n3", { Op::Int, Op::SkipLine, Op::Line, Op::Int, Op::Int } },
        { "4 title\r\nsecond", { Op::Int, Op::SkipLine, Op::Line, Op::Line, Op::Line } },
        { "5\nlast", { Op::Int, Op::SkipLine, Op::Line, Op::SkipLine } },
        { "6 tail", { Op::Int, Op::SkipLine, Op::Int } },
        { "7 ", { Op::Int, Op::Get, Op::Get } },
        { "word", { Op::Int, Op::Get } },
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.push_back({ longLine.c_str(), { Op::Line, Op::Line } });
    all.push_back({ exactLine.c_str(), { Op::Line, Op::Int } });
    for (const Case& c : all) {
        SCOPED_TRACE(std::string("text: ") + std::string(c.text).substr(0, 40));
        std::istringstream stream(c.text);
        TextScanner scanner(c.text);
        for (Op op : c.ops)
            EXPECT_EQ(Apply(scanner, op), Apply(stream, op));
    }
}

TEST(TextScanTest, LinesAreViewsWithTheLineReadersRules)
{
    std::string text = "first\r\n\nsecond\r\r\n" + std::string(kMaxTextLineLength, 'a') + "\r\nlast";
    LineReader lines(text);
    std::string_view line;
    std::vector<std::string> read;
    while (lines.Next(line))
        read.emplace_back(line);
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0], "first");
    EXPECT_EQ(read[1], "");
    EXPECT_EQ(read[2], "second\r");
    EXPECT_EQ(read[3].size(), kMaxTextLineLength);
    EXPECT_EQ(read[4], "last");
    EXPECT_TRUE(lines.AtCleanEnd());

    // An over-long line fails, also as the last line, and stops the reader.
    for (const std::string& tail : { std::string("\nnext\n"), std::string() }) {
        std::string cut = "one\n" + std::string(kMaxTextLineLength + 1, 'b') + tail;
        LineReader reader(cut);
        ASSERT_TRUE(reader.Next(line));
        EXPECT_FALSE(reader.Next(line));
        EXPECT_TRUE(reader.Failed());
        EXPECT_FALSE(reader.AtCleanEnd());
        EXPECT_FALSE(reader.Next(line));
    }
}

TEST(TextScanTest, NumbersInALineAreStrict)
{
    struct Case {
        const char* text;
        bool ok;
        long long value;
    };
    const Case cases[] = {
        { " 42 rest", true, 42 },
        { "-9223372036854775808", true, std::numeric_limits<long long>::min() },
        { "9223372036854775808", false, 0 },
        { "+5", true, 5 },
        { "-", false, 0 },
        { "x1", false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string_view text(c.text);
        long long value = 0;
        EXPECT_EQ(TakeLongLong(text, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
        }
    }
    struct DoubleCase {
        const char* text;
        bool ok;
        double value;
    };
    const DoubleCase doubles[] = {
        { " 1.5 y", true, 1.5 },
        { "-.5", true, -0.5 },
        { "+2", true, 2.0 },
        { "3e2", true, 300.0 },
        { "inf", false, 0.0 },
        { "nan", false, 0.0 },
        { "+-1", false, 0.0 },
        { "x", false, 0.0 },
    };
    for (const DoubleCase& c : doubles) {
        SCOPED_TRACE(c.text);
        std::string_view text(c.text);
        double value = 0.0;
        EXPECT_EQ(TakeDouble(text, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
        }
    }
}
