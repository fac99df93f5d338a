#pragma once
// The game object's own text value: every report, title and file name the
// model hands to the frame is one of these.

#include <cstddef>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "model/TextScan.h"

class String {
public:
    // Longest line or word the readers keep; longer input is cut here.
    static constexpr std::size_t kMaxLineLength = kMaxTextLineLength;

    String() = default;
    String(const char* text)
        : m_text(text ? text : "")
    {
    }
    String(std::string text)
        : m_text(std::move(text))
    {
    }

    // Takes the text formatted into a stream (the usual way a report is built).
    static String StringFromStream(const std::ostringstream& stream) { return String(stream.str()); }

    String& AppendText(const char* text);
    String& Append(const String& other);

    std::size_t GetLength() const { return m_text.size(); }
    bool IsEmpty() const { return m_text.empty(); }
    bool IsBlank() const;

    // Reads one line up to the delimiter (taken from the stream, not stored).
    // A trailing carriage return is dropped, so files with CRLF line ends read
    // alike. A line longer than kMaxLineLength keeps its first kMaxLineLength
    // characters, the rest of the line is consumed, and the stream's failbit
    // is set so that a reader refuses the file instead of misreading it. A
    // read error of the device sets badbit (and failbit); it throws only when
    // the stream's exception mask asks for it.
    std::istream& ReadLine(std::istream& in, char delimiter = '\n');

    std::ostream& Write(std::ostream& out) const { return out << m_text; }

    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    std::string_view view() const { return m_text; }

    friend bool operator==(const String& a, const String& b) = default;

private:
    std::string m_text;
};

// The one shared empty text.
extern const String g_emptyString;

String ConcatTexts(const char* a, const char* b);
String ConcatStringText(const String& a, const char* b);

inline std::ostream& operator<<(std::ostream& out, const String& s) { return s.Write(out); }
