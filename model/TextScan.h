#pragma once
// Reading numbers and words out of one line of a data file. Numbers are read
// as a stream extraction reads them (blanks skipped, the number ends at the
// first character that cannot continue it), but a value that does not fit its
// field, or a sign on an unsigned field, is a failure rather than a wrapped
// value: hostile files never turn into huge counts.

#include <cstdint>
#include <string_view>

inline bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

bool IsBlankLine(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
// The text up to the first blank.
std::string_view FirstWord(std::string_view text);

// The digit run at the front of the text (no blanks skipped); it must not be
// empty and must fit 32 bits. The text is advanced past what was read.
bool TakeUnsigned(std::string_view& text, std::uint32_t& value);
// Blanks, an optional sign and digits that fit 32 bits signed.
bool TakeInt(std::string_view& text, std::int32_t& value);

// A reading position in one line.
class TextCursor {
public:
    explicit TextCursor(std::string_view text)
        : m_rest(text)
    {
    }

    void SkipBlanks() { m_rest = TrimLeft(m_rest); }
    bool AtDigit() const { return !m_rest.empty() && IsDigitChar(m_rest.front()); }
    bool AtEnd() const { return m_rest.empty(); }
    // The next non-blank character.
    bool ReadChar(char& c);
    // Takes one character as it stands (a separator).
    void SkipOne()
    {
        if (!m_rest.empty())
            m_rest.remove_prefix(1);
    }
    bool ReadUnsigned(std::uint32_t& value)
    {
        SkipBlanks();
        return TakeUnsigned(m_rest, value);
    }
    // The digit run at the cursor, without skipping anything first.
    bool ReadDigits(std::uint32_t& value) { return TakeUnsigned(m_rest, value); }
    bool ReadInt(std::int32_t& value) { return TakeInt(m_rest, value); }
    bool ReadWord(std::string_view& word);
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};
