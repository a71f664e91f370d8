#include "generator/XmlDocument.h"

namespace lumetra {

XmlElement& XmlElement::Append(std::string name) {
    return children_.emplace_back(std::move(name));
}

XmlElement& XmlElement::Set(const std::string& name, std::string value) {
    for (auto& [key, existing] : attributes_) {
        if (key == name) {
            existing = std::move(value);
            return *this;
        }
    }
    attributes_.emplace_back(name, std::move(value));
    return *this;
}

XmlElement& XmlElement::Set(const std::string& name, long long value) {
    return Set(name, std::to_string(value));
}

XmlElement* XmlElement::Child(std::string_view name) {
    for (auto& child : children_)
        if (child.name() == name) return &child;
    return nullptr;
}

void XmlElement::Write(std::string& out) const {
    out += '<';
    out += name_;
    for (const auto& [key, value] : attributes_) {
        out += ' ';
        out += key;
        out += "=\"";
        out += EscapeXmlAttribute(XmlSafeText(value));
        out += '"';
    }
    if (children_.empty() && text_.empty()) {
        out += "/>";
        return;
    }
    out += '>';
    out += EscapeXmlText(XmlSafeText(text_));
    for (const auto& child : children_) child.Write(out);
    out += "</";
    out += name_;
    out += '>';
}

std::string SerializeXmlDocument(const XmlElement& root) {
    std::string out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    root.Write(out);
    out += '\n';
    return out;
}

namespace {

// Length of the UTF-8 sequence starting at text[i] and its code point, or 0
// when the bytes there are not a valid, shortest-form sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    std::size_t len;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool XmlAllows(char32_t cp) {
    if (cp < 0x20) return cp == '\t' || cp == '\n' || cp == '\r';
    return cp != 0xFFFE && cp != 0xFFFF;
}

}  // namespace

std::string XmlSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (XmlAllows(cp)) out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

namespace {

void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
    }
}

}  // namespace

std::string EscapeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendEscaped(out, c);
    return out;
}

std::string EscapeXmlAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                AppendEscaped(out, c);
        }
    }
    return out;
}

}  // namespace lumetra
