#include "MBusFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mbus_test;

namespace {

struct Walk {
    TList_Var Vars;
    bool Result = true;
    TWalkStop Stop = TWalkStop::None;
    QString Stop_Text;
};

Walk Decode(const Bytes& records, bool wireless = false)
{
    Decoder decoder;
    Walk walk;
    walk.Result = decoder.Decode_Records(walk.Vars, records, wireless);
    walk.Stop = decoder.Walk_Stop();
    walk.Stop_Text = decoder.Walk_Stop_Text();
    return walk;
}

Walk Decode(const char* hex, bool wireless = false) { return Decode(Hex(hex), wireless); }

}  // namespace

// The Part's own first example, field by field.
TEST(MBusRecords, ThirtyTwoBitVolumeRecordFillsEveryField)
{
    const Walk walk = Decode("04 13 2A000000");
    ASSERT_EQ(walk.Vars.size(), 1u);
    const TVariable_MBus& v = *walk.Vars[0];
    EXPECT_EQ(v.DIF, "$04");
    EXPECT_EQ(v.VIF, 0x13);
    EXPECT_EQ(v.vifvalue, 0x13);
    EXPECT_EQ(v.casovif, 0);
    EXPECT_EQ(v.descdim, "32 Bit Integer");
    EXPECT_EQ(v.DataFieldStr, "32 Bit Integer");
    EXPECT_EQ(v.nbyte, 4);
    EXPECT_EQ(v.dimension, 4);
    EXPECT_EQ(v.totdati, "2A000000");
    EXPECT_EQ(v.dato_A, 42);
    EXPECT_EQ(v.function_fild, 0);
    EXPECT_EQ(v.FunctionFieldStr, "Istantaneous value");
    EXPECT_EQ(v.storage_number, 0);
    EXPECT_EQ(v.ValueStr, "0.042");
    EXPECT_EQ(v.Desc_Type_Data, "Volume m3");
    EXPECT_EQ(v.type_data, 2);
    EXPECT_EQ(v.Type_Data_Vife, 0);
    EXPECT_FALSE(v.Is_BCD);
    EXPECT_FALSE(v.errata);
    EXPECT_TRUE(v.Real_Wireless_Var);
    EXPECT_EQ(v.datagiorno, QLocale::c().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
    EXPECT_EQ(v.tempo, "10:20:30");
    EXPECT_TRUE(walk.Result);
    EXPECT_EQ(walk.Stop, TWalkStop::None);
}

// Values of every data field, each with its texts; VIF 0x22 (on time in hours) carries no
// exponent, so the raw value shows.
TEST(MBusRecords, ValuesOfEveryDataField)
{
    struct Case {
        const char* Hex;
        const char* Value;
        const char* DataField;
        int Bytes;
        bool Bcd;
    };
    const Case cases[] = {
        {"00 22", "0", "", 0, false},
        {"01 22 FF", "-1", "8 Bit Integer", 1, false},
        {"02 22 FEFF", "-2", "16 Bit Integer", 2, false},
        {"03 22 000080", "-8388608", "24 Bit Integer", 3, false},
        {"04 22 FFFFFF7F", "2147483647", "32 Bit Integer", 4, false},
        {"05 22 0000C0BF", "-1.5", "32 Bit Real", 4, false},
        {"05 22 CDCCCC3D", "0.100000001490116", "32 Bit Real", 4, false},
        {"06 22 FFFFFFFFFF7F", "140737488355327", "48 Bit Integer", 6, false},
        {"07 22 15CD5B0700000000", "123456789", "64 Bit Integer", 8, false},
        // Fifteen significant digits, never an exponent.
        {"07 22 0000000000000080", "-9223372036854780000", "64 Bit Integer", 8, false},
        {"09 22 42", "42", "2 Digit BCD", 1, true},
        {"09 22 F5", "-5", "2 Digit BCD", 1, true},
        {"0A 22 3412", "1234", "4 Digit BCD", 2, true},
        {"0B 22 563412", "123456", "6 Digit BCD", 3, true},
        {"0C 13 785634F2", "-2345.678", "8 Digit BCD", 4, true},
        {"0E 07 999999999999", "9999999999990000", "12 Digit BCD", 6, true},
        {"0D 22 C2 3412", "1234", "Variable Length - Positive BCD Number with 4 digits", 2, false},
        {"0D 22 D2 3412", "-1234", "Variable Length - Negative BCD Number with 4 digits", 2, false},
        {"0D 22 C4 78563412", "12345678", "Variable Length - Positive BCD Number with 8 digits", 4, false},
        // Text comes last character first.
        {"0D 22 03 434241", "ABC", "Variable Length - ASCII String with 3characters", 3, false},
        {"0D 22 E2 0102", "0", "Variable Length - Binary Number with 2 Bytes", 2, false},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(c.Hex);
        ASSERT_EQ(walk.Vars.size(), 1u) << c.Hex;
        const TVariable_MBus& v = *walk.Vars[0];
        EXPECT_EQ(v.ValueStr, c.Value) << c.Hex;
        EXPECT_EQ(v.DataFieldStr, c.DataField) << c.Hex;
        EXPECT_EQ(v.nbyte, c.Bytes) << c.Hex;
        EXPECT_EQ(v.Is_BCD, c.Bcd) << c.Hex;
        EXPECT_EQ(walk.Stop, TWalkStop::None) << c.Hex;
    }
    EXPECT_EQ(Decode("0D 22 C4 78563412").Vars[0]->descdim, "Variable length: Positive BCD number with 4 *2 digits");
    EXPECT_EQ(Decode("0D 22 03 414243").Vars[0]->descdim, "Variable length: ASCII string with 3 characters");
}

// The data length of every class of variable-length byte: the walk goes on at the next record
// exactly when the length was right, and a reserved length byte ends it.
TEST(MBusRecords, VariableLengthsOfTheStandard)
{
    struct Case {
        uint8_t Lvar;
        int Length;  // -1: reserved
        const char* DataField;
    };
    const Case cases[] = {
        {0x00, 0, "Variable Length - ASCII String with 0characters"},
        {0xBF, 191, "Variable Length - ASCII String with 191characters"},
        {0xC9, 9, "Variable Length - Positive BCD Number with 18 digits"},
        {0xD1, 1, "Variable Length - Negative BCD Number with 2 digits"},
        {0xE0, 0, "Variable Length - Binary Number with 0 Bytes"},
        {0xEF, 15, "Variable Length - Binary Number with 15 Bytes"},
        {0xF0, 16, "Variable Length - Binary Number with 16 Bytes"},
        {0xF1, 20, "Variable Length - Binary Number with 20 Bytes"},
        {0xF4, 32, "Variable Length - Binary Number with 32 Bytes"},
        {0xF5, 48, "Variable Length - Binary Number with 48 Bytes"},
        {0xF6, 64, "Variable Length - Binary Number with 64 Bytes"},
        {0xCA, -1, ""}, {0xCF, -1, ""}, {0xDA, -1, ""}, {0xF7, -1, ""}, {0xFA, -1, ""}, {0xFF, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Lvar));
        // The data bytes are flow temperature records' bytes: a wrong length walks into them.
        const Bytes data(size_t(std::max(c.Length, 0)), 0x5B);
        const Walk walk = Decode(Join({Bytes{0x0D, 0xFD, 0x11, c.Lvar}, data, Hex("02 5B 1A01")}));
        if (c.Length < 0) {
            EXPECT_TRUE(walk.Vars.empty());
            EXPECT_EQ(walk.Stop, TWalkStop::NotAnalysable);
            continue;
        }
        ASSERT_EQ(walk.Vars.size(), 2u);
        EXPECT_EQ(walk.Vars[0]->nbyte, c.Length);
        EXPECT_EQ(walk.Vars[0]->DataFieldStr, c.DataField);
        EXPECT_EQ(walk.Vars[1]->ValueStr, "282");
        EXPECT_EQ(walk.Stop, TWalkStop::None);
    }
}

