#pragma once
#include "protocols/mbus/UMBusResults.h"

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Why the last record walk ended before the end of its bytes. The record that ended it is not
// kept; the records before it are.
enum class TWalkStop : uint8_t {
    None,                // every byte was walked
    ManufacturerData,    // DIF 0x0F or 0x1F (0x1F: more records follow in the next frame)
    DataType,            // DIF 0x3F to 0x7F
    SelectionForReadout, // data field 8
    AnyVif,              // VIF 0x7E / 0xFE
    NotAnalysable,       // reserved LVAR, too many DIFEs or VIFEs, unit text too long, record cut short
    FixedStructure,      // a wired answer with the fixed data structure (CI 0x73, 0x77) has no records
};

// Decodes what meters send: the RSP_UD of a wired meter, the telegram of a wireless one, their
// EN 13757-3 records and values. It keeps working buffers between calls so that a record costs
// nothing beyond the result it adds. One decoder serves one thread.
class TMBusDecoder {
public:
    TMBusDecoder();

    // Registers a wired meter from its RSP_UD (a new one when Index < 0) and appends the frame's
    // records to it. Answers the meter's index, or -1 when the frame is too short for its header
    // or Index names no meter. Complete is false only when the frame announced more records.
    // An answer with the fixed data structure gives the meter its identity and status and no
    // records; Walk_Stop says so.
    int Register_Wired_Meter(std::span<const uint8_t> frame, int Index, bool& Complete, TList_Slave_MBus& list);

    // Walks the records held in `records` (the bytes from the first record to the last record
    // byte) and appends them to the list. False when a DIF 0x1F announced more records.
    // `wireless` keeps the idle fillers as records of their own.
    bool Decode_Records(TList_Var& list, std::span<const uint8_t> records, bool wireless);

    // Decodes one datagram of the listening phase: the telegram followed by the radio module's
    // trailer. Creates or updates the meter, decrypts with its key when it has one, and answers
    // its index in the list, or -1 when the telegram was dropped (too short for the fields its
    // CI names, or too long for the answer buffer).
    int Decode_Telegram(std::span<const uint8_t> datagram, TRadioModule module, TList_Slave_wMBus& list);

    static int Find_Wireless_Meter(const TList_Slave_wMBus& list, uint16_t manufacturer, int32_t address,
                                   uint8_t version, uint8_t device_type);

    // The value, its scaling and the description of a record just walked, from the working
    // buffers (the data bytes and the record's VIFEs).
    void Decode_Value(uint8_t VIF, uint8_t First_VIFE, int Data_Field, uint8_t LVAR, int Data_Len, int Num_VIFE,
                      TVariable_MBus& Var);

    // Why the last telegram was dropped, empty when it was not.
    const QString& Drop_Text() const { return Dropped; }

    TWalkStop Walk_Stop() const { return Stop; }
    // The reason text of the record that ended the walk ("Non analizabile" ...), empty when none.
    const QString& Walk_Stop_Text() const { return Stop_Text; }

    // Separator of number texts; the user's own unless a caller sets another.
    QChar Decimal_Separator;
    // Formats of the decoding date and time of each record.
    QLocale Locale;
    // Local time of decoding; tests set a fixed one.
    std::function<QDateTime()> Clock;
    // Called with the meter's index and the meter after each telegram that was not dropped.
    std::function<void(int, TSlave_wMBus*)> UpdateListWirelessSlave;

private:
    void Begin_Frame();
    bool Walk_Records(TList_Var& list, std::span<const uint8_t> records, bool wireless);
    void End_Walk(TWalkStop stop, const QString& text);

    std::array<uint8_t, 256> App_Data_Val{};
    std::array<uint8_t, 10> App_Vife_Val{};
    // The received telegram, decrypted in place.
    std::array<uint8_t, 2049> Ans_Array{};
    std::array<uint8_t, 240> Plain{};
    QDateTime Now;
    QString Date_Text;
    QString Time_Text;
    TWalkStop Stop = TWalkStop::None;
    QString Stop_Text;
    QString Dropped;
};

// A text of the decoder's tables as a string that shares the table's static data, so that a
// record holding it costs no allocation.
inline QString Static_Text(QStringView text)
{
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.utf16()), text.size());
}

// The three letters of a manufacturer code ("???" for 0).
QString Trova_Man(int code);
QChar Man_Letter(int code);
QString Medium_Name(int medium);
int64_t Power_Of_Ten(int power);
int64_t BCD_To_Int64(const uint8_t* bytes, int count);
QString Two_Digits(int number);
// A value with fifteen significant digits, never in exponent form.
QString Format_Value(long double value, QChar separator);
// Two-digit hexadecimal pairs, blanks allowed between them; false for anything else.
bool Hex_To_Bytes(QStringView text, std::vector<uint8_t>& bytes);
// The CI of an answer with the fixed data structure (least or most significant byte first).
bool Is_Fixed_Structure(uint8_t ci);
// Start and stop bytes, equal lengths, checksum, and longer than 21 bytes.
bool Is_Valid_RSP_UD(std::span<const uint8_t> frame);
