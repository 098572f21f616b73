#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

// The M-Bus meter list (M_Bus.xml): its node and variable records, the code lists of their fields,
// the editor's reader (which reads both the editor's and the scanner's dialect) and the editor's
// writer.

// One value read from a meter.
struct TVariabile {
    bool Enable = true;
    QString Description;
    int Type_Of_Data = 0;
    int Function_Field = 0;
    int Dimension = 0;
    int Unita = 0;
    uint32_t Storage_Number = 0;
    int Tariff = 0;
    uint8_t VIFE = 0;
    bool BCDtoINT = false;
    int Length = 0;
    QString VIF_ASCII;
    uint8_t Position = 1;
    int Topic = 0;
    uint8_t Post_Operation = 0;

    bool operator==(const TVariabile&) const = default;
};

// One meter, wired or wireless, with its values.
struct TNodo {
    bool Enable = true;
    QString Description;
    int Node_ID_Primary = 1;
    int Node_ID_Secondary = 1;
    uint8_t Send_SNK = 0;
    uint8_t Reset_App = 0;
    std::vector<TVariabile> Var_List;
    uint8_t Node_State = 0;
    uint8_t Ident_Num = 0;
    uint8_t BCDtoINT_IN = 0;
    int Swap_Ident = 0;
    uint8_t Access_Number = 0;
    uint8_t Node_ID_Type = 0;
    uint8_t Var_List_Type = 0;
    // Item index of the "Cut after" list: 0 is one answer frame.
    uint8_t Cut_After = 0;
    int NS_Topic = 0;
    int IN_Topic = 0;
    int AN_Topic = 0;
    // 0 wireless, 1 wired.
    uint8_t MBus_Type = 1;
    QString wMBus_ManID;
    QString wMBus_Add;
    QString wMBus_Ver;
    QString wMBus_DevType;
    uint8_t wMBus_En_Key = 0;
    std::array<QString, 16> wMBus_Key;
    uint8_t wMBus_RSSI = 0;
    int wMBus_RSSI_Topic = 0;

    // The ID the meter is addressed by: the secondary one when its ID type is 1.
    int Own_ID() const { return Node_ID_Type == 1 ? Node_ID_Secondary : Node_ID_Primary; }
    bool operator==(const TNodo&) const = default;
};

using TNodi_List = std::vector<TNodo>;

// The code lists, texts in code order.
const QStringList& Type_Of_Data_List();
const QStringList& Function_Field_List();
const QStringList& Dimension_List();
const QStringList& Post_Operation_List();
const QStringList& VIFE_List();

// What a read produced. Nodes read before a fault stay; Error says why the reading stopped
// (empty when the file was read whole); Warnings name the values that took their default.
struct TMeterListRead {
    TNodi_List Nodes;
    QString Error;
    QStringList Warnings;
    bool Complete() const { return Error.isEmpty(); }
};

// Reads a meter list of either dialect. A file that cannot be opened throws platform::Exception.
TMeterListRead Read_Meter_List(const QString& path);

// The list in the editor's dialect, and the same written whole over the file (throws
// platform::Exception when it cannot be written; the file then stays as it was).
QByteArray Meter_List_Bytes(const TNodi_List& nodes);
void Write_Meter_List(const QString& path, const TNodi_List& nodes);

// A read's problems as the lines of one message: the error first, then at most ten warnings.
QString Read_Problem_Text(const TMeterListRead& read);

// A number typed in an edit: decimal, or hexadecimal after "$" or "0x"; anything else is -1.
qint64 Typed_Number(const QString& text);

// The ranges of a wired node's IDs and of a wireless address, as the editor and the paste
// dialog check them.
bool Node_ID_In_Range(bool secondary, qint64 id);
bool Wireless_Address_In_Range(qint64 address);
