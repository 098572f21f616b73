#pragma once
// Meter lists for the tests of the meter-list file and its editor: a wired meter by primary ID, a
// wired meter by secondary ID and a wireless meter with a key, each with values.
#include "MBusFrames.h"  // readable texts in failure messages
#include "protocols/mbus/UMeterListFile.h"

#include <QXmlStreamReader>
#include <utility>
#include <vector>

namespace meterlist_test {

inline TVariabile Variable(const char* desc, int type, int dim, uint32_t storage = 0, uint8_t position = 1)
{
    TVariabile v;
    v.Description = QString::fromUtf8(desc);
    v.Type_Of_Data = type;
    v.Dimension = dim;
    v.Storage_Number = storage;
    v.Position = position;
    return v;
}

inline TNodi_List Sample_List()
{
    TNodi_List list;
    TNodo wired;
    wired.Description = QStringLiteral("Heat meter <cellar> & \"boiler\"");
    wired.Node_ID_Primary = 5;
    wired.Node_ID_Secondary = 12345678;
    wired.Send_SNK = 1;
    wired.Cut_After = 2;
    wired.Node_State = 7;
    wired.NS_Topic = 3;
    wired.Var_List = {Variable("Energy", 0, 2), Variable("Volume", 2, 7, 4294967295u, 100)};
    wired.Var_List[1].Length = 191;
    wired.Var_List[1].Tariff = 0xFFFFF;
    wired.Var_List[1].VIFE = 151;
    wired.Var_List[1].Topic = 4;
    wired.Var_List[1].Post_Operation = 12;
    wired.Var_List[1].BCDtoINT = true;
    list.push_back(wired);

    TNodo secondary;
    secondary.Enable = false;
    secondary.Description = QStringLiteral("Water");
    secondary.Node_ID_Type = 1;
    secondary.Node_ID_Secondary = 99999999;
    secondary.Var_List_Type = 1;
    secondary.Cut_After = 249;
    secondary.Var_List = {Variable("Flow", 21, 7)};
    secondary.Var_List[0].VIF_ASCII = QStringLiteral("l/h");
    secondary.Var_List[0].Enable = false;
    list.push_back(secondary);

    TNodo wireless;
    wireless.Description = QStringLiteral("Radio gas meter");
    wireless.MBus_Type = 0;
    wireless.wMBus_ManID = QStringLiteral("0x2C2D");
    wireless.wMBus_Add = QStringLiteral("4294967295");
    wireless.wMBus_Ver = QStringLiteral("27");
    wireless.wMBus_DevType = QStringLiteral("$03");
    wireless.wMBus_En_Key = 1;
    for (int k = 0; k < 16; ++k)
        wireless.wMBus_Key[size_t(k)] = QString::number(k * 17);
    wireless.wMBus_RSSI = 1;
    wireless.wMBus_RSSI_Topic = 9;
    wireless.Var_List = {Variable("Gas", 2, 2)};
    list.push_back(wireless);
    return list;
}

// The attribute names of every element with that name, in document order, read by Qt's own
// XML reader.
inline std::vector<std::vector<QString>> Attribute_Orders(const QByteArray& xml, const QString& element)
{
    std::vector<std::vector<QString>> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == element) {
            std::vector<QString> names;
            for (const QXmlStreamAttribute& a : r.attributes())
                names.push_back(a.name().toString());
            out.push_back(std::move(names));
        }
    }
    return out;
}

// Every value of the attribute in document order.
inline std::vector<QString> Attribute_Values(const QByteArray& xml, const QString& name)
{
    std::vector<QString> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.attributes().hasAttribute(name))
            out.push_back(r.attributes().value(name).toString());
    return out;
}

}  // namespace meterlist_test
