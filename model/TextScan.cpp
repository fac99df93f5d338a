#include "model/TextScan.h"

#include <algorithm>
#include <charconv>
#include <cstring>
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

namespace {

// Optional sign and a digit run whose magnitude stays within the limit of
// its sign; the text is advanced past what was read.
bool TakeSigned(std::string_view& text, std::uint64_t positiveLimit, std::uint64_t negativeLimit, long long& value)
{
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !IsDigitChar(text.front()))
        return false;
    const std::uint64_t limit = negative ? negativeLimit : positiveLimit;
    std::uint64_t magnitude = 0;
    while (!text.empty() && IsDigitChar(text.front())) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text.front() - '0');
        if (magnitude > limit)
            return false;
        text.remove_prefix(1);
    }
    // Two's complement: the negated magnitude, also for the smallest value.
    value = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
    return true;
}

} // namespace

bool TakeInt(std::string_view& text, std::int32_t& value)
{
    long long v = 0;
    if (!TakeSigned(text, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()),
            static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + 1, v))
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool TakeLongLong(std::string_view& text, long long& value)
{
    return TakeSigned(text, static_cast<std::uint64_t>(std::numeric_limits<long long>::max()),
        static_cast<std::uint64_t>(std::numeric_limits<long long>::max()) + 1, value);
}

bool TakeDouble(std::string_view& text, double& value)
{
    text = TrimLeft(text);
    std::string_view number = text;
    // from_chars takes no plus sign, and takes "inf" and "nan", which a
    // stream does not: the number must begin with a digit or a point.
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    const std::string_view body = !number.empty() && number.front() == '-' ? number.substr(1) : number;
    if (body.empty() || !(IsDigitChar(body.front()) || body.front() == '.'))
        return false;
    if (number.data() != text.data() && number.front() == '-')
        return false; // "+-1"
    double v = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), v);
    if (error != std::errc())
        return false;
    value = v;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
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

// ---- LineReader ----

bool LineReader::Next(std::span<char>& line)
{
    if (m_failed || m_position >= m_text.size())
        return false;
    char* const start = m_text.data() + m_position;
    const std::size_t left = m_text.size() - m_position;
    const void* feed = std::memchr(start, '\n', left);
    std::size_t length = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : left;
    m_position += feed ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r')
        --length;
    if (length > kMaxTextLineLength) {
        m_failed = true;
        return false;
    }
    line = std::span<char>(start, length);
    return true;
}

bool LineReader::NextNonBlank(std::string_view& line)
{
    while (Next(line)) {
        if (!IsBlankLine(line))
            return true;
    }
    return false;
}

// ---- TextScanner ----

bool TextScanner::Begin()
{
    if (good())
        return true;
    setstate(std::ios::failbit);
    return false;
}

bool TextScanner::SkipBlanks()
{
    const char* const data = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t position = m_position;
    // Blank, tab, and the line-end characters 10..13.
    while (position < size && (data[position] == ' ' || static_cast<unsigned char>(data[position] - '\t') <= 4))
        ++position;
    m_position = position;
    if (position < size)
        return true;
    setstate(std::ios::eofbit | std::ios::failbit);
    return false;
}

bool TextScanner::ScanMagnitude(
    bool& negative, std::uint64_t& magnitude, std::uint64_t negativeLimit, std::uint64_t limit)
{
    const char* const data = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t position = m_position;
    negative = false;
    if (data[position] == '-' || data[position] == '+')
        negative = data[position++] == '-';
    const std::uint64_t bound = negative ? negativeLimit : limit;
    const std::size_t first = position;
    std::uint64_t value = 0;
    bool overflow = false;
    // A stream takes every digit of the run, also past an overflow. Nineteen
    // digits cannot overflow 64 bits, so the bound is tested once a digit.
    for (; position < size; ++position) {
        const unsigned digit = static_cast<unsigned char>(data[position] - '0');
        if (digit > 9)
            break;
        value = value * 10 + digit;
        if (value > bound) {
            overflow = true;
            while (position < size && IsDigitChar(data[position]))
                ++position;
            break;
        }
    }
    m_position = position;
    if (position >= size)
        setstate(std::ios::eofbit);
    if (position == first) {
        magnitude = 0;
        setstate(std::ios::failbit);
        return false;
    }
    if (overflow) {
        magnitude = bound;
        setstate(std::ios::failbit);
        return false;
    }
    magnitude = value;
    return true;
}

TextScanner& TextScanner::operator>>(int& value)
{
    // Nothing to read leaves the value as it was, as in a stream.
    if (!Begin() || !SkipBlanks())
        return *this;
    bool negative = false;
    std::uint64_t magnitude = 0;
    const std::uint64_t max = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    // A value out of range becomes the nearest limit, as in a stream.
    ScanMagnitude(negative, magnitude, max + 1, max);
    value = negative ? static_cast<int>(0 - magnitude) : static_cast<int>(magnitude);
    return *this;
}

TextScanner& TextScanner::operator>>(unsigned int& value)
{
    // Nothing to read leaves the value as it was, as in a stream.
    if (!Begin() || !SkipBlanks())
        return *this;
    bool negative = false;
    std::uint64_t magnitude = 0;
    const std::uint64_t max = std::numeric_limits<unsigned int>::max();
    const bool ok = ScanMagnitude(negative, magnitude, max, max);
    // As a stream: a minus sign negates the magnitude in the unsigned range.
    if (!ok && magnitude == max)
        value = std::numeric_limits<unsigned int>::max();
    else
        value = negative ? static_cast<unsigned int>(0 - magnitude) : static_cast<unsigned int>(magnitude);
    return *this;
}

TextScanner& TextScanner::operator>>(long long& value)
{
    // Nothing to read leaves the value as it was, as in a stream.
    if (!Begin() || !SkipBlanks())
        return *this;
    bool negative = false;
    std::uint64_t magnitude = 0;
    const std::uint64_t max = static_cast<std::uint64_t>(std::numeric_limits<long long>::max());
    ScanMagnitude(negative, magnitude, max + 1, max);
    value = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
    return *this;
}

int TextScanner::get()
{
    if (!Begin())
        return std::char_traits<char>::eof();
    if (m_position >= m_text.size()) {
        setstate(std::ios::eofbit | std::ios::failbit);
        return std::char_traits<char>::eof();
    }
    return static_cast<unsigned char>(m_text[m_position++]);
}

TextScanner& TextScanner::SkipLine()
{
    if (!Begin())
        return *this;
    const std::size_t feed = m_text.find('\n', m_position);
    if (feed == std::string_view::npos) {
        m_position = m_text.size();
        setstate(std::ios::eofbit);
    } else {
        m_position = feed + 1;
    }
    return *this;
}

bool TextScanner::ReadLine(std::string& line)
{
    line.clear();
    if (!Begin())
        return false;
    if (m_position >= m_text.size()) {
        setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    const std::size_t feed = m_text.find('\n', m_position);
    std::size_t length = (feed == std::string_view::npos ? m_text.size() : feed) - m_position;
    const char* start = m_text.data() + m_position;
    if (feed == std::string_view::npos) {
        m_position = m_text.size();
        setstate(std::ios::eofbit);
    } else {
        m_position = feed + 1;
    }
    if (length > 0 && start[length - 1] == '\r')
        --length;
    if (length > kMaxTextLineLength) {
        // A cut line is a failure even at the end of the text.
        line.assign(start, kMaxTextLineLength);
        clear((rdstate() & ~std::ios::eofbit) | std::ios::failbit);
        return false;
    }
    line.assign(start, length);
    return true;
}
