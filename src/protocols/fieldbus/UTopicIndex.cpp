#include "protocols/fieldbus/UTopicIndex.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"

#include <QFile>
#include <QRegularExpression>

namespace fieldbus {

QStringList File_Topics(const QString& topicFile, mqtt_image::TTopic_Side side)
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
        topics.append(topic);
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

namespace {

const shell::Project_File_Layout& Saved_Topics_Layout()
{
    static const shell::Project_File_Layout layout = [] {
        shell::Project_File_Layout file;
        file.Root = QStringLiteral("Saved_Topics");
        for (const mqtt_image::TTopic_Side side : {mqtt_image::Topic_Publish, mqtt_image::Topic_Subscribe}) {
            shell::Table_Layout table;
            table.Container = mqtt_image::Topic_Container(side);
            table.Attributes = {QStringLiteral("Topic")};
            table.Max_Rows = mqtt_image::Topic_Table_Rows;
            file.Tables.push_back(table);
        }
        return file;
    }();
    return layout;
}

}  // namespace

QString Saved_Topics_Path(const QString& rulesFile)
{
    QString base = rulesFile;
    if (base.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".topics.xml");
}

TSaved_Topics Read_Saved_Topics(const QString& rulesFile)
{
    std::vector<shell::Table_Rows> tables;
    try {
        shell::Read_Project_Table_File(Saved_Topics_Path(rulesFile), Saved_Topics_Layout(), &tables);
    } catch (const platform::Exception&) {
        // A damaged record tells nothing reliable: nothing is compared.
        return {};
    }
    TSaved_Topics topics;
    for (size_t side = 0; side < topics.size() && side < tables.size(); ++side)
        for (const QStringList& row : tables[side])
            topics[side].append(row.value(0));
    return topics;
}

void Write_Saved_Topics(const QString& rulesFile, const TSaved_Topics& topics)
{
    std::vector<shell::Table_Rows> tables(topics.size());
    for (size_t side = 0; side < topics.size(); ++side)
        for (const QString& topic : topics[side])
            tables[side].push_back({topic});
    shell::Write_Project_Table_File(Saved_Topics_Path(rulesFile), Saved_Topics_Layout(), tables);
}

QString Changed_Topics_Message(const QStringList& lines)
{
    if (lines.isEmpty())
        return {};
    return QStringLiteral("The topic table has changed since these rules were saved. The rules keep topic numbers, "
                          "so these now name other topics:\n%1\nCheck them before saving.")
        .arg(lines.join(QLatin1Char('\n')));
}

void Record_Saved_Topics(const QString& rulesFile, const TSaved_Topics& topics)
{
    try {
        Write_Saved_Topics(rulesFile, topics);
    } catch (const platform::Exception& e) {
        platform::MessageDlg(e.message() + QStringLiteral("\nThe rules are saved; a later change of the topic table "
                                                         "cannot be pointed out for them."),
                             platform::TMsgDlgType::mtWarning, platform::TMsgDlgButtons::mbOK);
    }
}

void TTopic_Index_Column::Reset(QStringList topics, bool numbered, int capacity)
{
    FTexts = std::move(topics);
    FTopics.clear();
    for (qsizetype k = 0; k < FTexts.size(); ++k)
        FTopics.append(numbered ? QString::number(k + 1) + QStringLiteral(" - ") + FTexts.at(k) : FTexts.at(k));
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

QStringList TTopic_Index_Column::Changed_Rows(const QStringList& saved) const
{
    QStringList lines;
    for (size_t r = 0; r < FRemembered.size(); ++r) {
        const int index = FRemembered[r];
        if (index < 0 || index >= saved.size())
            continue;
        if (index < FTexts.size() && FTexts.at(index) == saved.at(index))
            continue;
        const QString now = index < FTexts.size() ? QStringLiteral("\"%1\"").arg(FTexts.at(index))
                                                  : QStringLiteral("no topic");
        lines.append(QStringLiteral("row %1: saved for \"%2\", now %3").arg(r + 1).arg(saved.at(index), now));
    }
    return lines;
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
