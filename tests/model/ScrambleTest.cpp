#include <gtest/gtest.h>

#include <string>

#include "model/Scramble.h"

namespace {

struct VariantCase {
    const char* name;
    std::string (*scramble)(std::string_view);
    void (*descramble)(std::string&);
};

const VariantCase kVariants[] = {
    { "line", ScrambleLine, DescrambleLine },
    { "password", ScramblePassword, DescramblePassword },
    { "x", ScrambleLineX, DescrambleLineX },
    { "y", ScrambleLineY, DescrambleLineY },
};

std::string AllPrintable()
{
    std::string s;
    for (int c = 32; c <= 126; ++c)
        s.push_back(static_cast<char>(c));
    return s;
}

} // namespace

TEST(ScrambleTest, KnownLinesScrambleAsTheFormulaGives)
{
    // The pass phrase's characters add up to 1581; with the length 18 the key is 1599.
    EXPECT_EQ(LineKey("Rifle Platoon 10 4"), 1599);
    EXPECT_EQ(ScrambleLine("Rifle Platoon 10 4"), "BYV\\Uo@\\Qd__^o! o$");
    // Length only: "ABC~" rotates by 4, and '~' wraps round to '#'.
    EXPECT_EQ(PasswordKey("ABC~"), 4);
    EXPECT_EQ(ScramblePassword("ABC~"), "EFG#");
    EXPECT_EQ(ScrambleLineX("ABC~"), "EFG#");
}

TEST(ScrambleTest, KeyOfNinetyFiveBecomesNinetySix)
{
    const std::string line(95, 'a');
    EXPECT_EQ(PasswordKey(line), 96);
    EXPECT_EQ(ScramblePassword(line), std::string(95, 'b'));
}

TEST(ScrambleTest, EveryVariantRoundTripsAnyLine)
{
    const std::string lines[] = {
        "",
        "x",
        AllPrintable(),
        std::string("tab\tand high \xC3\xA9 bytes\x01"),
        std::string(511, 'q'),
        std::string(5000, '~') + AllPrintable(),
    };
    for (const VariantCase& v : kVariants) {
        for (const std::string& line : lines) {
            std::string text = v.scramble(line);
            ASSERT_EQ(text.size(), line.size());
            if (line.find_first_not_of("\t\x01\xC3\xA9") != std::string::npos) {
                EXPECT_NE(text, line) << v.name;
            }
            v.descramble(text);
            EXPECT_EQ(text, line) << v.name << " on a line of " << line.size();
        }
    }
}

TEST(ScrambleTest, OnlyPrintableCharactersMove)
{
    const std::string line = "a\tb\r\x7f\x80\xff";
    const std::string out = ScrambleLine(line);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        const bool printable = c >= 32 && c <= 126;
        EXPECT_EQ(out[i] != line[i], printable) << "byte " << i;
    }
}
