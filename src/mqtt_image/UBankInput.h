#pragma once
#include "platform/XmlDoc.h"
#include "shell/UParGenFile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Reading helpers shared by the two bank builders: the text clean-ups the images need and
// look-ups in the flat ParGen.xml document. Numbers are read with the shell's integer reader.
namespace mqtt_image {

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
    platform::XmlNode Root() const { return Doc.DocumentElement(); }

private:
    platform::XmlDocument Doc;
};

// Flat ParGen.xml: the texts of its elements, found in one walk of the root's children.
class TParGen_Reader {
public:
    explicit TParGen_Reader(const platform::XmlNode& root) : Texts(shell::ParGen_Find(root)) {}

    // The element's text, or nothing when the element is missing.
    std::optional<std::string_view> Text(shell::TParGen_Id element) const { return Texts[shell::Index_Of(element)]; }
    // The element's text as UTF-16; empty when missing.
    QString Text_UTF16(shell::TParGen_Id element) const;
    // The parsed number; fallback when the element is missing or is not a 32-bit number.
    int32_t Int(shell::TParGen_Id element, int32_t fallback) const;
    // As Int, with separate values for a missing element and for a text that is not a number.
    int32_t Int(shell::TParGen_Id element, int32_t whenMissing, int32_t whenNotNumber) const;
    // True only when the element's text is exactly "1".
    bool Is_One(shell::TParGen_Id element) const;

private:
    shell::TParGenViews Texts;
};

}  // namespace mqtt_image
