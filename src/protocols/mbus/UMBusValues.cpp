#include "protocols/mbus/UMBusDecode.h"

#include "platform/CodeTable.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <initializer_list>

namespace {

constexpr uint16_t No_Quantity = 65535;

// One line of a VIF or first-VIFE table. A line covers the codes from its key to `Last`; its
// text is chosen by n & 3 when it has four, and its exponent is (n & Mask) + Expo.
struct TVifRow {
    uint8_t Last;
    std::array<QStringView, 4> Texts;
    int32_t Code;
    uint8_t Mask;
    int8_t Expo;
};

// Every line of these tables covers an aligned block of 1, 2, 4, 8 or 16 codes, so a code's
// line is keyed by one of its five aligned bases.
const TVifRow* Find_Row(const platform::CodeTable<TVifRow>& table, uint8_t code)
{
    for (uint8_t size : {1, 2, 4, 8, 16}) {
        const uint8_t base = uint8_t(code & ~(size - 1));
        if (table.Contains(base) && table[base].Last >= code)
            return &table[base];
    }
    return nullptr;
}

QStringView Row_Text(const TVifRow& row, uint8_t code)
{
    return row.Texts[1].isEmpty() ? row.Texts[0] : row.Texts[code & 3];
}

const platform::CodeTable<TVifRow>& Primary_Table()
{
    static const platform::CodeTable<TVifRow> table(
        {
            {0x00, {0x07, {u"Energy Wh"}, 0, 7, -3}},
            {0x08, {0x0F, {u"Energy J"}, 1, 7, 0}},
            {0x10, {0x17, {u"Volume m3"}, 2, 7, -6}},
            {0x18, {0x1F, {u"Mass kg"}, 3, 7, -3}},
            {0x20, {0x23, {u"On Time Seconds", u"On Time Minutes", u"On Time Hours", u"On Time Days"}, 4, 0, 0}},
            {0x24, {0x27, {u"Operating Time Seconds", u"Operating Time Minutes", u"Operating Time Hours",
                           u"Operating Time Days"}, 5, 0, 0}},
            {0x28, {0x2F, {u"Power W"}, 6, 7, -3}},
            {0x30, {0x37, {u"Power J/h"}, 7, 7, 0}},
            {0x38, {0x3F, {u"Volume Flow m3/h"}, 8, 7, -6}},
            {0x40, {0x47, {u"Volume Flow ext. m3/min"}, 9, 7, -7}},
            {0x48, {0x4F, {u"Volume Flow ext. m3/s"}, 10, 7, -9}},
            {0x50, {0x57, {u"Mass Flow kg/h"}, 11, 7, -3}},
            {0x58, {0x5B, {u"Flow Temperature °C"}, 12, 3, -3}},
            {0x5C, {0x5F, {u"Return Temperature °C"}, 13, 3, -3}},
            {0x60, {0x63, {u"Temperature Difference K"}, 14, 3, -3}},
            {0x64, {0x67, {u"External Temperature °C"}, 15, 3, -3}},
            {0x68, {0x6B, {u"Pressure bar"}, 16, 3, -3}},
            {0x6C, {0x6D, {}, 20, 0, 0}},
            {0x6E, {0x6E, {u"Units for H.C.A."}, 22, 0, 0}},
            {0x6F, {0x6F, {}, No_Quantity, 0, 0}},
            {0x70, {0x73, {u"Averaging Duration Seconds", u"Averaging Duration Minutes", u"Averaging Duration Hours",
                           u"Averaging Duration Days"}, 17, 0, 0}},
            {0x74, {0x77, {u"Actuality Duration Seconds", u"Actuality Duration Minutes", u"Actuality Duration Hours",
                           u"Actuality Duration Days"}, 18, 0, 0}},
            {0x78, {0x78, {u"Fabrication No"}, 23, 0, 0}},
            {0x79, {0x79, {u"Identification"}, 24, 0, 0}},
            {0x7A, {0x7A, {u"Bus Address"}, 25, 0, 0}},
            {0x7B, {0x7B, {}, 19, 0, 0}},
            {0x7C, {0x7C, {u"Vif in following String"}, 21, 0, 0}},
            {0x7D, {0x7D, {}, 19, 0, 0}},
            {0x7E, {0x7E, {u"Any VIF"}, No_Quantity, 0, 0}},
            {0x7F, {0x7F, {u"Manufacturer Specific"}, No_Quantity, 0, 0}},
        },
        {0x7F, {}, No_Quantity, 0, 0});
    return table;
}

const platform::CodeTable<TVifRow>& FD_Table()
{
    static const platform::CodeTable<TVifRow> table(
        {
            {0x00, {0x03, {u"Credit of (currency units)"}, 1, 3, -3}},
            {0x04, {0x07, {u"Debit of (currency units)"}, 2, 3, -3}},
            {0x08, {0x08, {u"Unique message Identification"}, 3, 0, 0}},
            {0x09, {0x09, {u"Device Type"}, 4, 0, 0}},
            {0x0A, {0x0A, {u"Manufacturer"}, 5, 0, 0}},
            {0x0B, {0x0B, {u"Parameter Set Identification"}, 6, 0, 0}},
            {0x0C, {0x0C, {u"Model Version"}, 7, 0, 0}},
            {0x0D, {0x0D, {u"Hardware Version Number"}, 8, 0, 0}},
            {0x0E, {0x0E, {u"Metrology (Firmware) Version Number"}, 9, 0, 0}},
            {0x0F, {0x0F, {u"Other Software Version Number"}, 10, 0, 0}},
            {0x10, {0x10, {u"Customer LOcation"}, 11, 0, 0}},
            {0x11, {0x11, {u"Customer"}, 12, 0, 0}},
            {0x12, {0x12, {u"Access Code User"}, 13, 0, 0}},
            {0x13, {0x13, {u"Access Code Operator"}, 14, 0, 0}},
            {0x14, {0x14, {u"Access Code System Operator"}, 15, 0, 0}},
            {0x15, {0x15, {u"Access Code Developer"}, 16, 0, 0}},
            {0x16, {0x16, {u"Password"}, 17, 0, 0}},
            {0x17, {0x17, {u"Error Flag (Binary)"}, 18, 0, 0}},
            {0x18, {0x18, {u"Error Mask"}, 19, 0, 0}},
            {0x19, {0x19, {u"Security Key"}, 126, 0, 0}},
            {0x1A, {0x1A, {u"Digital Output (Binary)"}, 20, 0, 0}},
            {0x1B, {0x1B, {u"Digital Input (Binary)"}, 21, 0, 0}},
            {0x1C, {0x1C, {u"Baudrate [Baud]"}, 22, 0, 0}},
            {0x1D, {0x1D, {u"Responce Delay Time [Bit-Times]"}, 23, 0, 0}},
            {0x1E, {0x1E, {u"Retry"}, 24, 0, 0}},
            {0x1F, {0x1F, {u"Remote Control (Device Specific e.g. Gas Value)"}, 127, 0, 0}},
            {0x20, {0x20, {u"First Storage Number for Cyclic Storage"}, 25, 0, 0}},
            {0x21, {0x21, {u"Last Storage Number for Cyclic Storage"}, 26, 0, 0}},
            {0x22, {0x22, {u"Size of Storage Block"}, 27, 0, 0}},
            {0x24, {0x27, {u"Storage Interval Second(s)", u"Storage Interval Minute(s)", u"Storage Interval Hour(s)",
                           u"Storage Interval Day(s)"}, 28, 0, 0}},
            {0x28, {0x28, {u"Storage Interval Month(s)"}, 29, 0, 0}},
            {0x29, {0x29, {u"Storage Interval Year(s)"}, 30, 0, 0}},
            {0x2A, {0x2A, {u"Operator Specific Data"}, 128, 0, 0}},
            {0x2B, {0x2B, {u"Time Point Second (0 to 59)"}, 129, 0, 0}},
            {0x2C, {0x2F, {u"Duration Since Last Readout Second(s)", u"Duration Since Last Readout Minute(s)",
                           u"Duration Since Last Readout Hour(s)", u"Duration Since Last Readout Day(s)"}, 31, 0, 0}},
            {0x30, {0x30, {u"Start (Date/Time) of Tariff"}, 32, 0, 0}},
            {0x31, {0x31, {u"Duration of Tariff Minute(s)"}, 33, 0, 0}},
            {0x32, {0x32, {u"Duration of Tariff Hour(s)"}, 33, 0, 0}},
            {0x33, {0x33, {u"Duration of Tariff Day(s)"}, 33, 0, 0}},
            {0x34, {0x37, {u"Period of Tariff Second(s)", u"Period of Tariff Minute(s)", u"Period of Tariff Hour(s)",
                           u"Period of Tariff Day(s)"}, 34, 0, 0}},
            {0x38, {0x38, {u"Period of Tariff Month(s)"}, 35, 0, 0}},
            {0x39, {0x39, {u"Period of Tariff Year(s)"}, 36, 0, 0}},
            {0x3A, {0x3A, {u"Dimensionless / No VIF"}, 37, 0, 0}},
            {0x3B, {0x3B, {u"Data Container for Wireless M-Bus Protocol"}, 130, 0, 0}},
            {0x3C, {0x3F, {u"Period of Nominal Data Transmissions Second(s)",
                           u"Period of Nominal Data Transmissions Minute(s)",
                           u"Period of Nominal Data Transmissions Hour(s)",
                           u"Period of Nominal Data Transmissions Day(s)"}, 131, 0, 0}},
            {0x40, {0x4F, {u"Electric Units Volts"}, 38, 15, -9}},
            {0x50, {0x5F, {u"Electric Units A"}, 39, 15, -12}},
            {0x60, {0x60, {u"Reset Counter"}, 40, 0, 0}},
            {0x61, {0x61, {u"Cumulation Counter"}, 41, 0, 0}},
            {0x62, {0x62, {u"Control Signal"}, 42, 0, 0}},
            {0x63, {0x63, {u"Day of Week"}, 43, 0, 0}},
            {0x64, {0x64, {u"Week Number"}, 44, 0, 0}},
            {0x65, {0x65, {u"Time Point of Day Change"}, 45, 0, 0}},
            {0x66, {0x66, {u"State of Parameter Activation"}, 46, 0, 0}},
            {0x67, {0x67, {u"Special Supplier Information"}, 47, 0, 0}},
            {0x68, {0x6B, {u"Duration Since Last Cumulation Hour(s)", u"Duration Since Last Cumulation Day(s)",
                           u"Duration Since Last Cumulation Month(s)", u"Duration Since Last Cumulation Year(s)"}, 48, 0, 0}},
            {0x6C, {0x6F, {u"Operating Time Battery Hour(s)", u"Operating Time Battery Day(s)",
                           u"Operating Time Battery Month(s)", u"Operating Time Battery Year(s)"}, 49, 0, 0}},
            {0x70, {0x70, {u"Date and Time of Battery Change"}, 50, 0, 0}},
            {0x71, {0x71, {u"RF Level Units: dBm"}, 132, 0, 0}},
            {0x72, {0x72, {u"Daylight Savings (Beginning, Ending, Deviation) Data Type K"}, 133, 0, 0}},
            {0x73, {0x73, {u"Listening Window Management Data Type L"}, 134, 0, 0}},
            {0x74, {0x74, {u"Remaining Battery Life Time (Days)"}, 135, 0, 0}},
            {0x75, {0x75, {u"Number Times the Meter Was Stopped"}, 136, 0, 0}},
        },
        {0x7F, {u"Reserved"}, 0, 0, 0});
    return table;
}

const platform::CodeTable<TVifRow>& FB_Table()
{
    static const platform::CodeTable<TVifRow> table(
        {
            {0x00, {0x01, {u"Energy MWh"}, 51, 1, -1}},
            {0x02, {0x03, {u"Reactive Energy kVARh"}, 137, 1, 0}},
            {0x04, {0x05, {u"Apparent Energy kVAh"}, 138, 1, 0}},
            {0x08, {0x09, {u"Energy GJ"}, 52, 1, -1}},
            {0x0C, {0x0F, {u"Energy MCal"}, 139, 3, -1}},
            {0x10, {0x11, {u"Volume m3"}, 53, 1, 2}},
            {0x14, {0x17, {u"Reactive Power kVAR"}, 140, 3, -3}},
            {0x18, {0x19, {u"Volume t"}, 54, 1, 2}},
            {0x1A, {0x1B, {u"Relative Humidity %"}, 141, 1, -1}},
            {0x20, {0x20, {u"Volume Feet 3"}, 142, 0, 0}},
            {0x21, {0x21, {u"Volume 0,1 Feet 3"}, 55, 0, 0}},
            {0x22, {0x22, {u"Volume 0,1 American Gallon"}, 56, 0, 0}},
            {0x23, {0x23, {u"Volume 1 American Gallon"}, 57, 0, 0}},
            {0x24, {0x24, {u"Volume Flow 0,001 American Gallon/min"}, 58, 0, 0}},
            {0x25, {0x25, {u"Volume Flow 1 American Gallon/min"}, 59, 0, 0}},
            {0x26, {0x26, {u"Volume Flow 1 American Gallon/h"}, 60, 0, 0}},
            {0x28, {0x29, {u"Power MW"}, 61, 1, -1}},
            {0x2A, {0x2A, {u"Phase U-U (Volt. to Volt.)"}, 143, 0, 0}},
            {0x2B, {0x2B, {u"Phase U-I (Volt. to Current)"}, 144, 0, 0}},
            {0x2C, {0x2F, {u"Frequency Hz"}, 145, 3, -3}},
            {0x30, {0x31, {u"Power GJ/h"}, 62, 1, -1}},
            {0x34, {0x37, {u"Apparent Power kVA"}, 146, 3, -3}},
            {0x58, {0x5B, {u"Flow Temperature °F"}, 63, 3, -3}},
            {0x5C, {0x5F, {u"Return Temperature °F"}, 64, 3, -3}},
            {0x60, {0x63, {u"Temperature Difference °F"}, 65, 3, -3}},
            {0x64, {0x67, {u"External Temperature °F"}, 66, 3, -3}},
            {0x70, {0x73, {u"Cold / Warm Temperature Limit °F"}, 67, 3, -3}},
            {0x74, {0x77, {u"Cold / Warm Temperature Limit °C"}, 68, 3, -3}},
            // The stored files carry 68 here too.
            {0x78, {0x7F, {u"Cum. Max. of Active Power W"}, 68, 7, -3}},
        },
        {0x7F, {u"Reserved"}, 0, 0, 0});
    return table;
}

enum class TVifeAction : uint8_t { None, Date, Multiply, Additive, Thousand, Phase };

struct TVifeRow {
    QStringView Text;
    int32_t Code;  // -1: the record keeps its code
    TVifeAction Action = TVifeAction::None;
};

const platform::CodeTable<TVifeRow>& Combinable_Table()
{
    using A = TVifeAction;
    static const platform::CodeTable<TVifeRow> table(
        {
            {0x00, {u" - None", 108}},
            {0x01, {u" - Too Many DIFEs", 109}},
            {0x02, {u" - Storage Number not Implemented", 110}},
            {0x03, {u" - Unit Number not Implemented", 111}},
            {0x04, {u" - Tariff Number not Implemented", 112}},
            {0x05, {u" - Function not Implemented", 113}},
            {0x06, {u" - Data Class not Implemented", 114}},
            {0x07, {u" - Data Size not Implemented", 115}},
            {0x0B, {u" - Too Many VIFEs", 116}},
            {0x0C, {u" - Illegal VIF-Group", 117}},
            {0x0D, {u" - Illegal VIF-Exponent", 118}},
            {0x0E, {u" - VIF / DIF Mismatch", 119}},
            {0x0F, {u" - Unimplemented Action", 120}},
            {0x15, {u" - No Data Available (Undefined Value)", 121}},
            {0x16, {u" - Data Overflow", 122}},
            {0x17, {u" - Data Underflow", 123}},
            {0x18, {u" - Data Error", 124}},
            {0x1C, {u" - Premature End of Record", 125}},
            {0x20, {u" - Per Second", 70}},
            {0x21, {u" - Per Minute", 71}},
            {0x22, {u" - Per Hour", 72}},
            {0x23, {u" - Per Day", 73}},
            {0x24, {u" - Per Week", 74}},
            {0x25, {u" - Per Month", 75}},
            {0x26, {u" - Per Year", 76}},
            {0x27, {u" - Per Revolution / Measurement", 77}},
            {0x28, {u" - Increment per Input Pulse on Input Channel 0", 78}},
            {0x29, {u" - Increment per Input Pulse on Input Channel 1", 78}},
            {0x2A, {u" - Increment per Output Pulse on Output Channel 0", 79}},
            {0x2B, {u" - Increment per Output Pulse on Output Channel 1", 79}},
            {0x2C, {u" - Per Liter", 80}},
            {0x2D, {u" - Per m3", 81}},
            {0x2E, {u" - Per kg", 82}},
            {0x2F, {u" - Per K (Kelvin)", 83}},
            {0x30, {u" - Per kWh", 84}},
            {0x31, {u" - Per GJ", 85}},
            {0x32, {u" - Per kW", 86}},
            {0x33, {u" - Per (K*l)(Kelvin * Litre)", 87}},
            {0x34, {u" - Per V (Volt)", 88}},
            {0x35, {u" - Per (A) (Ampere)", 89}},
            {0x36, {u" - Multiplied by s", 90}},
            {0x37, {u" - Multiplied by s / V", 91}},
            {0x38, {u" - Multiplied by s / A", 92}},
            {0x39, {u" - Start Date (/Time) of", 93}},
            {0x3A, {u" - VIF Contains Uncorrect Unit or Value at Metering Conditions Instead of Converted Unit", 94}},
            {0x3B, {u" - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 95}},
            {0x3C, {u" - Accumulation of abs Value Only if Negative Contributions (Backward Flow)", 96}},
            {0x3D, {u" - Reserved for Alternate non-metric Unit System (according to Annex C)", 147}},
            {0x3E, {u" - Value at Base Conditions", 148}},
            {0x40, {u" - Lower Limit Value", 97}},
            {0x48, {u" - Upper Limit Value", 97}},
            {0x41, {u" - # of Exceeds of Lower Limit", 98}},
            {0x49, {u" - # of Exceeds of Upper Limit", 98}},
            {0x42, {u" - Date(/Time) of Begin of First Lower Limit Exceed", 99, A::Date}},
            {0x43, {u" - Date(/Time) of End of First Lower Limit Exceed", 99, A::Date}},
            {0x46, {u" - Date(/Time) of Begin of Last Lower Limit Exceed", 99, A::Date}},
            {0x47, {u" - Date(/Time) of End of Last Lower Limit Exceed", 99, A::Date}},
            {0x4A, {u" - Date(/Time) of Begin of First Upper Limit Exceed", 99, A::Date}},
            {0x4B, {u" - Date(/Time) of End of First Upper Limit Exceed", 99, A::Date}},
            {0x4E, {u" - Date(/Time) of Begin of Last Upper Limit Exceed", 99, A::Date}},
            {0x4F, {u" - Date(/Time) of End of Last Upper Limit Exceed", 99, A::Date}},
            {0x50, {u" - Duration 00 of First Lower Limit Exceed", 100}},
            {0x51, {u" - Duration 01 of First Lower Limit Exceed", 100}},
            {0x52, {u" - Duration 02 of First Lower Limit Exceed", 100}},
            {0x53, {u" - Duration 03 of First Lower Limit Exceed", 100}},
            {0x54, {u" - Duration 00 of Last Lower Limit Exceed", 100}},
            {0x55, {u" - Duration 01 of Last Lower Limit Exceed", 100}},
            {0x56, {u" - Duration 02 of Last Lower Limit Exceed", 100}},
            {0x57, {u" - Duration 03 of Last Lower Limit Exceed", 100}},
            {0x58, {u" - Duration 00 of First Upper Limit Exceed", 100}},
            {0x59, {u" - Duration 01 of First Upper Limit Exceed", 100}},
            {0x5A, {u" - Duration 02 of First Upper Limit Exceed", 100}},
            {0x5B, {u" - Duration 03 of First Upper Limit Exceed", 100}},
            {0x5C, {u" - Duration 00 of Last Upper Limit Exceed", 100}},
            {0x5D, {u" - Duration 01 of Last Upper Limit Exceed", 100}},
            {0x5E, {u" - Duration 02 of Last Upper Limit Exceed", 100}},
            {0x5F, {u" - Duration 03 of Last Upper Limit Exceed", 100}},
            {0x60, {u" - Duration 00 of First", 101}},
            {0x61, {u" - Duration 01 of First", 101}},
            {0x62, {u" - Duration 02 of First", 101}},
            {0x63, {u" - Duration 03 of First", 101}},
            {0x64, {u" - Duration 00 of Last", 101}},
            {0x65, {u" - Duration 01 of Last", 101}},
            {0x66, {u" - Duration 02 of Last", 101}},
            {0x67, {u" - Duration 03 of Last", 101}},
            {0x68, {u" - Value During Lower Limit Exceed", 149}},
            {0x6C, {u" - Value During Upper Limit Exceed", 149}},
            {0x69, {u" - Leakage Values", 150}},
            {0x6D, {u" - Overflow Values", 151}},
            {0x6A, {u" - Date(/Time) of Begin of First", 102, A::Date}},
            {0x6B, {u" - Date(/Time) of End of First", 102, A::Date}},
            {0x6E, {u" - Date(/Time) of Begin of Last", 102, A::Date}},
            {0x6F, {u" - Date(/Time) of End of Last", 102, A::Date}},
            {0x70, {u" - Moltiplicative Correction Factor: 10^(-6)", 103, A::Multiply}},
            {0x71, {u" - Moltiplicative Correction Factor: 10^(-5)", 103, A::Multiply}},
            {0x72, {u" - Moltiplicative Correction Factor: 10^(-4)", 103, A::Multiply}},
            {0x73, {u" - Moltiplicative Correction Factor: 10^(-3)", 103, A::Multiply}},
            {0x74, {u" - Moltiplicative Correction Factor: 10^(-2)", 103, A::Multiply}},
            {0x75, {u" - Moltiplicative Correction Factor: 10^(-1)", 103, A::Multiply}},
            {0x76, {u" - Moltiplicative Correction Factor: 10^(0)", 103, A::Multiply}},
            {0x77, {u" - Moltiplicative Correction Factor: 10^(1)", 103, A::Multiply}},
            {0x78, {u" - Additive Correction Constant: 10^(-3) * Unit of VIF", 104, A::Additive}},
            {0x79, {u" - Additive Correction Constant: 10^(-2) * Unit of VIF", 104, A::Additive}},
            {0x7A, {u" - Additive Correction Constant: 10^(-1) * Unit of VIF", 104, A::Additive}},
            {0x7B, {u" - Additive Correction Constant: 10^(0) * Unit of VIF", 104, A::Additive}},
            {0x7C, {u"", -1, A::Phase}},
            {0x7D, {u" - Multiplicative Cerrection Factor: 10^(3)", 105, A::Thousand}},
            {0x7E, {u" - Future Value", 106}},
            {0x7F, {u" - Next VIFEs and Data of This Block Are Manufacturer Specific", 107}},
        },
        {u" - Reserved", -1});
    return table;
}

const platform::CodeTable<QStringView>& Phase_Table()
{
    static const platform::CodeTable<QStringView> table(
        {
            {1, u" - At Phase L1"},
            {2, u" - At Phase L2"},
            {3, u" - At Phase L3"},
            {4, u" - At Neutral (N)"},
            {5, u" - Between Phase L1 and L2"},
            {6, u" - Between Phase L2 and L3"},
            {7, u" - Between Phase L3 and L1"},
            {16, u" - Accumulation of abs. Value for Both Positive and Negative Contribution (Absolute Count)"},
        },
        u"");
    return table;
}

void Append_Two_Digits(QString& text, int number)
{
    if (number >= 100)
        text += QChar(u'0' + number / 100);
    text += QChar(u'0' + number / 10 % 10);
    text += QChar(u'0' + number % 10);
}

// Day, month and year of a type G date in two bytes.
void Append_Date_G(QString& text, const uint8_t* b)
{
    Append_Two_Digits(text, b[0] & 0x1F);
    text += u'/';
    Append_Two_Digits(text, b[1] & 0x0F);
    text += u'/';
    Append_Two_Digits(text, ((b[0] >> 5) & 0x07) | ((b[1] >> 4) << 3));
}

void Append_Time_J(QString& text, const uint8_t* b)
{
    Append_Two_Digits(text, b[2] & 0x1F);
    text += u':';
    Append_Two_Digits(text, b[1] & 0x3F);
    text += u':';
    Append_Two_Digits(text, b[0] & 0x3F);
}

// The date texts of the data fields that carry one: G (2), J (3), F (4) and I (6); empty for
// any other.
QString Date_Value(int data_field, const uint8_t* b)
{
    static constexpr std::array<QStringView, 8> weekdays{u"",          u"Monday ", u"Tuesday ",  u"Wednesday ",
                                                         u"Thursday ", u"Friday ", u"Saturday ", u"Sunday "};
    QString text;
    switch (data_field) {
    case 2:
        text.reserve(9);
        Append_Date_G(text, b);
        break;
    case 3:
        text.reserve(9);
        Append_Time_J(text, b);
        break;
    case 4:
        text.reserve(15);
        Append_Date_G(text, b + 2);
        text += u' ';
        Append_Two_Digits(text, b[1] & 0x1F);
        text += u':';
        Append_Two_Digits(text, b[0] & 0x3F);
        break;
    case 6:
        text.reserve(30);
        text += weekdays[(b[2] >> 5) & 0x07];
        Append_Date_G(text, b + 3);
        text += u' ';
        Append_Time_J(text, b);
        break;
    default:
        break;
    }
    return text;
}

int64_t Signed_LE(const uint8_t* bytes, int count)
{
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    const int unused = 64 - 8 * count;
    return unused > 0 ? int64_t(value << unused) >> unused : int64_t(value);
}

long double Scale(long double value, int exponent)
{
    long double power = 1.0L;
    for (int i = 0; i < std::abs(exponent); ++i)
        power *= 10.0L;
    return exponent >= 0 ? value * power : value / power;
}

}  // namespace

int64_t Power_Of_Ten(int power)
{
    int64_t value = 1;
    for (int i = 0; i < power && i < 18; ++i)
        value *= 10;
    return value;
}

int64_t BCD_To_Int64(const uint8_t* bytes, int count)
{
    int64_t value = 0;
    bool negative = false;
    for (int i = 0; i < count; ++i) {
        const int low = bytes[i] & 0x0F;
        const int high = bytes[i] >> 4;
        value += low * Power_Of_Ten(2 * i);
        if (i == count - 1 && high == 0x0F)
            negative = true;
        else
            value += high * Power_Of_Ten(2 * i + 1);
    }
    return negative ? -value : value;
}

QString Two_Digits(int number)
{
    return QString::number(number).rightJustified(2, u'0');
}

QString Format_Value(long double value, QChar separator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    // Fifteen significant digits: "d.dddddddddddddde±x".
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (error != std::errc())
        return QStringLiteral("0");
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[15];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && count < 15)
            digits[count++] = *p;
    // The exponent: "e", a sign, then digits up to the end of what to_chars wrote.
    int exponent = 0;
    bool negative_exponent = false;
    for (const char* e = p + 1; e < end; ++e) {
        if (*e == '-')
            negative_exponent = true;
        else if (*e >= '0' && *e <= '9')
            exponent = exponent * 10 + (*e - '0');
    }
    if (negative_exponent)
        exponent = -exponent;
    while (count > 0 && digits[count - 1] == '0')
        --count;
    if (count == 0)
        return QStringLiteral("0");

    QString text;
    text.reserve(count + std::abs(exponent) + 3);
    if (negative)
        text += u'-';
    if (exponent < 0) {
        text += u'0';
        text += separator;
        for (int i = 1; i < -exponent; ++i)
            text += u'0';
        for (int i = 0; i < count; ++i)
            text += QChar::fromLatin1(digits[i]);
    } else {
        for (int i = 0; i <= exponent; ++i)
            text += i < count ? QChar::fromLatin1(digits[i]) : QChar(u'0');
        if (count > exponent + 1) {
            text += separator;
            for (int i = exponent + 1; i < count; ++i)
                text += QChar::fromLatin1(digits[i]);
        }
    }
    return text;
}

namespace {

// A variable-length text: Latin-1 characters sent last character first, like every multi-byte
// field. Control characters show as "?" so that a line of the result stays one line.
QString Text_Value(const uint8_t* data, int length)
{
    QString text(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) {
        const uint8_t byte = data[length - 1 - i];
        text[i] = byte < 0x20 || (byte >= 0x7F && byte < 0xA0) ? QChar(u'?') : QChar::fromLatin1(char(byte));
    }
    return text;
}

}  // namespace

void TMBusDecoder::Decode_Value(uint8_t VIF, uint8_t First_VIFE, int Data_Field, uint8_t LVAR, int Data_Len,
                                int Num_VIFE, TVariable_MBus& Var)
{
    const uint8_t* data = App_Data_Val.data();
    long double value = 0;
    QString value_text;
    bool is_text = false;
    switch (Data_Field) {
    case 1: case 2: case 3: case 4: case 6: case 7:
        value = (long double)Signed_LE(data, std::min(Data_Len, 8));
        break;
    case 5: {
        const uint32_t bits = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
        value = std::bit_cast<float>(bits);
        break;
    }
    case 9: case 10: case 11: case 12: case 14:
        value = (long double)BCD_To_Int64(data, Data_Len);
        break;
    case 13:
        if (LVAR >= 0xC0 && LVAR <= 0xC9)
            value = (long double)BCD_To_Int64(data, LVAR - 0xC0);
        else if (LVAR >= 0xD0 && LVAR <= 0xD9)
            value = -(long double)BCD_To_Int64(data, LVAR - 0xD0);
        else if (LVAR <= 0xBF) {
            value_text = Text_Value(data, std::min<int>(LVAR, Data_Len));
            is_text = true;
        }
        break;
    default:
        break;
    }

    int exponent = 0;
    QString description;
    uint16_t quantity = No_Quantity;
    int32_t extension = 0;

    const uint8_t primary = VIF & 0x7F;
    if (const TVifRow* row = Find_Row(Primary_Table(), primary)) {
        quantity = uint16_t(row->Code);
        exponent = (primary & row->Mask) + row->Expo;
        description = Static_Text(Row_Text(*row, primary));
    }
    if (primary == 0x6C || primary == 0x6D) {
        static constexpr std::array<QStringView, 7> names{
            u"", u"", u"Time Point Date (Type G)", u"Time Point Extended Time Point (Type J)",
            u"Time Point Date and Time (Type F)", u"", u"Time Point Extended Date and Time Point (Type I)"};
        if (Data_Field >= 2 && Data_Field <= 6 && Data_Field != 5) {
            description = Static_Text(names[size_t(Data_Field)]);
            value_text = Date_Value(Data_Field, data);
        }
    }

    int next = Num_VIFE;
    if (VIF == 0xFD || VIF == 0xFB) {
        const uint8_t code = First_VIFE & 0x7F;
        const auto& table = VIF == 0xFD ? FD_Table() : FB_Table();
        const TVifRow* row = Find_Row(table, code);
        const TVifRow& line = row ? *row : table[0xFFu];
        description = Static_Text(Row_Text(line, code));
        extension = line.Code;
        exponent = (code & line.Mask) + line.Expo;
        next = 1;
    } else if ((VIF & 0x80) && VIF != 0xFE && VIF != 0xFF) {
        next = 0;
    }

    for (int i = next; i < Num_VIFE && i < int(App_Vife_Val.size()); ++i) {
        const uint8_t code = App_Vife_Val[size_t(i)] & 0x7F;
        const TVifeRow& row = Combinable_Table()[code];
        if (row.Action == TVifeAction::Phase && i < 9) {
            // The next VIFE says which phase; it is used up here.
            const uint8_t phase = i + 1 < Num_VIFE ? App_Vife_Val[size_t(i) + 1] & 0x7F : 0;
            description += Phase_Table()[phase];
            ++i;
            continue;
        }
        if (row.Action == TVifeAction::Phase) {
            description += Combinable_Table()[0xFFu].Text;
            continue;
        }
        description += row.Text;
        if (extension == 0 && row.Code >= 0)
            extension = row.Code;
        switch (row.Action) {
        case TVifeAction::Date:
            if (Data_Field == 2 || Data_Field == 4)
                value_text = Date_Value(Data_Field, data);
            break;
        case TVifeAction::Multiply:
            exponent += (code & 7) - 6;
            break;
        case TVifeAction::Additive:
            exponent += (code & 3) - 3;
            break;
        case TVifeAction::Thousand:
            exponent += 3;
            break;
        default:
            break;
        }
    }

    Var.type_data = quantity;
    Var.Type_Data_Vife = extension;
    Var.Desc_Type_Data = std::move(description);
    Var.ValueStr = is_text || !value_text.isEmpty() ? std::move(value_text)
                                                  : Format_Value(Scale(value, exponent), Decimal_Separator);
}
