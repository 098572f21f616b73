#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// What the three device-description generators share: the maker's identity written into the
// files, the PROFINET values of ParGen.xml, the text-file form and the question before a file is
// replaced.
namespace fieldbus::descriptions {

// The maker as the description files name it.
inline const QString Maker_Name = QStringLiteral("Kelvor");
inline const QString Maker_Legal_Name = QStringLiteral("Kelvor Gateways S.r.l.");
inline const QStringList Maker_Address = {QStringLiteral("Via dei Campi 12"), QStringLiteral("I-20100 Milano (MI)"),
                                          QStringLiteral("Italy")};
inline const QString Maker_Phone = QStringLiteral("+39 02 0000 0001");
inline const QString Maker_Fax = QStringLiteral("+39 02 0000 0002");
inline const QString Maker_Email = QStringLiteral("info@kelvor.example");

// The PROFINET values of ParGen.xml; each is absent when the file lacks its element, and a number
// also when its text is not a number.
struct Profinet_Values {
    std::optional<int32_t> NB_IN;
    std::optional<int32_t> NB_OUT;
    std::optional<QString> Name_Station;
};
// Reads them from the file; a missing file gives all absent. Throws Exception naming the file when
// it cannot be read or is not well-formed.
Profinet_Values Read_ParGen_Profinet(const QString& path);

// Lines as a description text file: each line, the last one too, ends in CR LF. The lines hold
// ISO-8859-1 characters only.
QByteArray Text_File_Bytes(const QStringList& lines);

// Whether path may be written: true when it does not exist or the user answers Yes to the
// text-table question `question`.
bool Confirm_Replace(const QString& path, int question);

}  // namespace fieldbus::descriptions
