#include "platform/formats/OoxmlParts.h"

#include <QStringList>
#include <cstring>
#include <sstream>

#include "platform/Exception.h"
#include "platform/formats/ZipPackage.h"

namespace platform::ooxml {

namespace parts_detail {

const char* const RelsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
const char* const OfficeRelsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The text and whitespace rules of office XML: entities decoded, a lone blank kept.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

QString Folder(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString RelsPart(const QString& part)
{
    return Folder(part) + QStringLiteral("_rels/") + part.mid(part.lastIndexOf(u'/') + 1) + QStringLiteral(".rels");
}

// A target relative to the source's folder ("../media/a.png") as a part name.
QString Resolve(const QString& sourcePart, const QString& target)
{
    QString path = target.startsWith(u'/') ? target.mid(1) : Folder(sourcePart) + target;
    QStringList out;
    for (const QString& seg : path.split(u'/')) {
        if (seg == QLatin1String(".."))
            !out.isEmpty() ? out.removeLast() : void();
        else if (!seg.isEmpty() && seg != QLatin1String("."))
            out << seg;
    }
    return out.join(u'/');
}

bool ReadDoc(const TZipPackage& pkg, const QString& part, pugi::xml_document& doc)
{
    if (!pkg.Has(part))
        return false;
    ParseXml(pkg.Read(part, MaxPartBytes), doc, pkg.Path());
    return true;
}

}  // namespace parts_detail

using namespace parts_detail;

std::string_view LocalName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

std::string Prefix(pugi::xml_node node)
{
    const std::string_view name = node.name();
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}

std::string QualifiedName(pugi::xml_node sameNamespaceAs, const char* local) { return Prefix(sameNamespaceAs) + local; }

pugi::xml_node Child(pugi::xml_node node, const char* local)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && LocalName(c.name()) == local)
            return c;
    return {};
}

std::vector<pugi::xml_node> Children(pugi::xml_node node, const char* local)
{
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && LocalName(c.name()) == local)
            out.push_back(c);
    return out;
}

pugi::xml_attribute AttrLocal(pugi::xml_node node, const char* local)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (LocalName(a.name()) == local && std::strncmp(a.name(), "xmlns", 5) != 0)
            return a;
    return {};
}

bool AttrBool(pugi::xml_attribute a)
{
    const std::string_view v = a.value();
    return v == "1" || v == "true";
}

void ParseXml(const QByteArray& bytes, pugi::xml_document& doc, const QString& file)
{
    const pugi::xml_parse_result result = doc.load_buffer(bytes.constData(), size_t(bytes.size()), ParseOptions);
    if (!result || !doc.document_element())
        throw Exception(QStringLiteral("The file \"%1\" is damaged: %2 at byte %3")
                            .arg(file, QString::fromUtf8(result.description()))
                            .arg(result.offset));
}

QByteArray SaveXml(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n") +
           QByteArray::fromStdString(out.str());
}

void ForEachElement(const QByteArray& xml, const char* local, const QString& file,
                    const std::function<void(pugi::xml_node)>& fn)
{
    const std::string_view text(xml.constData(), size_t(xml.size()));
    const std::string_view want(local);
    auto damaged = [&] { throw Exception(QStringLiteral("The file \"%1\" is damaged: a part is cut short").arg(file)); };
    pugi::xml_document doc;
    size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos) {
        const std::string_view rest = text.substr(i);
        size_t end = std::string_view::npos;
        if (rest.starts_with("<!--"))
            end = text.find("-->", i);
        else if (rest.starts_with("<![CDATA["))
            end = text.find("]]>", i);
        if (end != std::string_view::npos) {
            i = end + 3;
            continue;
        }
        if (rest.starts_with("<!--") || rest.starts_with("<![CDATA["))
            damaged();
        if (rest.starts_with("<?") || rest.starts_with("<!") || rest.starts_with("</")) {
            end = text.find('>', i);
            if (end == std::string_view::npos)
                damaged();
            i = end + 1;
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() && !std::strchr(" \t\r\n/>", text[j]))
            ++j;
        const std::string_view qname = text.substr(i + 1, j - i - 1);
        // The end of the start tag, past quoted attribute values.
        char quote = 0;
        for (; j < text.size(); ++j) {
            const char c = text[j];
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }
        if (j >= text.size())
            damaged();
        const size_t colon = qname.rfind(':');
        const std::string_view name = colon == std::string_view::npos ? qname : qname.substr(colon + 1);
        if (name != want) {
            i = j + 1;
            continue;
        }
        if (text[j - 1] == '/') {
            end = j + 1;
        } else {
            const std::string close = "</" + std::string(qname);
            end = text.find(close, j);
            if (end == std::string_view::npos)
                damaged();
            end = text.find('>', end);
            if (end == std::string_view::npos)
                damaged();
            ++end;
        }
        const pugi::xml_parse_result result = doc.load_buffer(text.data() + i, end - i, ParseOptions);
        if (!result)
            throw Exception(QStringLiteral("The file \"%1\" is damaged: %2").arg(file, QString::fromUtf8(result.description())));
        fn(doc.document_element());
        i = end;
    }
}

