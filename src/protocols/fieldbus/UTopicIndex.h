#pragma once
#include "mqtt_image/UMQTT_Topic_File.h"
#include "shell/UProjectTable.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// Rules that name an MQTT topic of MQTT_Set_Topic.xml store the topic's index in the topic table,
// as the gateway reads it, and show its text. Equal texts keep their own topic, and an index that
// the topic table no longer reaches is kept, marked, rather than lost on the next save.
namespace fieldbus {

// The topics of one side of a topic file, in file order, up to the first empty one. No file
// gives none.
QStringList File_Topics(const QString& topicFile, mqtt_image::TTopic_Side side);
// Entry index of the list, or "" beyond it.
QString Get_Topic_From_Index(const QStringList& topics, int index);
// The remembered index when its entry is the text, else the first entry equal to it, else -1.
int Get_Index_From_Topic(const QStringList& topics, const QString& topic, int remembered);
// The Topic cell of a rule whose saved index names no topic of the list: it keeps the index.
QString Unresolved_Topic(int index);
bool Is_Unresolved_Topic(const QString& cell);

// The topic texts of both sides that a rules file was last saved against. The rules file holds
// indices only, as the gateway reads them; this record, kept beside it as "<name>.topics.xml",
// lets a later show notice that an index now names another topic.
using TSaved_Topics = std::array<QStringList, 2>;
QString Saved_Topics_Path(const QString& rulesFile);
// Nothing known (empty lists) when the record is missing or cannot be read.
TSaved_Topics Read_Saved_Topics(const QString& rulesFile);
// Throws platform::Exception when it cannot be written.
void Write_Saved_Topics(const QString& rulesFile, const TSaved_Topics& topics);

// The warning of a show whose rules' indices now name other topics than when they were saved
// (lines from Changed_Rows); empty when there are none.
QString Changed_Topics_Message(const QStringList& lines);
// Records the topics the rules were saved against; a failure is reported, the rules stay saved.
void Record_Saved_Topics(const QString& rulesFile, const TSaved_Topics& topics);

// One Topic column of a table: its topic list and, per row, the index last loaded or picked.
class TTopic_Index_Column {
public:
    TTopic_Index_Column(grid::TExtColumnGrid* table, int column) : FTable(table), FColumn(column) {}

    // At a show, before the table is loaded: the topics the column offers, with numbered as
    // "k - topic" (k from 1); no row remembers a topic.
    void Reset(QStringList topics, bool numbered, int capacity);
    // After the table is loaded with indices: each shown as its topic. Gives the rows (from 1)
    // whose index names no topic of the list.
    QStringList Show_Topics();
    // A topic picked from the list at a row (from 1).
    void Picked(int row, int index);
    // The table's rows as the file stores them: the column's cells of the content rows as indices
    // (-1 for a text that names no topic). Rows from the table's end on are left as they are, so
    // an empty Topic that ends a table still ends it.
    shell::Table_Rows Stored(shell::Table_Rows rows, const shell::Table_Description& table) const;

    // The rows (from 1) whose index named another topic when the rules were saved, one line each
    // ("row 2: saved for \"a\", now \"b\"").
    QStringList Changed_Rows(const QStringList& saved) const;

    // The topics as the column offers them, and as the topic table holds them.
    const QStringList& Topics() const { return FTopics; }
    const QStringList& Topic_Texts() const { return FTexts; }
    // The index remembered for row r (from 1); -1 none.
    int Remembered(int row) const;
    int Column() const { return FColumn; }

private:
    grid::TExtColumnGrid* FTable;
    int FColumn;
    QStringList FTopics;
    QStringList FTexts;
    std::vector<int> FRemembered;
};

}  // namespace fieldbus
