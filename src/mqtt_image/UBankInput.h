#pragma once
#include "platform/XmlDoc.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

// Reading helpers shared by the two bank builders: the program's integer parser, the text
// clean-ups the images need, and look-ups in the flat ParGen.xml document.
namespace mqtt_image {

// The program's integer conversion: leading blanks, an optional sign, then decimal digits or
// hexadecimal digits after "$", "0x" or "x"; nothing may follow. Decimal values must fit in 32
// signed bits; hexadecimal ones may use all 32 bits (they wrap, as the device reads them).
std::optional<int32_t> Str_To_Int(std::string_view text);

// Without leading and trailing blanks and control characters.
std::string_view Trim_Bank_Text(std::string_view text);

// Without any carriage-return and line-feed characters.
std::string Remove_CR_LF(std::string_view text);

// Equal ignoring the case of ASCII letters (the keyword texts of the files are ASCII).
bool Same_Text_No_Case(std::string_view a, std::string_view b);

// A project file parsed where its bytes lie, without a second copy: texts taken from it stay
// valid as long as it lives.
class TXml_Source {
public:
    // Throws Exception naming the file when it cannot be read or is not well formed.
    static std::shared_ptr<const TXml_Source> Load(const QString& path);

    // The document's first element.
    pugi::xml_node Root() const { return Doc.DocumentElement().Raw(); }

private:
    platform::XmlDocument Doc;
};

// Flat ParGen.xml: one element per parameter under the root, looked up by name, first one wins.
class TParGen_Reader {
public:
    explicit TParGen_Reader(pugi::xml_node root) : Root(root) {}

    // The element's text, or nothing when the element is missing.
    std::optional<std::string_view> Text(const char* name) const;
    // The element's text as UTF-16; empty when missing.
    QString Text_UTF16(const char* name) const;
    // The parsed number; fallback when the element is missing or is not a number.
    int32_t Int(const char* name, int32_t fallback) const;
    // As Int, with separate values for a missing element and for a text that is not a number.
    int32_t Int(const char* name, int32_t whenMissing, int32_t whenNotNumber) const;
    // True only when the element's text is exactly "1".
    bool Is_One(const char* name) const;

private:
    pugi::xml_node Root;
};

}  // namespace mqtt_image
