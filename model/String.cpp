#include "model/String.h"

#include <cctype>
#include <cstring>
#include <limits>

const String g_emptyString;

String& String::AppendText(const char* text)
{
    if (text)
        m_text.append(text);
    return *this;
}

String& String::Append(const String& other)
{
    m_text.append(other.m_text);
    return *this;
}

bool String::IsBlank() const
{
    for (unsigned char c : m_text)
        if (!std::isspace(c))
            return false;
    return true;
}

std::istream& String::ReadLine(std::istream& in, char delimiter)
{
    // The stream's own line read scans its buffer a block at a time. Room
    // for one character beyond the limit, so that a line of exactly the
    // limit followed by a carriage return is not taken as too long.
    char buffer[kMaxLineLength + 2];
    in.getline(buffer, sizeof buffer, delimiter);
    std::size_t length = static_cast<std::size_t>(in.gcount());
    bool tooLong = false;
    if (in.fail() && !in.eof() && !in.bad() && length == sizeof buffer - 1) {
        // The buffer filled before the delimiter: the rest of the line goes.
        in.clear(in.rdstate() & ~std::ios::failbit);
        in.ignore(std::numeric_limits<std::streamsize>::max(), delimiter);
        tooLong = true;
    } else if (length > 0 && !in.eof() && !in.fail()) {
        --length; // the delimiter, counted but not stored
    }
    if (in.bad()) {
        // A read error of the device fails the line as a whole.
        m_text.clear();
        in.setstate(std::ios::failbit);
        return in;
    }
    m_text.assign(buffer, std::min(length, sizeof buffer - 1));
    if (!m_text.empty() && m_text.back() == '\r')
        m_text.pop_back();
    if (m_text.size() > kMaxLineLength) {
        m_text.resize(kMaxLineLength);
        tooLong = true;
    }
    // A cut line is a failure even at the end of the file: readers tell the
    // plain end of their input by eof.
    if (tooLong)
        in.clear((in.rdstate() & ~std::ios::eofbit) | std::ios::failbit);
    return in;
}

String ConcatTexts(const char* a, const char* b)
{
    std::string text(a ? a : "");
    text.append(b ? b : "");
    return String(std::move(text));
}

String ConcatStringText(const String& a, const char* b) { return ConcatTexts(a.c_str(), b); }