QString RunText(pugi::xml_node item)
{
    QString out;
    for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view name = LocalName(c.name());
        if (name == "t")
            out += QString::fromUtf8(c.child_value());
        else if (name == "r")
            out += RunText(c);
    }
    return DecodeEscapes(out);
}

QString DecodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && text.at(i + 6) == u'_') {
            bool ok = false;
            const uint code = QStringView(text).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

QString EncodeEscapes(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        const bool looksEscaped = u == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && text.at(i + 6) == u'_';
        if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF || looksEscaped)
            out += QStringLiteral("_x%1_").arg(uint(u), 4, 16, QChar(u'0')).toUpper().replace(QLatin1String("_X"), QLatin1String("_x"));
        else
            out += c;
    }
    return out;
}

std::vector<TRelationship> ReadRelationships(const TZipPackage& pkg, const QString& sourcePart)
{
    std::vector<TRelationship> rels;
    pugi::xml_document doc;
    if (!ReadDoc(pkg, RelsPart(sourcePart), doc))
        return rels;
    for (pugi::xml_node r : Children(doc.document_element(), "Relationship")) {
        if (std::string_view(r.attribute("TargetMode").value()) == "External")
            continue;
        rels.push_back({QString::fromUtf8(r.attribute("Id").value()), QString::fromUtf8(r.attribute("Type").value()),
                        Resolve(sourcePart, QString::fromUtf8(r.attribute("Target").value()))});
    }
    return rels;
}

QString MainPart(const TZipPackage& pkg, const QString& fallback)
{
    for (const TRelationship& r : ReadRelationships(pkg, QString()))
        if (r.Type.endsWith(QLatin1String("/officeDocument")) && pkg.Has(r.Target))
            return r.Target;
    return fallback;
}

QString AddRelationship(TZipPackage& pkg, const QString& sourcePart, const char* type, const QString& targetPart)
{
    const QString relsPart = RelsPart(sourcePart);
    pugi::xml_document doc;
    if (!ReadDoc(pkg, relsPart, doc))
        doc.append_child("Relationships").append_attribute("xmlns").set_value(RelsNs);
    pugi::xml_node root = doc.document_element();
    QString id;
    for (int n = 1;; ++n) {
        id = QStringLiteral("rId%1").arg(n);
        bool used = false;
        for (pugi::xml_node r : Children(root, "Relationship"))
            used = used || QString::fromUtf8(r.attribute("Id").value()) == id;
        if (!used)
            break;
    }
    const QString folder = Folder(sourcePart);
    const QString target = targetPart.startsWith(folder) ? targetPart.mid(folder.size()) : u'/' + targetPart;
    pugi::xml_node r = root.append_child(QualifiedName(root, "Relationship").c_str());
    r.append_attribute("Id").set_value(id.toUtf8().constData());
    r.append_attribute("Type").set_value(type);
    r.append_attribute("Target").set_value(target.toUtf8().constData());
    pkg.Put(relsPart, SaveXml(doc));
    return id;
}

void AddContentType(TZipPackage& pkg, const QString& part, const char* contentType)
{
    const QString typesPart = QStringLiteral("[Content_Types].xml");
    pugi::xml_document doc;
    ParseXml(pkg.Read(typesPart, MaxPartBytes), doc, pkg.Path());
    pugi::xml_node root = doc.document_element();
    pugi::xml_node o = root.append_child(QualifiedName(root, "Override").c_str());
    o.append_attribute("PartName").set_value(('/' + part).toUtf8().constData());
    o.append_attribute("ContentType").set_value(contentType);
    pkg.Put(typesPart, SaveXml(doc));
}

void RemovePart(TZipPackage& pkg, const QString& sourcePart, const TRelationship& rel)
{
    pkg.Remove(rel.Target);
    pugi::xml_document doc;
    if (ReadDoc(pkg, RelsPart(sourcePart), doc)) {
        for (pugi::xml_node r : Children(doc.document_element(), "Relationship"))
            if (QString::fromUtf8(r.attribute("Id").value()) == rel.Id)
                doc.document_element().remove_child(r);
        pkg.Put(RelsPart(sourcePart), SaveXml(doc));
    }
    pugi::xml_document types;
    if (ReadDoc(pkg, QStringLiteral("[Content_Types].xml"), types)) {
        for (pugi::xml_node o : Children(types.document_element(), "Override"))
            if (QString::fromUtf8(o.attribute("PartName").value()).compare(u'/' + rel.Target, Qt::CaseInsensitive) == 0)
                types.document_element().remove_child(o);
        pkg.Put(QStringLiteral("[Content_Types].xml"), SaveXml(types));
    }
}

std::string RelationshipAttribute(pugi::xml_document& doc)
{
    pugi::xml_node root = doc.document_element();
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        if (name.starts_with("xmlns:") && std::string_view(a.value()) == OfficeRelsNs)
            return std::string(name.substr(6)) + ":id";
    }
    // "r" may be bound to something else: a prefix of our own.
    const char* prefix = root.attribute("xmlns:r") ? "rel" : "r";
    root.append_attribute((std::string("xmlns:") + prefix).c_str()).set_value(OfficeRelsNs);
    return std::string(prefix) + ":id";
}

}  // namespace platform::ooxml
