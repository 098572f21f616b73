#include "protocols/mbus/UMBusDecode.h"

#include "platform/Bytes.h"
#include "platform/CodeTable.h"
#include "protocols/mbus/ElAES.h"
#include "shell/UTextChecks.h"

#include <algorithm>

namespace {

using platform::ByteReader;

constexpr int Max_Extensions = 10;
constexpr int Max_Unit_Text = 192;

struct TDataFieldRow {
    int Length;
    QStringView DataFieldStr;
    QStringView DescDim;
};

const platform::CodeTable<TDataFieldRow>& Data_Fields()
{
    static const platform::CodeTable<TDataFieldRow> table(
        {
            {0, {0, u"", u"No data"}},
            {1, {1, u"8 Bit Integer", u"8 Bit Integer"}},
            {2, {2, u"16 Bit Integer", u"16 Bit Integer"}},
            {3, {3, u"24 Bit Integer", u"24 Bit Integer"}},
            {4, {4, u"32 Bit Integer", u"32 Bit Integer"}},
            {5, {4, u"32 Bit Real", u"32 Bit real"}},
            {6, {6, u"48 Bit Integer", u"48 Bit Integer"}},
            {7, {8, u"64 Bit Integer", u"64 Bit Integer"}},
            {8, {0, u"", u"Selection for Readout"}},
            {9, {1, u"2 Digit BCD", u"2 digit BCD"}},
            {10, {2, u"4 Digit BCD", u"4 digit BCD"}},
            {11, {3, u"6 Digit BCD", u"6 digit BCD"}},
            {12, {4, u"8 Digit BCD", u"8 digit BCD"}},
            {14, {6, u"12 Digit BCD", u"12 digit BCD"}},
            {15, {0, u"Special Function", u""}},
        },
        {0, u"", u""});
    return table;
}

// The texts and length of a variable-length record (data field 13), with the lengths of
// EN 13757-3: text of LVAR characters, BCD numbers of up to 9 bytes, binary numbers of 0 to 15
// bytes, then 16, 20, 24, 28, 32, 48 and 64 bytes. False for the reserved length bytes, whose
// data length nobody can know.
bool Variable_Length(uint8_t lvar, int& length, QString& data_field, QString& desc_dim)
{
    if (lvar <= 0xBF) {
        length = lvar;
        data_field = QStringLiteral("Variable Length - ASCII String with %1characters").arg(length);
        desc_dim = QStringLiteral("Variable length: ASCII string with %1 characters").arg(length);
    } else if ((lvar & 0x0F) <= 9 && lvar <= 0xDF) {
        length = lvar & 0x0F;
        const QString sign = lvar <= 0xCF ? QStringLiteral("Positive") : QStringLiteral("Negative");
        data_field = QStringLiteral("Variable Length - %1 BCD Number with %2 digits").arg(sign).arg(2 * length);
        desc_dim = QStringLiteral("Variable length: %1 BCD number with %2 *2 digits").arg(sign).arg(length);
    } else if (lvar >= 0xE0 && lvar <= 0xF6) {
        length = lvar <= 0xEF ? lvar - 0xE0 : lvar <= 0xF4 ? 4 * (lvar - 0xEC) : lvar == 0xF5 ? 48 : 64;
        data_field = QStringLiteral("Variable Length - Binary Number with %1 Bytes").arg(length);
        desc_dim = QStringLiteral("Variable length: Binary number with %1 bytes").arg(length);
    } else {
        data_field = QStringLiteral("Variable Length - Reserved");
        desc_dim = QStringLiteral("Variable length: Reserved");
        return false;
    }
    return true;
}

const QString& Function_Field_Text(int function_field)
{
    static const std::array<QString, 4> texts{QStringLiteral("Istantaneous value"), QStringLiteral("Maximum value"),
                                              QStringLiteral("Minimum value"),
                                              QStringLiteral("Value during error state")};
    return texts[function_field & 3];
}

constexpr char16_t Hex_Digits[] = u"0123456789ABCDEF";

void Append_Hex(QString& text, uint8_t byte)
{
    text += QChar(Hex_Digits[byte >> 4]);
    text += QChar(Hex_Digits[byte & 0x0F]);
}

// "$" + the DIF in two hex digits, one shared text per DIF.
const QString& Dif_Text(uint8_t dif)
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> all;
        for (int i = 0; i < 256; ++i) {
            all[size_t(i)] = QStringLiteral("$");
            Append_Hex(all[size_t(i)], uint8_t(i));
        }
        return all;
    }();
    return texts[dif];
}

