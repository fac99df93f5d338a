#pragma once
// The character rotation through which several data files are stored line by
// line. Only the 95 printable characters 32..126 rotate; every other byte
// passes unchanged. The key depends on the line's length (which rotation does
// not change), so a line descrambles with the variant that scrambled it.

#include <span>
#include <string>
#include <string_view>

// The pass phrase of the main variant, shared by both programs and the tools.
inline constexpr std::string_view kScramblePassPhrase = "Mire Lantern Opal";

// Main variant: pass phrase and length.
int LineKey(std::string_view text);
std::string ScrambleLine(std::string_view text);
void DescrambleLine(std::string& text);
// The same on a line held in a larger buffer.
void DescrambleInPlace(std::span<char> text);

// Password variant: length only.
int PasswordKey(std::string_view text);
std::string ScramblePassword(std::string_view text);
void DescramblePassword(std::string& text);

// The map reader's variants for map files marked X and Y. They have a key
// source of their own that nothing sets, so they rotate by the length only.
void DescrambleLineX(std::string& text);
void DescrambleLineY(std::string& text);
// Both are the length-only rotation (a variant of its own for each, in case
// their key source is ever set).
void DescrambleInPlaceX(std::span<char> text);
void DescrambleInPlaceY(std::span<char> text);
std::string ScrambleLineX(std::string_view text);
std::string ScrambleLineY(std::string_view text);