// Text values show as text, whatever the quantity; control characters do not break the line.
TEST(MBusRecords, TextValuesShowTheirCharacters)
{
    struct Case {
        const char* Hex;
        QString Value;
        const char* Description;
    };
    const Case cases[] = {
        {"0D FD 11 08 3130303233343236", "62432001", "Customer"},
        {"0D 78 04 44434241", "ABCD", "Fabrication No"},
        {"0D FD 0C 03 E9 6C 4D", QString::fromUtf8("Mlé"), "Model Version"},
        {"0D FD 10 03 41 0A 42", "B?A", "Customer LOcation"},
        {"0D FD 11 00", "", "Customer"},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(c.Hex);
        ASSERT_EQ(walk.Vars.size(), 1u) << c.Hex;
        EXPECT_EQ(walk.Vars[0]->ValueStr, c.Value) << c.Hex;
        EXPECT_EQ(walk.Vars[0]->Desc_Type_Data, c.Description) << c.Hex;
    }
}

// Quantity, extension code, description and scaled value from the VIF and its VIFEs.
TEST(MBusRecords, DescriptionsAndScaling)
{
    struct Case {
        const char* Hex;
        const char* Description;
        int Quantity;
        int Extension;
        const char* Value;
    };
    const Case cases[] = {
        // Primary VIFs.
        {"01 0F 01", "Energy J", 1, 0, "10000000"},
        {"01 48 01", "Volume Flow ext. m3/s", 10, 0, "0.000000001"},
        {"02 5B 1A01", "Flow Temperature °C", 12, 0, "282"},
        {"01 6E 05", "Units for H.C.A.", 22, 0, "5"},
        {"01 6F 05", "", 65535, 0, "5"},
        {"04 78 78563412", "Fabrication No", 23, 0, "305419896"},
        {"01 7F 05", "Manufacturer Specific", 65535, 0, "5"},
        {"01 FF 33 05", "Manufacturer Specific", 65535, 0, "5"},
        // Extension table after 0xFD.
        {"02 FD 17 0000", "Error Flag (Binary)", 19, 18, "0"},
        {"02 FD 48 E803", "Electric Units Volts", 19, 38, "100"},
        {"01 FD 32 01", "Duration of Tariff Hour(s)", 19, 33, "1"},
        {"01 FD 3D 01", "Period of Nominal Data Transmissions Minute(s)", 19, 131, "1"},
        {"01 FD 23 01", "Reserved", 19, 0, "1"},
        {"01 FD 7F 01", "Reserved", 19, 0, "1"},
        // Extension table after 0xFB.
        {"02 FB 00 0A00", "Energy MWh", 19, 51, "1"},
        {"02 FB 01 0A00", "Energy MWh", 19, 51, "10"},
        {"01 FB 78 05", "Cum. Max. of Active Power W", 19, 68, "0.005"},
        {"01 FB 06 01", "Reserved", 19, 0, "1"},
        // Combinable VIFEs: text appended, the first code kept, the value scaled.
        {"04 93 3B 2A000000", "Volume m3 - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 2,
         95, "0.042"},
        {"01 A2 08 05", "On Time Hours - Reserved", 4, 0, "5"},
        {"01 A2 75 05", "On Time Hours - Moltiplicative Correction Factor: 10^(-1)", 4, 103, "0.5"},
        {"01 A2 79 05", "On Time Hours - Additive Correction Constant: 10^(-2) * Unit of VIF", 4, 104, "0.05"},
        {"01 A2 7D 05", "On Time Hours - Multiplicative Cerrection Factor: 10^(3)", 4, 105, "5000"},
        {"01 A2 A0 3B 05",
         "On Time Hours - Per Second - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 4, 70,
         "5"},
        {"02 FD C8 FC 02 E803", "Electric Units Volts - At Phase L2", 19, 38, "100"},
        {"02 FD C8 7C E803", "Electric Units Volts", 19, 38, "100"},
        {"02 FD D7 3B 0100", "Electric Units A - Accumulation Only if Positive Contributions (Forward Flow Contribution)",
         19, 39, "0.00001"},
        // A date-valued VIFE shows the date of its record.
        {"02 A2 6A C12B", "On Time Hours - Date(/Time) of Begin of First", 4, 102, "01/11/22"},
        {"03 A2 6A C12B00", "On Time Hours - Date(/Time) of Begin of First", 4, 102, "11201"},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(c.Hex);
        ASSERT_EQ(walk.Vars.size(), 1u) << c.Hex;
        const TVariable_MBus& v = *walk.Vars[0];
        EXPECT_EQ(v.Desc_Type_Data, QString::fromUtf8(c.Description)) << c.Hex;
        EXPECT_EQ(v.type_data, c.Quantity) << c.Hex;
        EXPECT_EQ(v.Type_Data_Vife, c.Extension) << c.Hex;
        EXPECT_EQ(v.ValueStr, c.Value) << c.Hex;
    }
}

