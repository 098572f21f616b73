#pragma once
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>

// What the SNMP agent and manager tables share: the exchange area their positions address, the
// shapes of their columns and the community names.
namespace building::snmp {

using shell::MQTT_Array_Size;

// The columns of the SNMP tables: check boxes centred, no colours of their own.
shell::Table_Column Check_Column(int header, int hint, int width, const char* attribute, const char* fallback,
                                 const char* cleared = "");
shell::Table_Column Text_Column(int header, int hint, int width, const char* attribute);
shell::Table_Column List_Column(int header, int hint, QStringList items, int width, const char* attribute,
                                const char* fallback = "", shell::Cell_Editor kind = shell::Cell_Editor::List);
// The community names the Community Name lists offer.
QStringList Community_Items();

}  // namespace building::snmp
