// Decodes M-Bus frames and wireless telegrams given as hex, one per input line, and prints the
// header and one line per record with the fields the scanner shows.
//
//   mbus-decode [--radiocrafts] < lines
//
// A line holds an RSP_UD long frame, or a telegram as the radio module delivers it (L field,
// telegram, the module's trailer: two bytes for Telit, one for RadioCrafts). An optional
// 32-digit key follows a ":". Blanks between the hex pairs are allowed; "#" starts a comment.
#include "protocols/mbus/UMBusDecode.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Print(const QString& text) { std::fputs(qPrintable(text + u'\n'), stdout); }

QString Hex2(int value) { return QString::number(value, 16).toUpper().rightJustified(2, u'0'); }

void Print_Record(const TVariable_MBus& v)
{
    if (!v.Real_Wireless_Var) {
        Print(QStringLiteral("  Idle Filler"));
        return;
    }
    Print(QStringLiteral("  Value = %1 - Type = %2 (U%3S%4T%5) - Data Field = %6 - Function Field = %7"
                         " - DIF = %8 - VIF = $%9 - DIFE = %10 - VIFE = %11 - DATA = $%12")
              .arg(v.ValueStr, v.Desc_Type_Data)
              .arg(int(v.device))
              .arg(qlonglong(v.storage_number))
              .arg(int(v.tarif))
              .arg(v.DataFieldStr, v.FunctionFieldStr, v.DIF, Hex2(v.VIF), v.DIFE.trimmed(), v.VIFE.trimmed(),
                   v.totdati));
}

void Print_Walk_End(const TMBusDecoder& decoder)
{
    switch (decoder.Walk_Stop()) {
    case TWalkStop::None:
        return;
    case TWalkStop::AnyVif:
        Print(QStringLiteral("  walk ended: Any VIF"));
        return;
    case TWalkStop::FixedStructure:
        Print(QStringLiteral("  ") + decoder.Walk_Stop_Text());
        return;
    default:
        Print(QStringLiteral("  walk ended: ") + decoder.Walk_Stop_Text());
        return;
    }
}

bool Decode_Wired(TMBusDecoder& decoder, const std::vector<uint8_t>& frame)
{
    TList_Slave_MBus meters;
    bool complete = false;
    if (decoder.Register_Wired_Meter(frame, -1, complete, meters) < 0)
        return false;
    const TSlave_MBus& m = *meters[0];
    Print(QStringLiteral("Primary Address = %1 - Secondary Address = %2 - Manufacturer = %3(%4) - Version = %5 - Type = %6 (%7)")
              .arg(int(m.Primary_Addresss))
              .arg(m.Secondary_Addresss, m.descManufacture)
              .arg(m.Manufacture)
              .arg(m.Version)
              .arg(m.Medium)
              .arg(m.descmedium));
    for (const auto& v : m.List_Var)
        Print_Record(*v);
    Print_Walk_End(decoder);
    if (!complete)
        Print(QStringLiteral("  more records follow"));
    return true;
}

bool Decode_Wireless(TMBusDecoder& decoder, const std::vector<uint8_t>& datagram, TRadioModule module,
                     const std::vector<uint8_t>& key)
{
    TList_Slave_wMBus meters;
    int index = decoder.Decode_Telegram(datagram, module, meters);
    if (index >= 0 && key.size() == 16) {
        std::copy(key.begin(), key.end(), meters[size_t(index)]->Key.begin());
        meters[size_t(index)]->Enable_Key = true;
        index = decoder.Decode_Telegram(datagram, module, meters);
    }
    if (index < 0)
        return false;
    const TSlave_wMBus& m = *meters[size_t(index)];
    Print(QStringLiteral("Manufacturer = %1 - Address = %2 - Version = %3 - Device Type = %4 - RSSI = %5 - LLA = %6 %7 %8 %9%10")
              .arg(m.ALA_Manu_str, QString::number(uint32_t(m.ALA_Address), 16).toUpper().rightJustified(8, u'0'))
              .arg(int(m.ALA_Version))
              .arg(int(m.ALA_DeviceType))
              .arg(int(m.RSSI))
              .arg(m.LLA_Manu_str, QString::number(uint32_t(m.LLA_Address), 16).toUpper().rightJustified(8, u'0'))
              .arg(int(m.LLA_Version))
              .arg(int(m.LLA_DeviceType))
              .arg(m.Cripted ? QStringLiteral(" - CRIPTED!!") : QString()));
    for (const auto& v : m.List_Var)
        Print_Record(*v);
    if (!m.Cripted)
        Print_Walk_End(decoder);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    TRadioModule module = TRadioModule::rmTelit;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--radiocrafts") {
            module = TRadioModule::rmRadioCrafts;
        } else {
            std::fputs("usage: mbus-decode [--radiocrafts] < lines of hex frames or telegrams [: key]\n", stderr);
            return 2;
        }
    }

    TMBusDecoder decoder;
    int failures = 0;
    int number = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        ++number;
        QString text = QString::fromUtf8(line);
        text.truncate(text.indexOf(u'#') < 0 ? text.size() : text.indexOf(u'#'));
        if (text.trimmed().isEmpty())
            continue;
        const qsizetype colon = text.indexOf(u':');
        std::vector<uint8_t> bytes;
        std::vector<uint8_t> key;
        const bool read = Hex_To_Bytes(QStringView(text).left(colon < 0 ? text.size() : colon), bytes) &&
                          (colon < 0 || (Hex_To_Bytes(QStringView(text).mid(colon + 1), key) && key.size() == 16));
        bool decoded = false;
        const bool wired = read && Is_Valid_RSP_UD(bytes);
        if (read)
            decoded = wired ? Decode_Wired(decoder, bytes) : Decode_Wireless(decoder, bytes, module, key);
        if (!read || !decoded) {
            const QString why = !read ? QStringLiteral("not hex pairs (or a key that is not 16 bytes)")
                                : wired ? QStringLiteral("RSP_UD frame too short for its header")
                                        : QStringLiteral("not an RSP_UD frame, and ") + decoder.Drop_Text();
            std::fprintf(stderr, "line %d: %s\n", number, qPrintable(why));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