// "$" + two hex digits + " " for each byte.
QString Dollar_List(const uint8_t* bytes, int count)
{
    QString text;
    if (count == 0)
        return text;
    text.reserve(4 * count);
    for (int i = 0; i < count; ++i) {
        text += u'$';
        Append_Hex(text, bytes[i]);
        text += u' ';
    }
    return text;
}

// Reads an extension chain (DIFEs or VIFEs) of at most ten bytes; false when an eleventh
// would follow or the chain is cut short.
bool Read_Extensions(ByteReader& reader, uint8_t* chain, int& count)
{
    count = 0;
    uint8_t byte = 0;
    do {
        if (count == Max_Extensions)
            return false;
        byte = reader.U8();
        chain[count++] = byte;
    } while ((byte & 0x80) && reader.Ok());
    return reader.Ok();
}

const QString& Not_Analysable() { static const QString text = QStringLiteral("Non analizabile"); return text; }

}  // namespace

TMBusDecoder::TMBusDecoder()
    : Decimal_Separator(shell::Get_Decimal_Separator()), Locale(QLocale::system()),
      Clock([] { return QDateTime::currentDateTime(); })
{
}

void TMBusDecoder::Begin_Frame()
{
    // The texts are kept while they stay the same, so that the frames of one second share them.
    const QDateTime before = Now;
    Now = Clock();
    const bool same_day = !Date_Text.isNull() && Now.date() == before.date();
    if (!same_day)
        Date_Text = Locale.toString(Now.date(), QLocale::ShortFormat);
    if (!same_day || Time_Text.isNull() ||
        Now.time().msecsSinceStartOfDay() / 1000 != before.time().msecsSinceStartOfDay() / 1000)
        Time_Text = Locale.toString(Now.time(), QStringLiteral("HH:mm:ss"));
}

void TMBusDecoder::End_Walk(TWalkStop stop, const QString& text)
{
    Stop = stop;
    Stop_Text = text;
}

bool TMBusDecoder::Decode_Records(TList_Var& list, std::span<const uint8_t> records, bool wireless)
{
    Begin_Frame();
    return Walk_Records(list, records, wireless);
}

