#pragma once
#include <QByteArray>
#include <QString>

// The PROFINET GSDML file (GSDML 2.31) of the PROFINET gateway, sized and named by ParGen.xml.
namespace fieldbus::gsdml {

inline const QString GSDML_Model_Code = QStringLiteral("KV-PNMQ");
constexpr int GSDML_Vendor_ID = 0x0B7C;
constexpr int GSDML_Device_ID = 0x0718;
// The longest data item of one direction: the 1440-byte exchange area less its two status bytes.
constexpr int GSDML_Max_Length = 1438;

// The device values of the file.
struct GSDML_Values {
    int NByte_IN = GSDML_Max_Length;
    int NByte_OUT = GSDML_Max_Length;
    QString Name_Station = QStringLiteral("SERIAL");
};

// Whether the text is a DNS name: labels of 1 to 63 letters, digits and inner hyphens, joined by
// dots, 240 characters at most.
bool Is_DNS_Name(const QString& name);

// The values from ParGen.xml: a missing element, or a number that is not one, gives the default;
// a number outside 1 .. GSDML_Max_Length is clamped into it; a station name that is not a DNS name
// gives "SERIAL". Throws Exception when the file cannot be read or is not well-formed.
GSDML_Values Read_Profinet_Parameters(const QString& parGenPath);

// The document as written: ISO-8859-1 without a byte-order mark, lines ended by CR LF.
QByteArray GSDML_Bytes(const GSDML_Values& values);

// Reads the values of the open configuration and writes the file to path, whole or not at all.
void Write_GSDML_File(const QString& path);

// Asks for the folder (the file keeps the name the file-name window composed), asks before an
// existing file is replaced, writes it.
void Save_PROFINET_XML(const QString& Name_File_XML);

}  // namespace fieldbus::gsdml

using fieldbus::gsdml::Save_PROFINET_XML;
