#include "platform/XmlDoc.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"

#include <pugixml.hpp>

#include <algorithm>

namespace platform {
namespace {
std::string utf8(const QString& s) { return s.toStdString(); }
QString fromUtf8(const char* s) { return QString::fromUtf8(s); }
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

pugi::xml_node node(pugi::xml_node_struct* n) { return pugi::xml_node(n); }
XmlNode wrap(pugi::xml_node n) { return XmlNode(n.internal_object()); }

// Collects the saved text; a string stream would first set up the C++ locale, which costs more
// than a small document.
struct SavedText final : pugi::xml_writer {
    QByteArray Bytes;
    void write(const void* data, size_t size) override
    {
        Bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

// Whether the start tag that begins at `start` of the original bytes closes before `fault`: an
// element whose start tag was cut keeps the attributes read so far, the last of them cut short.
bool StartTagCloses(const QByteArray& original, qsizetype start, qsizetype fault)
{
    const qsizetype end = std::min(fault, original.size());
    for (qsizetype i = start + 1; i < end; ++i) {
        const char c = original.at(i);
        if (c == '>')
            return true;
        if (c == '"' || c == '\'') {
            const qsizetype close = original.indexOf(c, i + 1);
            if (close < 0 || close >= end)
                return false;
            i = close;
        }
    }
    return false;
}
}  // namespace

QString XmlNode::NodeName() const { return fromUtf8(node(Node).name()); }

QString XmlNode::Text() const { return fromUtf8(node(Node).text().get()); }

std::string_view XmlNode::NameUtf8() const { return node(Node).name(); }

std::string_view XmlNode::TextUtf8() const { return node(Node).text().get(); }

void XmlNode::SetText(const QString& text)
{
    if (Node)
        node(Node).text().set(utf8(text).c_str());
}

XmlNode XmlNode::ChildByName(const QString& name) const { return wrap(node(Node).child(utf8(name).c_str())); }

std::vector<XmlNode> XmlNode::ChildNodes() const
{
    std::vector<XmlNode> result;
    for (pugi::xml_node child : node(Node).children())
        if (child.type() == pugi::node_element)
            result.push_back(wrap(child));
    return result;
}

bool XmlNode::HasAttribute(const QString& name) const
{
    return static_cast<bool>(node(Node).attribute(utf8(name).c_str()));
}

QString XmlNode::Attribute(const QString& name) const
{
    return fromUtf8(node(Node).attribute(utf8(name).c_str()).value());
}

void XmlNode::SetAttribute(const QString& name, const QString& value)
{
    if (!Node)
        return;
    const std::string key = utf8(name);
    pugi::xml_attribute attr = node(Node).attribute(key.c_str());
    if (!attr)
        attr = node(Node).append_attribute(key.c_str());
    attr.set_value(utf8(value).c_str());
}

void XmlNode::AppendAttribute(const char* name, std::string_view utf8Value)
{
    if (Node)
        node(Node).append_attribute(name).set_value(utf8Value.data(), utf8Value.size());
}

void XmlNode::ForEachAttribute(void (*fn)(void*, std::string_view, std::string_view), void* context) const
{
    for (pugi::xml_attribute attr = node(Node).first_attribute(); attr; attr = attr.next_attribute())
        fn(context, attr.name(), attr.value());
}

XmlNode XmlNode::AddChild(const QString& name) { return wrap(node(Node).append_child(utf8(name).c_str())); }

XmlDocument::XmlDocument() : Doc(std::make_unique<pugi::xml_document>()) {}
XmlDocument::~XmlDocument() = default;

void XmlDocument::Clear()
{
    Doc->reset();
    Bytes.clear();
}

void XmlDocument::LoadFromFile(const QString& path)
{
    Doc->reset();
    Bytes = ReadWholeFile(path);
    const QString fault = parseHeldBytes(path);
    if (!fault.isEmpty())
        throw Exception(fault);
}

QString XmlDocument::LoadPartFromFile(const QString& path, qint64 maxBytes)
{
    Doc->reset();
    Bytes = ReadWholeFile(path, maxBytes);
    const QByteArray original(Bytes.constData(), Bytes.size());  // the parse writes into Bytes
    const QString fault = parseHeldBytes(path, true);
    if (fault.isEmpty() || !Doc->document_element())
        return fault;
    // The deepest last element is the one the fault cut; drop it when its start tag is incomplete.
    pugi::xml_node last = Doc->document_element();
    while (last.last_child() && last.last_child().type() == pugi::node_element)
        last = last.last_child();
    const pugi::xml_parse_result again = [&] {
        pugi::xml_document probe;
        return probe.load_buffer(original.constData(), static_cast<size_t>(original.size()), kParseOptions);
    }();
    // The fault's offset names the last byte read; one reported before the element (a tag left
    // open above it) says nothing of the element's own tag.
    const qsizetype start = last.offset_debug(), cut = static_cast<qsizetype>(again.offset);
    const qsizetype end = cut > start ? std::min(cut + 1, original.size()) : original.size();
    if (last != Doc->document_element() && !StartTagCloses(original, start, end))
        last.parent().remove_child(last);
    return fault;
}

void XmlDocument::LoadFromBytes(const QByteArray& bytes, const QString& nameForMessages)
{
    Doc->reset();
    Bytes = bytes;
    const QString fault = parseHeldBytes(nameForMessages);
    if (!fault.isEmpty())
        throw Exception(fault);
}

QString XmlDocument::parseHeldBytes(const QString& nameForMessages, bool keepPart)
{
    // In place: no second copy of a large file; texts read from the document point into Bytes.
    // A failed parse leaves the nodes read before the fault in the document.
    const pugi::xml_parse_result result =
        Doc->load_buffer_inplace(Bytes.data(), static_cast<size_t>(Bytes.size()), kParseOptions);
    QString fault;
    if (!result)
        fault = QStringLiteral("The file \"%1\" is not valid XML: %2 at byte %3")
                    .arg(nameForMessages, QString::fromUtf8(result.description()))
                    .arg(result.offset);
    else if (!Doc->document_element())
        fault = QStringLiteral("The file \"%1\" is not valid XML: no root element").arg(nameForMessages);
    if (!fault.isEmpty() && (!keepPart || !Doc->document_element()))
        Clear();
    return fault;
}

XmlNode XmlDocument::DocumentElement() const { return wrap(Doc->document_element()); }

XmlNode XmlDocument::AddRoot(const QString& name) { return wrap(Doc->append_child(utf8(name).c_str())); }

void XmlDocument::AddComment(const QString& text)
{
    Doc->append_child(pugi::node_comment).set_value(utf8(text).c_str());
}

QByteArray XmlDocument::SaveToBytes(Layout layout) const
{
    SavedText out;
    const unsigned format = layout == Layout::Indented ? pugi::format_indent : pugi::format_raw;
    Doc->save(out, "  ", format | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.Bytes;
}

void XmlDocument::SaveToFile(const QString& path, Layout layout) const
{
    WriteFileAtomic(path, SaveToBytes(layout));
}

}  // namespace platform
