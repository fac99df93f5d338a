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
    m_text.clear();
    std::istream::sentry guard(in, true);
    if (!guard)
        return in;
    std::streambuf* buffer = in.rdbuf();
    bool tooLong = false;
    bool sawAny = false;
    try {
        for (;;) {
            int ch = buffer->sbumpc();
            if (ch == std::char_traits<char>::eof()) {
                in.setstate(sawAny ? std::ios::eofbit : (std::ios::eofbit | std::ios::failbit));
                break;
            }
            sawAny = true;
            if (static_cast<char>(ch) == delimiter)
                break;
            // Keep one character beyond the limit so that a line of exactly the
            // limit followed by a carriage return is not taken as too long.
            if (m_text.size() <= kMaxLineLength)
                m_text.push_back(static_cast<char>(ch));
            else
                tooLong = true;
        }
    } catch (...) {
        // The buffer is read directly, so its read errors (a folder opened as
        // a file, a failing device) arrive as exceptions: they fail the stream
        // as the stream's own reads do, and no exception leaves a reader.
        m_text.clear();
        in.setstate(std::ios::badbit | std::ios::failbit);
        return in;
    }
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
