#include "platform/ui/XmlTree.h"

#include <cctype>

namespace platform::ui {

namespace {

    // Deep enough for any resource file; a hostile file cannot overflow the stack.
    constexpr int kMaxDepth = 64;

    class Reader {
    public:
        explicit Reader(std::string_view text)
            : m_text(text)
        {
        }

        std::optional<XmlElement> Document(std::string& error)
        {
            SkipMisc();
            if (!Peek('<')) {
                error = "no root element";
                return std::nullopt;
            }
            XmlElement root;
            if (!Element(root, 0)) {
                error = m_error + " at offset " + std::to_string(m_pos);
                return std::nullopt;
            }
            SkipMisc();
            if (m_pos != m_text.size()) {
                error = "text after the root element at offset " + std::to_string(m_pos);
                return std::nullopt;
            }
            return root;
        }

    private:
        bool Peek(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
        bool StartsWith(std::string_view s) const { return m_text.substr(m_pos).starts_with(s); }
        void SkipSpace()
        {
            while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
                ++m_pos;
        }
        // Blanks, comments and processing instructions between elements.
        bool SkipMisc()
        {
            while (true) {
                SkipSpace();
                if (StartsWith("<!--")) {
                    const auto end = m_text.find("-->", m_pos + 4);
                    if (end == std::string_view::npos)
                        return Fail("unterminated comment");
                    m_pos = end + 3;
                } else if (StartsWith("<?")) {
                    const auto end = m_text.find("?>", m_pos + 2);
                    if (end == std::string_view::npos)
                        return Fail("unterminated declaration");
                    m_pos = end + 2;
                } else {
                    return true;
                }
            }
        }
        bool Fail(std::string reason)
        {
            if (m_error.empty())
                m_error = std::move(reason);
            return false;
        }
        std::string Name()
        {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size()) {
                const char c = m_text[m_pos];
                if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':'))
                    break;
                ++m_pos;
            }
            return std::string(m_text.substr(start, m_pos - start));
        }
        bool Decode(std::string_view raw, std::string& out)
        {
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] != '&') {
                    out += raw[i];
                    continue;
                }
                const auto end = raw.find(';', i);
                if (end == std::string_view::npos)
                    return Fail("bad entity");
                const std::string_view entity = raw.substr(i + 1, end - i - 1);
                if (entity == "amp")
                    out += '&';
                else if (entity == "lt")
                    out += '<';
                else if (entity == "gt")
                    out += '>';
                else if (entity == "quot")
                    out += '"';
                else if (entity == "apos")
                    out += '\'';
                else
                    return Fail("unknown entity");
                i = end;
            }
            return true;
        }
        bool Element(XmlElement& element, int depth)
        {
            if (depth > kMaxDepth)
                return Fail("elements nested too deep");
            ++m_pos; // '<'
            element.name = Name();
            if (element.name.empty())
                return Fail("element without a name");
            while (true) {
                SkipSpace();
                if (StartsWith("/>")) {
                    m_pos += 2;
                    return true;
                }
                if (Peek('>')) {
                    ++m_pos;
                    break;
                }
                std::string key = Name();
                if (key.empty())
                    return Fail("bad attribute");
                SkipSpace();
                if (!Peek('='))
                    return Fail("attribute without a value");
                ++m_pos;
                SkipSpace();
                if (!(Peek('"') || Peek('\'')))
                    return Fail("unquoted attribute");
                const char quote = m_text[m_pos++];
                const auto end = m_text.find(quote, m_pos);
                if (end == std::string_view::npos)
                    return Fail("unterminated attribute");
                std::string value;
                if (!Decode(m_text.substr(m_pos, end - m_pos), value))
                    return false;
                element.attributes.emplace_back(std::move(key), std::move(value));
                m_pos = end + 1;
            }
            std::string text;
            while (true) {
                if (m_pos >= m_text.size())
                    return Fail("unterminated element " + element.name);
                if (StartsWith("<!--") || StartsWith("<?")) {
                    if (!SkipMisc())
                        return false;
                    continue;
                }
                if (StartsWith("</")) {
                    m_pos += 2;
                    if (Name() != element.name)
                        return Fail("mismatched end of " + element.name);
                    SkipSpace();
                    if (!Peek('>'))
                        return Fail("bad end tag");
                    ++m_pos;
                    break;
                }
                if (Peek('<')) {
                    element.children.emplace_back();
                    if (!Element(element.children.back(), depth + 1))
                        return false;
                    continue;
                }
                const auto end = std::min(m_text.find('<', m_pos), m_text.size());
                if (!Decode(m_text.substr(m_pos, end - m_pos), text))
                    return false;
                m_pos = end;
            }
            const auto first = text.find_first_not_of(" \t\r\n");
            const auto last = text.find_last_not_of(" \t\r\n");
            element.text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
            return true;
        }

        std::string_view m_text;
        std::size_t m_pos = 0;
        std::string m_error;
    };

} // namespace

const std::string* XmlElement::Attribute(std::string_view key) const
{
    for (const auto& [k, v] : attributes)
        if (k == key)
            return &v;
    return nullptr;
}

const XmlElement* XmlElement::Child(std::string_view childName) const
{
    for (const XmlElement& child : children)
        if (child.name == childName)
            return &child;
    return nullptr;
}

std::string XmlElement::ChildText(std::string_view childName) const
{
    const XmlElement* child = Child(childName);
    return child ? child->text : std::string();
}

const XmlElement* XmlElement::FindObject(std::string_view cls, std::optional<std::string_view> objectName) const
{
    for (const XmlElement& object : children) {
        const std::string* c = object.Attribute("class");
        const std::string* n = object.Attribute("name");
        if (object.name == "object" && c && *c == cls && n && (!objectName || *n == *objectName))
            return &object;
    }
    return nullptr;
}

std::optional<XmlElement> ParseXml(std::string_view text, std::string& error) { return Reader(text).Document(error); }

} // namespace platform::ui
