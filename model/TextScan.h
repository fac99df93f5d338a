#pragma once
// Reading data files from memory. A file is read whole into one buffer
// (model/DataFile.h) and then taken apart here without copies: LineReader
// splits it into lines as the line readers of the streams do, TextCursor reads
// numbers and words out of one line, and TextScanner reads a whole text the
// way a stream extraction does, for the formats that are a stream of numbers
// across lines (the battle file, the parameter file).
//
// Numbers in a line (TextCursor) are strict: a value that does not fit its
// field, or a sign on an unsigned field, is a failure rather than a wrapped
// value, so that hostile files never turn into huge counts. TextScanner keeps
// the stream's own rules, so that a format read either way reads alike.

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <ios>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// Longest line or word the readers keep; a longer one fails the read.
inline constexpr std::size_t kMaxTextLineLength = 1023;

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
// The same for 64 bits.
bool TakeLongLong(std::string_view& text, long long& value);
// Blanks, then a decimal fraction as a stream reads one ("-1.5", ".5", "2",
// "1e3"); no "inf" or "nan".
bool TakeDouble(std::string_view& text, double& value);

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
    bool ReadLongLong(long long& value) { return TakeLongLong(m_rest, value); }
    bool ReadDouble(double& value) { return TakeDouble(m_rest, value); }
    bool ReadWord(std::string_view& word);
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

// The lines of a text held in memory, as views into it. Each line is what
// String::ReadLine gives: the line feed is dropped, and one carriage return
// before it; an unterminated last line counts. A line longer than
// kMaxTextLineLength fails the reader, and so does every later read. The text
// is writable so that scrambled lines can be descrambled where they lie.
class LineReader {
public:
    explicit LineReader(std::span<char> text)
        : m_text(text)
    {
    }

    // The next line; false at the end of the text or on an over-long line.
    bool Next(std::span<char>& line);
    bool Next(std::string_view& line)
    {
        std::span<char> span;
        if (!Next(span))
            return false;
        line = std::string_view(span.data(), span.size());
        return true;
    }
    // The next line that is not blank.
    bool NextNonBlank(std::string_view& line);

    // Every line was read and none was too long.
    bool AtCleanEnd() const { return !m_failed && m_position >= m_text.size(); }
    bool Failed() const { return m_failed; }
    // How far the text has been read.
    std::size_t Position() const { return m_position; }

private:
    std::span<char> m_text;
    std::size_t m_position = 0;
    bool m_failed = false;
};

// A text in memory read as an input stream reads it: the same extraction
// rules for numbers (white space and line ends skipped first, an optional
// sign, a value out of range fails), the same state bits and the same
// line reads. Its operations are named as the stream's, so that one reader can
// be written for both (the messages come as streams, files through this).
class TextScanner {
public:
    explicit TextScanner(std::string_view text)
        : m_text(text)
    {
    }

    explicit operator bool() const { return !fail(); }
    bool operator!() const { return fail(); }
    bool good() const { return m_state == std::ios::goodbit; }
    bool fail() const { return (m_state & (std::ios::failbit | std::ios::badbit)) != 0; }
    bool eof() const { return (m_state & std::ios::eofbit) != 0; }
    bool bad() const { return (m_state & std::ios::badbit) != 0; }
    std::ios::iostate rdstate() const { return m_state; }
    void setstate(std::ios::iostate state) { m_state |= state; }
    void clear(std::ios::iostate state = std::ios::goodbit) { m_state = state; }

    TextScanner& operator>>(int& value);
    TextScanner& operator>>(unsigned int& value);
    TextScanner& operator>>(long long& value);

    // The next character as it stands, or std::char_traits<char>::eof().
    int get();
    // Skips to just after the next line feed (or to the end).
    TextScanner& SkipLine();
    // One line as String::ReadLine reads it.
    bool ReadLine(std::string& line);

    // How much of the text has been read.
    std::size_t Position() const { return m_position; }

private:
    // What a stream's sentry does before a read: a stream not good fails.
    bool Begin();
    // Blanks before a number; false (with eof and fail) at the end.
    bool SkipBlanks();
    // Sign and digits at the position (blanks skipped), with the stream's range rules; `negative` and `magnitude`
    // are the value read, `limit` the largest magnitude allowed.
    bool ScanMagnitude(bool& negative, std::uint64_t& magnitude, std::uint64_t negativeLimit, std::uint64_t limit);

    std::string_view m_text;
    std::size_t m_position = 0;
    std::ios::iostate m_state = std::ios::goodbit;
};

// A text made in memory as an output stream would write it (numbers in
// decimal, characters and texts as they are), for writers that make a whole
// file before writing it in one piece. Without a sink it never fails; fail()
// and the bool test are there so that one writer serves both. With a sink,
// a writer may hand the text over in pieces (FlushIfLarge), so that a large
// file is not held twice in fresh memory; it then fails when the sink does.
class TextBuilder {
public:
    TextBuilder() = default;
    explicit TextBuilder(std::ostream& sink)
        : m_sink(&sink)
    {
    }

    // From here on the text goes to the sink when flushed.
    void SetSink(std::ostream& sink) { m_sink = &sink; }
    // Hands what is held to the sink and keeps the memory for more.
    bool Flush()
    {
        if (m_sink && !m_text.empty()) {
            m_sink->write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
            m_text.clear();
        }
        return static_cast<bool>(*this);
    }
    bool FlushIfLarge() { return m_text.size() < kFlushSize || Flush(); }

    TextBuilder& operator<<(char c)
    {
        m_text.push_back(c);
        return *this;
    }
    TextBuilder& operator<<(const char* text)
    {
        m_text.append(text);
        return *this;
    }
    TextBuilder& operator<<(std::string_view text)
    {
        m_text.append(text);
        return *this;
    }
    // Plain enumerations (section tags) take this one, as in a stream.
    TextBuilder& operator<<(int value) { return Append(value); }
    template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>) TextBuilder& operator<<(T value)
    {
        return Append(value);
    }
    void put(char c) { m_text.push_back(c); }

    explicit operator bool() const { return !m_sink || !m_sink->fail(); }
    bool operator!() const { return !static_cast<bool>(*this); }
    bool fail() const { return !static_cast<bool>(*this); }

    const std::string& str() const { return m_text; }
    // Hands the text over without a copy; the builder is empty after.
    std::string TakeText() { return std::exchange(m_text, std::string()); }
    void reserve(std::size_t size) { m_text.reserve(size); }

private:
    template <class T> TextBuilder& Append(T value)
    {
        // Written straight into the text: room for any 64-bit value, then
        // cut to what the digits took.
        constexpr std::size_t kRoom = 24;
        const std::size_t used = m_text.size();
        m_text.resize(used + kRoom);
        char* const start = m_text.data() + used;
        const auto result = std::to_chars(start, start + kRoom, value);
        m_text.resize(used + static_cast<std::size_t>(result.ptr - start));
        return *this;
    }

    static constexpr std::size_t kFlushSize = 64 * 1024;
    std::string m_text;
    std::ostream* m_sink = nullptr;
};
