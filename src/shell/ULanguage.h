#pragma once
#include <QString>
#include <QStringList>

// The process-wide text table: built-in English texts overridden by the chosen language file.
namespace shell {

constexpr int Lang_Table_Size = 5300;
extern QStringList List_Lang;
extern int Lang_Max_Index;

// Text N of the table; an index outside the table reads as empty.
QString Lang(int index);

void Load_Default_Language();
// Replaces the entries the file names. A file that is missing, unreadable or cannot be decoded
// changes nothing and answers false.
bool Load_Language_File(const QString& path);
// The built-in texts, then the file of Language_Name (English when that file does not exist).
void Load_Language();

// The language file of a language name in the language folder: name + ".lng", the extension in
// any letter case; empty when there is none.
QString Language_File(const QString& name);

// Removes leading and trailing blanks and control characters.
QString Trim_Blanks(const QString& text);

}  // namespace shell
