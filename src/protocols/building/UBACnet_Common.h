#pragma once
#include "platform/Windows1252.h"
#include "shell/UComon.h"
#include "shell/UProjectTable.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the BACnet windows, the EDE writer and the EDE import share: the exchange area's size,
// ParGen.xml's values and the Windows-1252 code page of EDE files.
namespace building::bacnet {

using shell::MQTT_Array_Size;

// The text of an element under ParGen.xml's root; nothing when the file, the element or a well-
// formed document is missing.
std::optional<QString> ParGen_Text(const QString& parGenPath, const QString& element);
// True only when ParGen.xml's BACnet_Desc_Chars_Limit is exactly "1".
bool Desc_Chars_Limit(const QString& parGenPath);

// ---- Windows-1252 ------------------------------------------------------------------------------

using platform::From_Windows_1252;
using platform::Not_In_Windows_1252;
using platform::To_Windows_1252;
// Why a text cannot stand in a field of an EDE line (";", a control character such as a line
// break, a character outside Windows-1252), as the end of a sentence ("holds ..."); empty when it can.
QString EDE_Field_Fault(const QString& text);

}  // namespace building::bacnet
