#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/String.h"

TEST(StringTest, NullTextsCountAsEmpty)
{
    String s(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    s.AppendText("abc");
    s.AppendText(nullptr);
    EXPECT_EQ(s.str(), "abc");
    EXPECT_EQ(ConcatTexts(nullptr, "abc").str(), "abc");
    EXPECT_EQ(ConcatStringText(s, nullptr).str(), "abc");
}

TEST(StringTest, Blank)
{
    EXPECT_TRUE(String("").IsBlank());
    EXPECT_TRUE(String(" \t\n").IsBlank());
    EXPECT_FALSE(String(" x ").IsBlank());
}

TEST(StringTest, ReadLineFailsOnADeviceErrorWithoutThrowing)
{
    // A folder opens as a file but cannot be read: the buffer throws, the
    // line read fails with badbit.
    std::ifstream in(std::filesystem::temp_directory_path(), std::ios::binary);
    ASSERT_TRUE(in.is_open());
    String s("old");
    EXPECT_NO_THROW(s.ReadLine(in));
    EXPECT_TRUE(in.bad());
    EXPECT_TRUE(in.fail());
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringTest, ReadLineStripsOneCarriageReturnAndKeepsAnUnterminatedLastLine)
{
    std::istringstream in("first\r\nsecond\r\r\nlast");
    String s;
    ASSERT_TRUE(s.ReadLine(in));
    EXPECT_EQ(s.str(), "first");
    ASSERT_TRUE(s.ReadLine(in));
    EXPECT_EQ(s.str(), "second\r");
    ASSERT_TRUE(s.ReadLine(in));
    EXPECT_EQ(s.str(), "last");
    EXPECT_FALSE(s.ReadLine(in));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringTest, ReadLineCutsOverlongLinesAndFailsWithoutSwallowingTheNextLine)
{
    const std::string exact(String::kMaxLineLength, 'a');
    std::istringstream fits(exact + "\r\nnext\n");
    String s;
    ASSERT_TRUE(s.ReadLine(fits));
    EXPECT_EQ(s.GetLength(), String::kMaxLineLength);

    for (const std::string& tail : { std::string("\nnext\n"), std::string() }) {
        std::istringstream in(exact + "bcd" + tail);
        EXPECT_FALSE(s.ReadLine(in));
        EXPECT_EQ(s.str(), exact);
        EXPECT_FALSE(in.eof()) << "a cut line must not look like the end of the file";
        in.clear();
        if (!tail.empty()) {
            ASSERT_TRUE(s.ReadLine(in));
            EXPECT_EQ(s.str(), "next");
        }
    }
}

TEST(StringTest, FormattedReports)
{
    std::ostringstream report;
    report << "Unit at " << 3 << ", " << 4;
    const String text = String::StringFromStream(report);
    std::ostringstream out;
    out << text << '\n';
    EXPECT_EQ(out.str(), "Unit at 3, 4\n");
}
