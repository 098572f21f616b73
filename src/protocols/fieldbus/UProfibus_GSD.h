#pragma once
#include <QString>
#include <QStringList>

// The PROFIBUS DP GSD file of the PROFIBUS slave gateway: its data offered to the master as
// modules of at most 64 bytes, sized by ParGen.xml.
namespace fieldbus::gsd {

inline const QString GSD_Model_Code = QStringLiteral("KV-PBMQ");
constexpr int GSD_Ident_Number = 0x0B7C;
// DP-V0 limits each direction to 244 bytes.
constexpr int GSD_Max_Bytes = 244;

// The file's lines (without line ends) for the gateway's input and output byte counts, each
// 1 .. GSD_Max_Bytes.
QStringList GSD_Lines(int NByte_IN, int NByte_OUT);

// The name the file is written under: the chosen one when it ends in ".gsd" (any letter case),
// else the chosen one with ".gsd" added.
QString GSD_File_Path(const QString& chosen);

// Writes the file to path, whole or not at all; throws Exception on failure.
void Write_GSD_File(const QString& path, int NByte_IN, int NByte_OUT);

// The GSD command: reads the sizes from ParGen.xml (an error box when there is none, or when a
// size is outside 1 .. GSD_Max_Bytes), asks for the file, asks before an existing one is
// replaced, writes it.
void Save_GSD_File();

}  // namespace fieldbus::gsd

using fieldbus::gsd::Save_GSD_File;
