#include "model/Scramble.h"

namespace {

constexpr int kFirst = 32;
constexpr int kCount = 95;

// The key: the length plus the key source's characters taken as signed bytes
// (so every compiler reads the same files alike); 95 becomes 96, since a
// rotation by 95 would leave the text unchanged.
int KeyOf(std::string_view text, std::string_view keySource)
{
    long long key = static_cast<long long>(text.size());
    for (char c : keySource)
        key += static_cast<signed char>(c);
    if (key == kCount)
        key = kCount + 1;
    return static_cast<int>(key);
}

// Rotates every printable character by `shift` within 32..126; the same as
// stepping by 95 until the value is back in range, without the loop.
void Rotate(std::span<char> text, long long shift)
{
    long long step = shift % kCount;
    if (step < 0)
        step += kCount;
    const int offset = static_cast<int>(step);
    for (char& c : text) {
        const int code = static_cast<unsigned char>(c);
        if (code < kFirst || code > 126)
            continue;
        int v = code - kFirst + offset;
        if (v >= kCount)
            v -= kCount;
        c = static_cast<char>(kFirst + v);
    }
}

std::string Scramble(std::string_view text, std::string_view keySource)
{
    std::string out(text);
    Rotate(out, KeyOf(text, keySource));
    return out;
}

void Descramble(std::span<char> text, std::string_view keySource)
{
    const int key = KeyOf(std::string_view(text.data(), text.size()), keySource);
    Rotate(text, -static_cast<long long>(key));
}

} // namespace

int LineKey(std::string_view text) { return KeyOf(text, kScramblePassPhrase); }
std::string ScrambleLine(std::string_view text) { return Scramble(text, kScramblePassPhrase); }
void DescrambleLine(std::string& text) { Descramble(text, kScramblePassPhrase); }
void DescrambleInPlace(std::span<char> text) { Descramble(text, kScramblePassPhrase); }

int PasswordKey(std::string_view text) { return KeyOf(text, {}); }
std::string ScramblePassword(std::string_view text) { return Scramble(text, {}); }
void DescramblePassword(std::string& text) { Descramble(text, {}); }

void DescrambleLineX(std::string& text) { Descramble(text, {}); }
void DescrambleLineY(std::string& text) { Descramble(text, {}); }
void DescrambleInPlaceX(std::span<char> text) { Descramble(text, {}); }
void DescrambleInPlaceY(std::span<char> text) { Descramble(text, {}); }
std::string ScrambleLineX(std::string_view text) { return Scramble(text, {}); }
std::string ScrambleLineY(std::string_view text) { return Scramble(text, {}); }