// Dates and times by data field: G, F, J and I.
TEST(MBusRecords, DatesByDataField)
{
    struct Case {
        const char* Hex;
        const char* Description;
        const char* Value;
    };
    const Case cases[] = {
        {"02 6C C12B", "Time Point Date (Type G)", "01/11/22"},
        {"04 6D 1E0DC12B", "Time Point Date and Time (Type F)", "01/11/22 13:30"},
        {"03 6D 051E0D", "Time Point Extended Time Point (Type J)", "13:30:05"},
        {"06 6D 051E2DC12B00", "Time Point Extended Date and Time Point (Type I)", "Monday 01/11/22 13:30:05"},
        {"06 6D 051EEDC12B00", "Time Point Extended Date and Time Point (Type I)", "Sunday 01/11/22 13:30:05"},
        {"06 6D 051E0DC12B00", "Time Point Extended Date and Time Point (Type I)", "01/11/22 13:30:05"},
        // Year bits all set: 127 does not fit two digits and is shown whole.
        {"02 6C FFFF", "Time Point Date (Type G)", "31/15/127"},
        // Another data field: no description, the number.
        {"01 6D 07", "", "7"},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(c.Hex);
        ASSERT_EQ(walk.Vars.size(), 1u) << c.Hex;
        EXPECT_EQ(walk.Vars[0]->Desc_Type_Data, c.Description) << c.Hex;
        EXPECT_EQ(walk.Vars[0]->ValueStr, c.Value) << c.Hex;
        EXPECT_EQ(walk.Vars[0]->type_data, 20) << c.Hex;
    }
}

