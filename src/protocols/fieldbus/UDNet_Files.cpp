#include "protocols/fieldbus/UDNet_Files.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/TCanvas.h"
#include "platform/XmlDoc.h"
#include "protocols/fieldbus/UTable_Column.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

namespace fieldbus {

namespace {

using shell::Lang;

const QString None = QStringLiteral("None");

std::optional<QString> Check_Net_Row(const shell::Checked_Row& row)
{
    auto in = [&](int column, qint64 high) {
        const qint64 v = row.Setup_Number(column);
        return v >= 0 && v <= high;
    };
    if (!in(dnet::ID, 63))
        return Lang(2824);
    if (!in(dnet::NB_IN, 65535))
        return Lang(2825);
    if (!in(dnet::NB_OUT, 65535))
        return Lang(2826);
    return std::nullopt;
}

// Reads the rows of one byte list of an offsets entry into a slave's lists.
void Read_Byte_Rows(const platform::XmlNode& list, QStringList& offsets, QStringList& mnemonics, const QString& where,
                    QStringList& problems, bool* stop)
{
    const std::vector<platform::XmlNode> rows = list.ChildNodes();
    for (size_t i = 0; i < rows.size() && i < size_t(offsets.size()); ++i) {
        const platform::XmlNode& row = rows[i];
        if (!row.HasAttribute(QStringLiteral("Offset")) || !row.HasAttribute(QStringLiteral("Mnemonic"))) {
            problems.append(QStringLiteral("Row %1 of %2 lacks \"Offset\" or \"Mnemonic\"; the file is read up to it.")
                                     .arg(i + 1)
                                     .arg(where));
            *stop = true;
            return;
        }
        offsets[int(i)] = row.Attribute(QStringLiteral("Offset"));
        mnemonics[int(i)] = row.Attribute(QStringLiteral("Mnemonic"));
    }
}

}  // namespace

const shell::Setup_Window_Description& DNet_Window_Description()
{
    using K = shell::Cell_Editor;
    static const shell::Setup_Window_Description window = [] {
        shell::Table_Description table;
        table.Key_Column = dnet::ID;
        // A blank ID is content: it ends nothing and fails the ID check.
        table.Key_Blanks_Count = true;
        table.Capacity = 64;
        table.Columns = {Table_Col(2814, 0, K::Row_Number, 45, platform::clWindow, nullptr),
                         Table_Col(2815, 2819, K::Text, 100, 13565902, "ID"),
                         Table_Col(2816, 2820, K::Text, 100, 14024703, "NB_IN"),
                         Table_Col(2817, 2821, K::Text, 100, 14024703, "NB_OUT"),
                         Table_Col(2818, 2822, K::Text, 375, platform::clWindow, "Mnemonic")};
        shell::Setup_Window_Description w;
        w.Name = QStringLiteral("FDNet");
        w.Client_Width = 745;
        w.Client_Height = 337;
        w.File = {QStringLiteral("DNET_Net"), QStringLiteral("1.000"), {table}};
        w.Path = &shell::TApp_State::File_DNETM_Net;
        w.Grid_Names = {QStringLiteral("ESG")};
        w.Caption = 2800;
        w.Description = 2801;
        for (int b = 0; b < 6; ++b) {
            w.Button_Captions.push_back(2802 + b);
            w.Button_Hints.push_back(2808 + b);
        }
        w.Delete_Question = 2827;
        w.Row_Prefix = 2823;
        return w;
    }();
    return window;
}

std::optional<QString> Check_DNet_Table(const shell::Table_Check_Input& input)
{
    return shell::Check_Setup_Tables(DNet_Window_Description(), std::vector<shell::Table_Check_Input>{input},
                                     [](int, const shell::Checked_Row& row) { return Check_Net_Row(row); });
}

std::vector<TSlave_DN> Load_Slave_DN(const QString& path, QStringList& problems)
{
    std::vector<shell::Table_Rows> tables;
    QString fault;
    try {
        shell::Read_Project_Tables(path, DNETM_Net_Description(), &tables, &problems);
    } catch (const platform::Exception& e) {
        // The rows read before the fault still make slaves.
        fault = e.message();
    }
    std::vector<TSlave_DN> slaves;
    const std::vector<bool> shown(dnet::Count, true);
    for (const QStringList& row : tables.front()) {
        // A slave that the network window would refuse has no byte counts to trust.
        if (auto fault = Check_Net_Row(shell::Checked_Row(row, shown))) {
            problems.append(Lang(2823) + row.value(dnet::N) + *fault);
            break;
        }
        TSlave_DN slave;
        slave.ID = uint8_t(shell::Setup_Number(row.at(dnet::ID)));
        slave.ByteIN = uint16_t(shell::Setup_Number(row.at(dnet::NB_IN)));
        slave.ByteOUT = uint16_t(shell::Setup_Number(row.at(dnet::NB_OUT)));
        slave.Row = row.mid(dnet::ID);
        for (int i = 0; i < slave.ByteIN; ++i) {
            slave.SL_ByteIN.append(None);
            slave.SL_ByteIN_M.append(QString());
        }
        for (int i = 0; i < slave.ByteOUT; ++i) {
            slave.SL_ByteOUT.append(None);
            slave.SL_ByteOUT_M.append(QString());
        }
        slaves.push_back(std::move(slave));
    }
    if (!fault.isEmpty())
        problems.prepend(fault);
    return slaves;
}

void Load_Offset_Slave_DN(const QString& path, std::vector<TSlave_DN>& slaves, QStringList& problems)
{
    if (!platform::FileExists(path))
        return;
    platform::XmlDocument doc;
    // A file cut short gives the entries before the fault.
    const QString broken = doc.LoadPartFromFile(path);
    const std::vector<platform::XmlNode> entries = doc.DocumentElement().ChildNodes();
    auto note = [&](const QString& text) { problems.append(text); };
    if (entries.size() > slaves.size())
        note(QStringLiteral("The offsets file holds %1 slave entries and the network lists %2 slaves: the last %3 "
                            "entries are left out and will not be saved again.")
                 .arg(entries.size())
                 .arg(slaves.size())
                 .arg(entries.size() - slaves.size()));
    bool stop = false;
    for (size_t k = 0; k < entries.size() && k < slaves.size() && !stop; ++k) {
        TSlave_DN& slave = slaves[k];
        const platform::XmlNode in = entries[k].ChildByName(QStringLiteral("ByteIN"));
        const platform::XmlNode out = entries[k].ChildByName(QStringLiteral("ByteOUT"));
        const size_t rows_in = in.ChildNodes().size(), rows_out = out.ChildNodes().size();
        // Entries belong to slaves by position: counts that differ suggest the list has changed.
        if (rows_in != slave.ByteIN || rows_out != slave.ByteOUT)
            note(QStringLiteral("Slave %1 (ID %2) has %3 input and %4 output bytes, but its offsets were saved for %5 "
                                "and %6: offsets belong to slaves by their order in the list, check them.")
                     .arg(k + 1)
                     .arg(slave.ID)
                     .arg(slave.ByteIN)
                     .arg(slave.ByteOUT)
                     .arg(rows_in)
                     .arg(rows_out));
        const QString where = QStringLiteral("the offsets of slave %1 (ID %2), ").arg(k + 1).arg(slave.ID);
        Read_Byte_Rows(in, slave.SL_ByteIN, slave.SL_ByteIN_M, where + QStringLiteral("Byte In"), problems, &stop);
        if (!stop)
            Read_Byte_Rows(out, slave.SL_ByteOUT, slave.SL_ByteOUT_M, where + QStringLiteral("Byte Out"), problems,
                           &stop);
    }
    if (!broken.isEmpty())
        problems.prepend(broken + QStringLiteral("; the offsets before the fault are read.\n") +
                         platform::KeepDamagedFile(path));
}

std::optional<QString> Check_Offsets(const std::vector<TSlave_DN>& slaves, int max_byte_in, int max_byte_out)
{
    const QString line_break = QStringLiteral("\n\r");
    // A position outside the area: unmapped texts ("None") read as -1 and are left alone.
    auto outside = [&](const QString& text, int limit, const QString& side, const TSlave_DN& slave,
                       int byte) -> std::optional<QString> {
        const int64_t v = shell::Setup_Number(text);
        if (v == -1 || (v >= 0 && v < limit))
            return std::nullopt;
        return QStringLiteral("Error in Byte%1! The offset %2 is not a byte of MQTT (0 .. %3).").arg(side, text).arg(limit - 1) +
               line_break + QStringLiteral("( ID = ") + QString::number(slave.ID) + Lang(2923) + QString::number(byte) +
               QStringLiteral(")");
    };
    // Per exchange-area position: the slave ID and output byte that use it.
    std::vector<std::pair<int, int>> used(size_t(std::max(max_byte_out, 0)), {-1, -1});
    for (const TSlave_DN& slave : slaves)
        for (int i = 0; i < slave.SL_ByteOUT.size(); ++i) {
            if (auto fault = outside(slave.SL_ByteOUT.at(i), max_byte_out, QStringLiteral("OUT"), slave, i))
                return fault;
            const int64_t v = shell::Setup_Number(slave.SL_ByteOUT.at(i));
            if (v < 0)
                continue;
            auto& entry = used[size_t(v)];
            if (entry.first >= 0)
                return Lang(2921) + line_break + QStringLiteral("( ") + Lang(2922) + QString::number(entry.first) +
                       Lang(2923) + QString::number(entry.second) + Lang(2924) + QString::number(slave.ID) +
                       Lang(2925) + QString::number(i) + QStringLiteral(")");
            entry = {slave.ID, i};
        }
    for (const TSlave_DN& slave : slaves)
        for (int i = 0; i < slave.SL_ByteIN.size(); ++i)
            if (auto fault = outside(slave.SL_ByteIN.at(i), max_byte_in, QStringLiteral("IN"), slave, i))
                return fault;
    return std::nullopt;
}

void Save_Offset_Slave_DN(const QString& path, const std::vector<TSlave_DN>& slaves)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(QStringLiteral("Define_Offset"));
    doc.AddComment(QStringLiteral("SW_VERSION = 1.000"));
    auto add_rows = [](platform::XmlNode list, const QStringList& offsets, const QStringList& mnemonics) {
        for (int i = 0; i < offsets.size(); ++i) {
            platform::XmlNode row = list.AddChild(QStringLiteral("row"));
            row.SetAttribute(QStringLiteral("Offset"), offsets.at(i));
            row.SetAttribute(QStringLiteral("Mnemonic"), mnemonics.value(i));
        }
    };
    for (const TSlave_DN& slave : slaves) {
        platform::XmlNode node = root.AddChild(QStringLiteral("Nodo_DNET"));
        add_rows(node.AddChild(QStringLiteral("ByteIN")), slave.SL_ByteIN, slave.SL_ByteIN_M);
        add_rows(node.AddChild(QStringLiteral("ByteOUT")), slave.SL_ByteOUT, slave.SL_ByteOUT_M);
    }
    doc.SaveToFile(path, platform::XmlDocument::Layout::Flat);
}

}  // namespace fieldbus
