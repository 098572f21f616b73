#include "protocols/fieldbus/UTopicIndex.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Exception.h"

#include <QFile>
#include <QRegularExpression>

namespace fieldbus {

QStringList File_Topics(const QString& topicFile, mqtt_image::TTopic_Side side, bool numbered)
{
    QStringList topics;
    if (topicFile.isEmpty() || !QFile::exists(topicFile))
        return topics;
    mqtt_image::TTopic_Tables tables;
    QStringList problems;
    try {
        mqtt_image::Read_Topic_File(topicFile, &tables, &problems);
    } catch (const platform::Exception&) {
        // The rows read before the fault still name their topics; the topic window reports the file.
    }
    const int topicColumn = side == mqtt_image::Topic_Publish ? int(mqtt_image::pub::Topic) : int(mqtt_image::sub::Topic);
    const shell::Table_Rows& rows = tables[size_t(side)];
    for (size_t k = 0; k < rows.size(); ++k) {
        const QString topic = rows[k].value(topicColumn);
        if (shell::Key_Is_Empty(topic))
            break;
        topics.append(numbered ? QString::number(k + 1) + QStringLiteral(" - ") + topic : topic);
    }
    return topics;
}

QString Get_Topic_From_Index(const QStringList& topics, int index)
{
    return index >= 0 && index < topics.size() ? topics.at(index) : QString();
}

int Get_Index_From_Topic(const QStringList& topics, const QString& topic, int remembered)
{
    if (remembered >= 0 && remembered < topics.size() && topics.at(remembered) == topic)
        return remembered;
    return int(topics.indexOf(topic));
}

QString Unresolved_Topic(int index)
{
    return QStringLiteral("<topic %1: not in the topic table>").arg(index);
}

bool Is_Unresolved_Topic(const QString& cell)
{
    static const QRegularExpression marked(QStringLiteral("^<topic \\d+: not in the topic table>$"));
    return marked.match(cell).hasMatch();
}

void TTopic_Index_Column::Reset(QStringList topics, int capacity)
{
    FTopics = std::move(topics);
    FTable->Columns()[FColumn]->ComboItems = FTopics;
    FRemembered.assign(size_t(capacity), -1);
}

QStringList TTopic_Index_Column::Show_Topics()
{
    QStringList unresolved;
    for (size_t r = 0; r < FRemembered.size(); ++r) {
        const int row = int(r + 1);
        const QString stored = FTable->Cells(FColumn, row);
        const int64_t index = stored.isEmpty() ? -1 : shell::Setup_Number(stored);
        FRemembered[r] = index > INT32_MAX ? -1 : int(index);
        QString text = Get_Topic_From_Index(FTopics, FRemembered[r]);
        if (FRemembered[r] >= 0 && text.isEmpty()) {
            text = Unresolved_Topic(FRemembered[r]);
            unresolved.append(QString::number(row));
        }
        FTable->SetCells(FColumn, row, text);
    }
    return unresolved;
}

void TTopic_Index_Column::Picked(int row, int index)
{
    if (row >= 1 && size_t(row) <= FRemembered.size())
        FRemembered[size_t(row - 1)] = index;
}

int TTopic_Index_Column::Remembered(int row) const
{
    return row >= 1 && size_t(row) <= FRemembered.size() ? FRemembered[size_t(row - 1)] : -1;
}

shell::Table_Rows TTopic_Index_Column::Stored(shell::Table_Rows rows, const shell::Table_Description& table) const
{
    const size_t end = table.Content_End(rows);
    for (size_t r = 0; r < end; ++r) {
        const int remembered = Remembered(int(r + 1));
        const QString cell = rows[r].value(FColumn);
        const int index = Is_Unresolved_Topic(cell) && cell == Unresolved_Topic(remembered)
                              ? remembered
                              : Get_Index_From_Topic(FTopics, cell, remembered);
        rows[r][FColumn] = QString::number(index);
    }
    return rows;
}

}  // namespace fieldbus