// Storage number, tariff and subunit from the DIF and up to ten DIFEs, the first DIFE least
// significant.
TEST(MBusRecords, StorageTariffAndSubunit)
{
    struct Case {
        const char* Hex;
        int64_t Storage;
        int Tariff;
        int Subunit;
        int Difes;
        const char* Dife;
        int Function;
    };
    const Case cases[] = {
        {"44 13 00000000", 1, 0, 0, 0, "", 0},
        {"84 01 13 00000000", 2, 0, 0, 1, "$01 ", 0},
        {"C4 01 13 00000000", 3, 0, 0, 1, "$01 ", 0},
        {"84 10 13 00000000", 0, 1, 0, 1, "$10 ", 0},
        {"84 40 13 00000000", 0, 0, 1, 1, "$40 ", 0},
        {"94 8F 51 13 00000000", 62, 4, 2, 2, "$8F $51 ", 1},
        {"A4 80 80 80 80 80 80 80 80 80 01 13 00000000", int64_t(1) << 37, 0, 0, 10,
         "$80 $80 $80 $80 $80 $80 $80 $80 $80 $01 ", 2},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(c.Hex);
        ASSERT_EQ(walk.Vars.size(), 1u) << c.Hex;
        const TVariable_MBus& v = *walk.Vars[0];
        EXPECT_EQ(v.storage_number, c.Storage) << c.Hex;
        EXPECT_EQ(v.tarif, c.Tariff) << c.Hex;
        EXPECT_EQ(v.device, c.Subunit) << c.Hex;
        EXPECT_EQ(v.numdife, c.Difes) << c.Hex;
        EXPECT_EQ(v.DIFE, c.Dife) << c.Hex;
        EXPECT_EQ(v.function_fild, c.Function) << c.Hex;
    }
    EXPECT_EQ(Decode("34 13 00000000").Vars[0]->FunctionFieldStr, "Value during error state");
}