bool TMBusDecoder::Walk_Records(TList_Var& list, std::span<const uint8_t> records, bool wireless)
{
    End_Walk(TWalkStop::None, QString());
    ByteReader reader(records);
    std::array<uint8_t, Max_Extensions> difes{};
    std::array<uint8_t, Max_Extensions> vifes{};
    while (!reader.AtEnd()) {
        const uint8_t dif = reader.U8();
        const int data_field = dif & 0x0F;
        int num_dife = 0;
        int num_vife = 0;
        uint8_t vif = 0;
        std::span<const uint8_t> unit;
        if (dif != 0x0F && dif != 0x1F && dif != 0x2F) {
            if ((dif & 0x80) && !Read_Extensions(reader, difes.data(), num_dife)) {
                End_Walk(TWalkStop::NotAnalysable, Not_Analysable());
                break;
            }
            vif = reader.U8();
            if ((vif & 0x7F) == 0x7C) {
                const uint8_t length = reader.U8();
                if (length > Max_Unit_Text) {
                    End_Walk(TWalkStop::NotAnalysable, Not_Analysable());
                    break;
                }
                unit = reader.Bytes(length);
            }
            if ((vif & 0x80) && reader.Ok() && !Read_Extensions(reader, vifes.data(), num_vife)) {
                End_Walk(TWalkStop::NotAnalysable, Not_Analysable());
                break;
            }
        }

        const TDataFieldRow& row = Data_Fields()[data_field];
        int length = row.Length;
        uint8_t lvar = 0;
        QString data_field_text;
        QString desc_dim;
        if (data_field == 13) {
            lvar = reader.U8();
            if (reader.Ok() && !Variable_Length(lvar, length, data_field_text, desc_dim)) {
                End_Walk(TWalkStop::NotAnalysable, Not_Analysable());
                break;
            }
        } else {
            data_field_text = Static_Text(row.DataFieldStr);
            desc_dim = Static_Text(row.DescDim);
        }
        const std::span<const uint8_t> data = reader.Bytes(length);
        if (!reader.Ok()) {
            End_Walk(TWalkStop::NotAnalysable, Not_Analysable());
            break;
        }

        if (dif == 0x0F || dif == 0x1F) {
            End_Walk(TWalkStop::ManufacturerData, QStringLiteral("Errore Frame dati costruttore non analizzabili"));
            if (dif == 0x1F)
                return false;
            break;
        }
        if (data_field == 15 && dif >= 0x3F && dif <= 0x7F) {
            End_Walk(TWalkStop::DataType, QStringLiteral("Errore tipo di dati non analizzabili"));
            break;
        }
        if (data_field == 15) {
            if (dif == 0x2F && wireless) {
                auto filler = std::make_unique<TVariable_MBus>();
                filler->DataFieldStr = data_field_text;
                filler->datagiorno = Date_Text;
                filler->tempo = Time_Text;
                filler->DIF = Dif_Text(dif);
                list.push_back(std::move(filler));
            }
            continue;
        }
        if (data_field == 8) {
            End_Walk(TWalkStop::SelectionForReadout, Not_Analysable());
            break;
        }
        if ((vif & 0x7F) == 0x7E) {
            End_Walk(TWalkStop::AnyVif, QString());
            break;
        }

        auto var = std::make_unique<TVariable_MBus>();
        TVariable_MBus& v = *var;
        v.Is_BCD = (data_field >= 9 && data_field <= 12) || data_field == 14;
        v.DataFieldStr = std::move(data_field_text);
        v.descdim = std::move(desc_dim);
        v.nbyte = length;
        v.datagiorno = Date_Text;
        v.tempo = Time_Text;
        v.Real_Wireless_Var = true;
        v.DIF = Dif_Text(dif);
        v.dimension = uint8_t(data_field);
        v.function_fild = uint16_t((dif >> 4) & 3);
        v.storage_number = (dif >> 6) & 1;
        if (num_dife > 0) {
            // The first DIFE holds the least significant bits.
            int64_t storage = 0;
            uint32_t tariff = 0;
            uint32_t subunit = 0;
            for (int i = num_dife - 1; i >= 0; --i) {
                storage = (storage << 4) | (difes[i] & 0x0F);
                tariff = (tariff << 2) | ((difes[i] >> 4) & 3);
                subunit = (subunit << 1) | ((difes[i] >> 6) & 1);
            }
            v.DIFE = Dollar_List(difes.data(), num_dife);
            v.numdife = num_dife;
            v.storage_number = storage * 2 + ((dif >> 6) & 1);
            v.tarif = uint16_t(tariff);
            v.device = uint16_t(subunit);
        }
        v.VIF = vif;
        if ((vif & 0x7F) == 0x7C) {
            v.casovif = 101;
            v.VIF_ASCII.reserve(int(unit.size()));
            for (auto it = unit.rbegin(); it != unit.rend(); ++it)
                v.VIF_ASCII += QChar::fromLatin1(char(*it));
        } else if (vif == 0xFB || vif == 0xFD) {
            v.casovif = vif == 0xFB ? 2 : 1;
            v.vifvalue = num_vife > 0 ? vifes[0] : 0;
        } else if ((vif & 0x7F) == 0x7F) {
            v.casovif = 100;
        } else if ((vif & 0x7F) <= 0x7A) {
            v.vifvalue = vif;
        }
        v.VIFE = Dollar_List(vifes.data(), num_vife);
        v.PrinVIFE = num_vife > 0 ? vifes[0] : 0;
        v.totdati.reserve(2 * length);
        uint32_t low = 0;
        uint32_t high = 0;
        for (int k = 0; k < length; ++k) {
            Append_Hex(v.totdati, data[k]);
            if (k < 4)
                low += uint32_t(data[k]) << (8 * k);
            else
                high += uint32_t(data[k]) << ((8 * (k - 4)) % 32);
        }
        v.dato_A = int32_t(low);
        v.dato_B = int32_t(high);
        v.FunctionFieldStr = Function_Field_Text(v.function_fild);

        std::copy(data.begin(), data.end(), App_Data_Val.begin());
        std::copy(vifes.begin(), vifes.begin() + num_vife, App_Vife_Val.begin());
        Decode_Value(vif, num_vife > 0 ? vifes[0] : 0, data_field, lvar, length, num_vife, v);
        list.push_back(std::move(var));

        std::fill(App_Data_Val.begin(), App_Data_Val.begin() + length, 0);
        std::fill(App_Vife_Val.begin(), App_Vife_Val.end(), 0);
    }
    return true;
}

