#pragma once
// A small element tree and the serializer that writes show descriptions in
// their fixed byte form: byte-order mark, declaration, one compact root line.
// libxml2's own writer escapes differently (CR as "&#13;", quotes left bare in
// text), and the player's files are compared byte for byte, so we write the
// bytes ourselves.

#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumetra {

class XmlElement {
  public:
    explicit XmlElement(std::string name) : name_(std::move(name)) {}

    // Appends a child; the reference stays valid while the tree lives.
    XmlElement& Append(std::string name);
    // Sets an attribute: a new one goes last, an existing one keeps its place.
    XmlElement& Set(const std::string& name, std::string value);
    XmlElement& Set(const std::string& name, long long value);
    void SetText(std::string text) { text_ = std::move(text); }

    const std::string& name() const { return name_; }
    const std::list<XmlElement>& children() const { return children_; }
    std::list<XmlElement>& children() { return children_; }
    // First child of that name, or nullptr.
    XmlElement* Child(std::string_view name);
    const std::string& text() const { return text_; }

    void Write(std::string& out) const;

  private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::list<XmlElement> children_;
    std::string text_;
};

// BOM, "<?xml version="1.0" encoding="UTF-8"?>", LF, the root, LF.
std::string SerializeXmlDocument(const XmlElement& root);

// Keeps only what XML 1.0 can carry: control characters other than tab, CR
// and LF are dropped (as are U+FFFE and U+FFFF); bytes that are not UTF-8 become
// U+FFFD. One stray character must never make a whole show unreadable.
std::string XmlSafeText(std::string_view text);

// The five escapes, in text and attribute values alike; in attribute values
// tab, LF and CR are written as character references so a parser's
// whitespace normalisation cannot change them.
std::string EscapeXmlText(std::string_view text);
std::string EscapeXmlAttribute(std::string_view text);

}  // namespace lumetra