// VIF classes, the raw-byte fields and the plain-text unit.
TEST(MBusRecords, VifClassesRawBytesAndPlainTextUnit)
{
    const Walk unit = Decode("04 7C 03 682F6D 2A000000");
    ASSERT_EQ(unit.Vars.size(), 1u);
    EXPECT_EQ(unit.Vars[0]->VIF_ASCII, "m/h");
    EXPECT_EQ(unit.Vars[0]->casovif, 101);
    EXPECT_EQ(unit.Vars[0]->type_data, 21);
    // The unit is text; the value stays the number of its data field.
    EXPECT_EQ(unit.Vars[0]->ValueStr, "42");
    EXPECT_EQ(unit.Vars[0]->Desc_Type_Data, "Vif in following String");

    const Walk with_vife = Decode("01 FC 01 41 30 05");
    ASSERT_EQ(with_vife.Vars.size(), 1u);
    EXPECT_EQ(with_vife.Vars[0]->VIF_ASCII, "A");
    EXPECT_EQ(with_vife.Vars[0]->type_data, 21);
    EXPECT_EQ(with_vife.Vars[0]->Desc_Type_Data, "Vif in following String - Per kWh");
    EXPECT_EQ(with_vife.Vars[0]->Type_Data_Vife, 84);
    EXPECT_EQ(with_vife.Vars[0]->VIFE, "$30 ");

    const Walk classes = Decode("01 FD 17 00  01 FB 78 05  01 7B 01  01 FF 33 05");
    ASSERT_EQ(classes.Vars.size(), 4u);
    EXPECT_EQ(classes.Vars[0]->casovif, 1);
    EXPECT_EQ(classes.Vars[0]->vifvalue, 0x17);
    EXPECT_EQ(classes.Vars[0]->PrinVIFE, 0x17);
    EXPECT_EQ(classes.Vars[1]->casovif, 2);
    EXPECT_EQ(classes.Vars[1]->vifvalue, 0x78);
    EXPECT_EQ(classes.Vars[2]->casovif, 0);
    EXPECT_EQ(classes.Vars[2]->vifvalue, -1);
    EXPECT_EQ(classes.Vars[2]->type_data, 19);
    EXPECT_EQ(classes.Vars[3]->casovif, 100);

    const Walk raw = Decode("0D 22 0A 0102030405060708090A");
    ASSERT_EQ(raw.Vars.size(), 1u);
    EXPECT_EQ(raw.Vars[0]->totdati, "0102030405060708090A");
    EXPECT_EQ(raw.Vars[0]->dato_A, 0x04030201);
    EXPECT_EQ(raw.Vars[0]->dato_B, 0x08070605 + 0x0A09);
}

// The idle filler: kept as a record of its own in a wireless telegram, skipped in a wired answer.
TEST(MBusRecords, IdleFillers)
{
    const Walk wired = Decode("2F 04 13 2A000000 2F 8F 01 13");
    ASSERT_EQ(wired.Vars.size(), 1u);
    EXPECT_EQ(wired.Vars[0]->ValueStr, "0.042");

    const Walk wireless = Decode("2F 04 13 2A000000 2F", true);
    ASSERT_EQ(wireless.Vars.size(), 3u);
    EXPECT_FALSE(wireless.Vars[0]->Real_Wireless_Var);
    EXPECT_FALSE(wireless.Vars[0]->errata);
    EXPECT_EQ(wireless.Vars[0]->DIF, "$2F");
    EXPECT_TRUE(wireless.Vars[1]->Real_Wireless_Var);
    EXPECT_FALSE(wireless.Vars[2]->Real_Wireless_Var);
}

