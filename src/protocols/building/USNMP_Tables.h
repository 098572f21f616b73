#pragma once
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// What the SNMP agent and manager tables share: the exchange area their positions address, the
// check that a variable fits in it, and the tables' column shapes.
namespace building::snmp {

// The gateway's exchange area that positions address.
constexpr int MQTT_Array_Size = 1440;

// The columns of the SNMP tables: check boxes centred, no colours of their own.
shell::Table_Column Check_Column(int header, int hint, int width, const char* attribute, const char* fallback,
                                 const char* cleared = "");
shell::Table_Column Text_Column(int header, int hint, int width, const char* attribute);
shell::Table_Column List_Column(int header, int hint, QStringList items, int width, const char* attribute,
                                const char* fallback = "", shell::Cell_Editor kind = shell::Cell_Editor::List);
// The community names the Community Name lists offer.
QStringList Community_Items();

inline bool Outside(int64_t value, int64_t low, int64_t high) { return value < low || value > high; }

// A position cell that is a number 0 .. areaSize-1 (trimmed, the tables' number rule); else -1.
int64_t Area_Position(const QString& cell, int areaSize);

// The message after the row prefix when bytes from position on leave the area; nothing when they fit.
std::optional<QString> Area_Fit_Fault(const QString& tag, int64_t position, int64_t bytes, int areaSize);

}  // namespace building::snmp
