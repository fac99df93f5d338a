#include "model/TextScan.h"

#include <algorithm>
#include <limits>

bool IsBlankLine(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlankChar); }

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlankChar(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsBlankChar(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view FirstWord(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && !IsBlankChar(text[end]))
        ++end;
    return text.substr(0, end);
}

bool TakeUnsigned(std::string_view& text, std::uint32_t& value)
{
    if (text.empty() || !IsDigitChar(text.front()))
        return false;
    std::uint64_t v = 0;
    while (!text.empty() && IsDigitChar(text.front())) {
        v = v * 10 + static_cast<std::uint64_t>(text.front() - '0');
        if (v > std::numeric_limits<std::uint32_t>::max())
            return false;
        text.remove_prefix(1);
    }
    value = static_cast<std::uint32_t>(v);
    return true;
}

bool TakeInt(std::string_view& text, std::int32_t& value)
{
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t magnitude = 0;
    if (!TakeUnsigned(text, magnitude))
        return false;
    const std::int64_t v = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool TextCursor::ReadChar(char& c)
{
    SkipBlanks();
    if (m_rest.empty())
        return false;
    c = m_rest.front();
    m_rest.remove_prefix(1);
    return true;
}

bool TextCursor::ReadWord(std::string_view& word)
{
    SkipBlanks();
    word = FirstWord(m_rest);
    m_rest.remove_prefix(word.size());
    return !word.empty();
}