// Records that end the walk: the records before stay, the one that ended it is not kept, and
// nothing after it is read.
TEST(MBusRecords, WalkEndsAtSpecialAndUnanalysableRecords)
{
    const std::string ten_vifes = "01 A2 80 80 80 80 80 80 80 80 80 00 05";
    const std::string eleven_vifes = "01 A2 80 80 80 80 80 80 80 80 80 80 00 05";
    const std::string eleven_difes = "84 80 80 80 80 80 80 80 80 80 80 01 13 00000000";
    const std::string unit_192 = "01 7C C0 " + std::string(2 * 192, '6') + " 05";
    const std::string unit_193 = "01 7C C1 " + std::string(2 * 193, '6') + " 05";
    struct Case {
        std::string Tail;
        bool Result;
        TWalkStop Stop;
        const char* Text;
        size_t Records;  // besides the leading record
    };
    const Case cases[] = {
        {"1F 0102", false, TWalkStop::ManufacturerData, "Errore Frame dati costruttore non analizzabili", 0},
        {"0F 0102", true, TWalkStop::ManufacturerData, "Errore Frame dati costruttore non analizzabili", 0},
        {"3F 13 04 13 00000000", true, TWalkStop::DataType, "Errore tipo di dati non analizzabili", 0},
        {"7F 13 04 13 00000000", true, TWalkStop::DataType, "Errore tipo di dati non analizzabili", 0},
        {"08 13 04 13 00000000", true, TWalkStop::SelectionForReadout, "Non analizabile", 0},
        {"04 7E 00000000 04 13 00000000", true, TWalkStop::AnyVif, "", 0},
        {"0D 13 FB 00000000", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {"0D 13 FF 00000000", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {ten_vifes, true, TWalkStop::None, "", 1},
        {eleven_vifes, true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {eleven_difes, true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {unit_192, true, TWalkStop::None, "", 1},
        {unit_193, true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        // Cut short: in the DIFE chain, after the VIF, in the unit text, in the data.
        {"84 80", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {"04 13", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {"04 7C 05 6162", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {"0D 13 05 0102", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
        {"04 13 2A0000", true, TWalkStop::NotAnalysable, "Non analizabile", 0},
    };
    for (const Case& c : cases) {
        const Walk walk = Decode(Join({Hex("04 13 2A000000"), Hex(c.Tail.c_str())}));
        EXPECT_EQ(walk.Result, c.Result) << c.Tail;
        EXPECT_EQ(walk.Stop, c.Stop) << c.Tail;
        EXPECT_EQ(walk.Stop_Text, c.Text) << c.Tail;
        ASSERT_EQ(walk.Vars.size(), 1 + c.Records) << c.Tail;
        EXPECT_EQ(walk.Vars[0]->ValueStr, "0.042") << c.Tail;
    }
    const Walk ten = Decode(ten_vifes.c_str());
    ASSERT_EQ(ten.Vars.size(), 1u);
    EXPECT_EQ(ten.Vars[0]->Desc_Type_Data, "On Time Hours" + QString(" - None").repeated(10));
    EXPECT_EQ(ten.Vars[0]->Type_Data_Vife, 108);
    EXPECT_EQ(Decode(unit_192.c_str()).Vars[0]->VIF_ASCII, QString(192, u'f'));
}

TEST(MBusRecords, ManufacturerLettersAndMediumNames)
{
    struct Letters {
        int Code;
        const char* Text;
    };
    for (const Letters& c : {Letters{0x2C2D, "KAM"}, Letters{0x4024, "PAD"}, Letters{0x0421, "AAA"},
                             Letters{0x6B5A, "ZZZ"}, Letters{0, "???"}, Letters{0x0400, "???"},
                             Letters{0xFFFF, "???"}})
        EXPECT_EQ(Trova_Man(c.Code), c.Text) << c.Code;

    struct Medium {
        int Code;
        const char* Text;
    };
    for (const Medium& c : {Medium{0x07, "Water"}, Medium{0x0C, "Heat (inlet) "}, Medium{0x08, "Heat Cost Allocator."},
                            Medium{0x16, "Cold Water"}, Medium{0x19, "A/D Converter"}, Medium{0x10, "Other"},
                            Medium{0x00, "Other"}})
        EXPECT_EQ(Medium_Name(c.Code), c.Text) << c.Code;
}

// Number texts: fifteen significant digits in plain notation with the given separator.
TEST(MBusRecords, NumberTexts)
{
    struct Case {
        long double Value;
        char16_t Separator;
        const char* Text;
    };
    const Case cases[] = {
        {0.0L, u'.', "0"},
        {-0.0L, u'.', "0"},
        {12565.0L / 1000.0L, u'.', "12.565"},
        {-2345678.0L / 1000.0L, u',', "-2345,678"},
        {1.0L / 3.0L, u'.', "0.333333333333333"},
        {123456.7890123456L, u'.', "123456.789012346"},
        {1e-9L, u'.', "0.000000001"},
        {9999999999990000.0L, u'.', "9999999999990000"},
        {1234567890123456789.0L, u'.', "1234567890123460000"},
        {-1e20L, u'.', "-100000000000000000000"},
        {std::numeric_limits<long double>::quiet_NaN(), u'.', "NAN"},
        {-std::numeric_limits<long double>::infinity(), u'.', "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format_Value(c.Value, QChar(c.Separator)), c.Text) << c.Text;

    EXPECT_EQ(BCD_To_Int64(Hex("785634F2").data(), 4), -2345678);
    EXPECT_EQ(BCD_To_Int64(Hex("0A").data(), 1), 10);  // nibbles A to F are taken as they are
    EXPECT_EQ(Power_Of_Ten(18), 1000000000000000000);
    EXPECT_EQ(Two_Digits(7), "07");
    EXPECT_EQ(Two_Digits(22), "22");
}

// Each frame takes the time once; a later frame shows its own date and time.
TEST(MBusRecords, DecodingTimeOfEachFrame)
{
    Decoder decoder;
    QDateTime now(QDate(2024, 3, 5), QTime(23, 59, 59, 900));
    decoder.Clock = [&] { return now; };
    const Bytes records = Hex("04 13 2A000000");
    struct Step {
        QDateTime Time;
        const char* Shown;
    };
    for (const Step& step : {Step{QDateTime(QDate(2024, 3, 5), QTime(23, 59, 59, 950)), "23:59:59"},
                             Step{QDateTime(QDate(2024, 3, 6), QTime(23, 59, 59, 950)), "23:59:59"},
                             Step{QDateTime(QDate(2024, 3, 6), QTime(0, 0, 0)), "00:00:00"}}) {
        now = step.Time;
        TList_Var vars;
        decoder.Decode_Records(vars, records, false);
        ASSERT_EQ(vars.size(), 1u);
        EXPECT_EQ(vars[0]->tempo, step.Shown);
        EXPECT_EQ(vars[0]->datagiorno, QLocale::c().toString(step.Time.date(), QLocale::ShortFormat));
    }
}

TEST(MBusRecords, HexPairs)
{
    struct Case {
        const char* Text;
        bool Ok;
        Bytes Expected;
    };
    const Case cases[] = {
        {"0a 1B\tff", true, {0x0A, 0x1B, 0xFF}},
        {"", true, {}},
        {"0A1", false, {}},
        {"0 A", false, {}},
        {"0G", false, {}},
    };
    for (const Case& c : cases) {
        Bytes bytes{0x99};
        EXPECT_EQ(Hex_To_Bytes(QString::fromLatin1(c.Text), bytes), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(bytes, c.Expected) << c.Text;
        }
    }
}
