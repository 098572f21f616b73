#pragma once
#include "shell/UTextChecks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// ParGen.xml: the communication parameters of a configuration, one flat element per value under
// the root "Par_Gen", followed by the comment "SW_VERSION = 1.006". The window's controls hold the
// values while it is open; this unit knows the elements, their encodings and their defaults.
namespace comm_params {

enum class TParGenEncoding {
    Text,         // the control's text as typed
    Check,        // "1" checked, "0" not; reads only "1" as checked
    CheckNumber,  // written like Check; read as an integer, 1 checks
    Index,        // position of the selected list item
    ItemText,     // text of the selected list item, matched without letter case
};

struct TParGenElement {
    const char* Name;
    TParGenEncoding Encoding;
    const char* Default;  // text, "0"/"1" for check boxes, the position for lists
};

constexpr int ParGen_Element_Count = 117;
inline const QString ParGen_Root = QStringLiteral("Par_Gen");

// The elements in the order the writer emits them.
const std::array<TParGenElement, ParGen_Element_Count>& ParGen_Elements();
// Position of an element in ParGen_Elements(), or -1.
int ParGen_Element_Index(const QString& name);

// The value a control takes when its element is missing; with fileMissing, the value it takes when
// the configuration has no ParGen.xml at all (only the send time differs).
QString ParGen_Default(int element, bool fileMissing);

using shell::Parse_Integer;
int Str_To_Int_Def(const QString& text, int def);

// Decoders of the read-back rules.
bool Decode_Check(const QString& text);
bool Decode_Check_Number(const QString& text);
// Position stored for a list of itemCount items; a text that is not a number, or a position outside
// the list, gives def.
int Decode_Index(const QString& text, int itemCount, int def);
// Position of the item whose text equals text without regard to letter case, else 0.
int Decode_Item_Text(const QString& text, const QStringList& items);

// The document for the 117 encoded values, in element order, as it is saved.
QByteArray ParGen_Build(const std::vector<QString>& values);

// The stored text of each element (by element position); nullopt for a missing element. The root
// may have any name; of two elements with the same name the first counts.
using TParGenTexts = std::vector<std::optional<QString>>;
TParGenTexts ParGen_Parse(const QByteArray& bytes, const QString& nameForMessages);
// Reads the file; throws platform::Exception naming the file when it cannot be read or parsed.
TParGenTexts ParGen_Read_File(const QString& path);
// Writes the file whole (temporary file and rename); throws platform::Exception on failure.
void ParGen_Write_File(const QString& path, const std::vector<QString>& values);

}  // namespace comm_params
