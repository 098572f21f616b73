#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TZipPackage;

// What the office package readers and writers share: parts, relationships and content types of
// an Open Packaging package, element lookup by local name (writers differ in their prefixes) and
// the text escapes of office XML.
namespace ooxml {

// Package members read whole into a document tree; worksheets and string tables are read row by row.
constexpr qint64 MaxPartBytes = qint64(64) << 20;

std::string_view LocalName(const char* name);
// The prefix of the node's name with its colon ("x:"), or empty.
std::string Prefix(pugi::xml_node node);
std::string QualifiedName(pugi::xml_node sameNamespaceAs, const char* local);
pugi::xml_node Child(pugi::xml_node node, const char* local);
std::vector<pugi::xml_node> Children(pugi::xml_node node, const char* local);
pugi::xml_attribute AttrLocal(pugi::xml_node node, const char* local);
bool AttrBool(pugi::xml_attribute a);

void ParseXml(const QByteArray& bytes, pugi::xml_document& doc, const QString& file);
QByteArray SaveXml(const pugi::xml_document& doc);

// Calls fn for each element of that local name in document order, each parsed on its own, so
// that a large part never stands whole as a tree. Elements of that name must not nest.
void ForEachElement(const QByteArray& xml, const char* local, const QString& file,
                    const std::function<void(pugi::xml_node)>& fn);

// The text of a string item: its "t" elements in order, phonetic runs left out, escapes decoded.
QString RunText(pugi::xml_node item);
// "_x000D_" and its kind stand for characters that XML cannot carry.
QString DecodeEscapes(const QString& text);
QString EncodeEscapes(const QString& text);

struct TRelationship {
    QString Id, Type, Target;  // Target: the part name in the package, without a leading "/"
};
std::vector<TRelationship> ReadRelationships(const TZipPackage& pkg, const QString& sourcePart);
// The package's main part (its office document), or the fallback.
QString MainPart(const TZipPackage& pkg, const QString& fallback);
// Adds a relationship from sourcePart to targetPart; answers its new id.
QString AddRelationship(TZipPackage& pkg, const QString& sourcePart, const char* type, const QString& targetPart);
void AddContentType(TZipPackage& pkg, const QString& part, const char* contentType);
// Removes the related part, the relationship and its content type.
void RemovePart(TZipPackage& pkg, const QString& sourcePart, const TRelationship& rel);
// The qualified name of the relationship id attribute on the document's root ("r:id"),
// declaring the namespace when the root lacks it.
std::string RelationshipAttribute(pugi::xml_document& doc);

}  // namespace ooxml
}  // namespace platform
