#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

// The SNMP MIB module (SMIv2) of the family's SNMP agent gateway: its fixed objects under the
// maker's enterprise node, then one read-only object and one notification per enabled read variable
// of SNMP_Trap.xml and one read-write object per enabled write variable.

// Objects per section: the agent window's table size.
constexpr int MIB_Max_Objects = 256;
// Row 0: the read objects, row 1 the write objects; entry k tells whether the k-th object of
// App_State.MIB_Read_Objects (MIB_Write_Objects) is an integer.
extern std::array<std::array<bool, MIB_Max_Objects>, 2> MIB_Object_Is_Int;

// True when an object named so would clash with a name the module gives itself: its fixed and
// imported names, and the names it makes for objects and notifications ("bufferinval" + index ...).
bool MIB_Reserved_Name(const QString& name);

// The save dialog in the project folder, a question before replacing a file, then the module.
void Save_MIB_File();
// Fills the object lists and the flag table from the enabled rows of SNMP_Trap.xml. A file the agent
// window would not save as it stands (not readable whole, a row it refuses) throws Exception and
// leaves the lists empty.
void Load_MIB_Objects();
// The module of the loaded objects, lines ended by CR LF.
QByteArray MIB_Text();
// Writes MIB_Text whole to FileName (replacing it); throws Exception on failure.
void Write_MIB_File(const QString& FileName);
