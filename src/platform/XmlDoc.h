#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pugi {
class xml_document;
struct xml_node_struct;
}  // namespace pugi

namespace platform {

// One node of an XML document. A null node answers empty texts and null children.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(pugi::xml_node_struct* node) : Node(node) {}

    bool IsNull() const { return Node == nullptr; }
    explicit operator bool() const { return Node != nullptr; }
    QString NodeName() const;

    // Text of an element: its character data; empty when it has none.
    QString Text() const;
    // Name and text as UTF-8 views into the document, for readers of large files that keep no
    // copies; valid as long as the document lives unchanged.
    std::string_view NameUtf8() const;
    std::string_view TextUtf8() const;
    void SetText(const QString& text);

    // First child element with that name.
    XmlNode ChildByName(const QString& name) const;
    // Child elements in document order.
    std::vector<XmlNode> ChildNodes() const;

    bool HasAttribute(const QString& name) const;
    QString Attribute(const QString& name) const;
    void SetAttribute(const QString& name, const QString& value);
    // Adds the attribute after the others without looking for one of that name first: for writers
    // of large documents that write each name once, with the value as UTF-8.
    void AppendAttribute(const char* name, std::string_view utf8Value);
    // Calls fn(name, value) for each attribute in document order, name and value as UTF-8 views
    // into the document.
    template <typename Fn>
    void ForEachAttributeUtf8(Fn&& fn) const
    {
        // A plain function and a pointer: rows of large files are walked without any allocation.
        using F = std::remove_reference_t<Fn>;
        ForEachAttribute([](void* f, std::string_view name, std::string_view value) { (*static_cast<F*>(f))(name, value); },
                         const_cast<void*>(static_cast<const void*>(&fn)));
    }

    XmlNode AddChild(const QString& name);

private:
    void ForEachAttribute(void (*fn)(void*, std::string_view, std::string_view), void* context) const;

    pugi::xml_node_struct* Node = nullptr;
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
    // As LoadFromFile, but a document that breaks off keeps the elements read before the fault:
    // answers the fault's message, or an empty text when the file was read whole. Throws when the
    // file cannot be read or is larger than maxBytes.
    QString LoadPartFromFile(const QString& path, qint64 maxBytes = 64 * 1024 * 1024);

    // The root: the document's first element.
    XmlNode DocumentElement() const;
    XmlNode AddRoot(const QString& name);
    // Appends a comment at document level (after the root when the root exists).
    void AddComment(const QString& text);

    // The document as UTF-8 text, without an XML declaration; indented two blanks per level, or
    // with no white space added at all.
    enum class Layout { Indented, Flat };
    QByteArray SaveToBytes(Layout layout = Layout::Indented) const;
    // Writes the document whole, replacing the file; throws Exception on failure.
    void SaveToFile(const QString& path, Layout layout = Layout::Indented) const;

private:
    // The fault's message, or empty; keepPart keeps what was parsed before a fault.
    QString parseHeldBytes(const QString& nameForMessages, bool keepPart = false);

    std::unique_ptr<pugi::xml_document> Doc;
    QByteArray Bytes;  // the loaded file: the document is parsed where these bytes lie
};

}  // namespace platform
