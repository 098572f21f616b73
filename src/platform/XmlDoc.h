#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace platform {

// One node of an XML document. A null node answers empty texts and null children.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(pugi::xml_node node) : Node(node) {}

    bool IsNull() const { return !Node; }
    explicit operator bool() const { return static_cast<bool>(Node); }
    QString NodeName() const;

    // Text of an element: its character data; empty when it has none.
    QString Text() const;
    void SetText(const QString& text);

    // First child element with that name.
    XmlNode ChildByName(const QString& name) const;
    // Child elements in document order.
    std::vector<XmlNode> ChildNodes() const;

    bool HasAttribute(const QString& name) const;
    QString Attribute(const QString& name) const;
    void SetAttribute(const QString& name, const QString& value);

    XmlNode AddChild(const QString& name);
    pugi::xml_node Raw() const { return Node; }

private:
    pugi::xml_node Node;
};

// An XML document read from and written to files.
class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Removes every node.
    void Clear();
    // Throws Exception naming the file and the fault when the file cannot be read or is not well formed.
    void LoadFromFile(const QString& path);
    void LoadFromBytes(const QByteArray& bytes, const QString& nameForMessages = {});

    // The root: the document's first element.
    XmlNode DocumentElement() const;
    XmlNode AddRoot(const QString& name);
    // Appends a comment at document level (after the root when the root exists).
    void AddComment(const QString& text);

    // The document as UTF-8 text, without an XML declaration.
    QByteArray SaveToBytes() const;
    // Writes the document whole, replacing the file; throws Exception on failure.
    void SaveToFile(const QString& path) const;

private:
    void parseHeldBytes(const QString& nameForMessages);

    std::unique_ptr<pugi::xml_document> Doc;
    QByteArray Bytes;  // the loaded file: the document is parsed where these bytes lie
};

}  // namespace platform