int TMBusDecoder::Register_Wired_Meter(std::span<const uint8_t> frame, int Index, bool& Complete,
                                       TList_Slave_MBus& list)
{
    // 0x68 L L 0x68 C A CI, the twelve header bytes, checksum and 0x16.
    constexpr size_t Frame_Overhead = 21;
    Complete = true;
    if (frame.size() < Frame_Overhead || Index >= int(list.size()))
        return -1;
    Begin_Frame();
    ByteReader header(frame);
    header.Seek(6);
    const bool fixed = Is_Fixed_Structure(header.U8());
    if (Index < 0) {
        auto meter = std::make_unique<TSlave_MBus>();
        header.Seek(5);
        meter->Primary_Addresss = header.U8();
        header.Skip(1);
        meter->Secondary_Addresss = QString::number(header.U32LE(), 16).toUpper().rightJustified(2, u'0');
        if (fixed) {
            // Identification number, access number, status: no manufacturer, version or medium byte.
            header.Skip(1);
            meter->Status = header.U8();
        } else {
            meter->Manufacture = header.U16LE();
            meter->Version = header.U8();
            meter->Medium = header.U8();
            header.Skip(1);
            meter->Status = header.U8();
        }
        meter->descmedium = Medium_Name(meter->Medium);
        meter->descManufacture = Trova_Man(meter->Manufacture);
        list.push_back(std::move(meter));
        Index = int(list.size()) - 1;
    }
    if (fixed) {
        // Two counters with units of their own table follow, not records: walking them as records
        // would invent values.
        End_Walk(TWalkStop::FixedStructure, QStringLiteral("Fixed data structure: no data records"));
        return Index;
    }
    ByteReader records(frame);
    records.Seek(19);
    Complete = Walk_Records(list[size_t(Index)]->List_Var, records.Bytes(frame.size() - Frame_Overhead), false);
    return Index;
}

bool Is_Fixed_Structure(uint8_t ci) { return ci == 0x73 || ci == 0x77; }

bool Is_Valid_RSP_UD(std::span<const uint8_t> frame)
{
    if (frame.size() <= 21)
        return false;
    ByteReader reader(frame);
    const uint8_t start = reader.U8();
    const uint8_t length = reader.U8();
    const uint8_t length_again = reader.U8();
    const uint8_t start_again = reader.U8();
    uint8_t sum = 0;
    for (size_t i = 4; i + 2 < frame.size(); ++i)
        sum = uint8_t(sum + reader.U8());
    const uint8_t checksum = reader.U8();
    const uint8_t stop = reader.U8();
    return reader.Ok() && start == 0x68 && start_again == 0x68 && length == length_again && checksum == sum &&
           stop == 0x16;
}

QChar Man_Letter(int code) { return code >= 'A' && code <= 'Z' ? QChar(code) : QChar(u'?'); }

QString Trova_Man(int code)
{
    const auto ceil_div = [](int a, int b) { return (a + b - 1) / b; };
    const int l1 = 63 + ceil_div(code, 1024);
    const int rest = code - (l1 - 64) * 1024;
    const int l2 = 63 + ceil_div(rest, 32);
    const int l3 = rest - (l2 - 64) * 32 + 64;
    const QChar letters[3] = {Man_Letter(l1), Man_Letter(l2), Man_Letter(l3)};
    return QString(letters, 3);
}

QString Medium_Name(int medium)
{
    static const platform::CodeTable<QStringView> names(
        {
            {0x01, u"Oil"},
            {0x02, u"Electricity"},
            {0x03, u"Gas"},
            {0x04, u"Heat (outlet)"},
            {0x05, u"Steam"},
            {0x06, u"Hot Water"},
            {0x07, u"Water"},
            {0x08, u"Heat Cost Allocator."},
            {0x09, u"Compressed Air"},
            {0x0A, u"Cooling load meter (outlet)"},
            {0x0B, u"Cooling load meter (inlet)"},
            {0x0C, u"Heat (inlet) "},
            {0x0D, u"Heat/Cooling load meter"},
            {0x0E, u"Bus/System"},
            {0x0F, u"Unknown Medium"},
            {0x16, u"Cold Water"},
            {0x17, u"Dual Water"},
            {0x18, u"Pressure"},
            {0x19, u"A/D Converter"},
        },
        u"Other");
    return Static_Text(names[uint32_t(medium)]);
}

bool Hex_To_Bytes(QStringView text, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const auto digit = [](QChar c) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };
    for (qsizetype i = 0; i < text.size();) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            return false;
        const int high = digit(text[i]);
        const int low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(uint8_t(high * 16 + low));
        i += 2;
    }
    return true;
}
