#pragma once
#include "mqtt_image/UMQTT_Topic_File.h"
#include "shell/UProjectTable.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// Rules that name an MQTT topic of MQTT_Set_Topic.xml store the topic's index in the topic table,
// as the gateway reads it, and show its text. Equal texts keep their own topic, and an index that
// the topic table no longer reaches is kept, marked, rather than lost on the next save.
namespace fieldbus {

// The topics of one side of a topic file, in file order, each as a Topic column offers it: with
// numbered, "k - topic" (k from 1); else the topic alone. No file gives none.
QStringList File_Topics(const QString& topicFile, mqtt_image::TTopic_Side side, bool numbered);
// Entry index of the list, or "" beyond it.
QString Get_Topic_From_Index(const QStringList& topics, int index);
// The remembered index when its entry is the text, else the first entry equal to it, else -1.
int Get_Index_From_Topic(const QStringList& topics, const QString& topic, int remembered);
// The Topic cell of a rule whose saved index names no topic of the list: it keeps the index.
QString Unresolved_Topic(int index);
bool Is_Unresolved_Topic(const QString& cell);

// One Topic column of a table: its topic list and, per row, the index last loaded or picked.
class TTopic_Index_Column {
public:
    TTopic_Index_Column(grid::TExtColumnGrid* table, int column) : FTable(table), FColumn(column) {}

    // At a show, before the table is loaded: the list the column offers; no row remembers a topic.
    void Reset(QStringList topics, int capacity);
    // After the table is loaded with indices: each shown as its topic. Gives the rows (from 1)
    // whose index names no topic of the list.
    QStringList Show_Topics();
    // A topic picked from the list at a row (from 1).
    void Picked(int row, int index);
    // The table's rows as the file stores them: the column's cells of the content rows as indices
    // (-1 for a text that names no topic). Rows from the table's end on are left as they are, so
    // an empty Topic that ends a table still ends it.
    shell::Table_Rows Stored(shell::Table_Rows rows, const shell::Table_Description& table) const;

    const QStringList& Topics() const { return FTopics; }
    // The index remembered for row r (from 1); -1 none.
    int Remembered(int row) const;
    int Column() const { return FColumn; }

private:
    grid::TExtColumnGrid* FTable;
    int FColumn;
    QStringList FTopics;
    std::vector<int> FRemembered;
};

}  // namespace fieldbus
