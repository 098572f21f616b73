#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

// The EDE file (BACnet engineering data exchange, a ';'-separated table in Windows-1252 with CR LF
// line ends) that describes the objects of the BACnet server table to a BACnet workstation. Its
// header lines name the seven columns it writes.
namespace building::bacnet {

// One object line, its fields in file order.
struct TBACnet_EDE_Obj {
    QString Keyname;  // device instance _ Mnemonic _ object instance; unique in the file
    QString DevObjInstance;
    QString ObjectName;  // the Mnemonic cut to 16 characters, or 32 with the description limit
    QString ObjectType;
    QString ObjectInstance;  // numbered from 0 per object type over both tables
    QString Description;
    QString UnitCode;
};

// The BACnet object-type number of a server table's Data_Type text (trimmed, upper-cased); 0 for
// a text it does not know.
int Get_EDE_Object_Type(const QString& dataType);

// What ParGen.xml gives the EDE file.
struct EDE_Device {
    QString Instance;  // the device object instance, as text
    bool Desc_Limit = false;
};
EDE_Device EDE_Device_Of(const QString& parGenPath);

// The objects of the server table's file, read table first; a missing file gives none. Throws
// Exception naming the file and row for a row lacking an attribute, a missing container, or a
// value the EDE line cannot hold (";", a line break, a character outside Windows-1252).
std::vector<TBACnet_EDE_Obj> EDE_Objects(const QString& slaveFile, const EDE_Device& device);

// The file's text: seven header lines and one line per object, every line ended by CR LF.
QString EDE_File_Text(const QString& organisation, const QString& confName, const QDateTime& time,
                      const std::vector<TBACnet_EDE_Obj>& objects);

// The whole file as bytes, from the project's files; throws Exception when the device instance is
// empty or any text cannot be written.
QByteArray Make_EDE_File(const QString& slaveFile, const QString& parGenPath, const QString& confName,
                         const QDateTime& time);

// The text of lines 1 and 4 that names the configurator's maker.
QString EDE_Organisation();

}  // namespace building::bacnet

// Writes the EDE file of the open configuration at FileName and says how many objects it holds;
// throws Exception (shown by the caller's guard) when it cannot be made or written.
void Write_EDE_File(const QString& FileName);
