#include "protocols/building/UImportEDEFile.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "protocols/building/UBACnet_Common.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <algorithm>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;
using shell::Lang;

namespace building::bacnet {

namespace {

constexpr int Listed_Types[] = {0, 1, 2, 3, 4, 5, 13, 14, 19, 21, 22, 23, 45, 46, 48};

bool Is_Header(const QString& line)
{
    const QString text = line.trimmed();
    return text.startsWith(QLatin1Char('#')) && text.mid(1).trimmed().startsWith(QLatin1String("mandatory"));
}

// Takes the next field: the text up to the next ';'. Where no ';' is left the field is empty and
// the rest stays for the fields after it.
QString Next_Field(QString& rest)
{
    const qsizetype semi = rest.indexOf(QLatin1Char(';'));
    if (semi < 0)
        return {};
    const QString field = rest.left(semi).trimmed();
    rest = rest.mid(semi + 1).trimmed();
    return field;
}

qint64 Number(const QString& text) { return platform::Parse_Integer(text).value_or(-1); }

}  // namespace

QString Decode_EDE_Bytes(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return decoder(bytes.sliced(2));
    }
    return From_Windows_1252(bytes);
}

EDE_Load Parse_EDE_Text(const QString& text)
{
    EDE_Load load;
    // Lines end at CR, LF or CR LF.
    QStringList lines;
    qsizetype from = 0;
    for (qsizetype i = 0; !text.isEmpty() && i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(from, i - from));
        if (i + 1 < text.size() && text[i] == QLatin1Char('\r') && text[i + 1] == QLatin1Char('\n'))
            ++i;
        from = i + 1;
    }
    if (!text.isEmpty() && (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))))
        lines.removeLast();

    if (lines.size() < 7) {
        load.Problems.append(QStringLiteral("The file has %1 lines; an EDE file has at least seven (its header lines). "
                                            "Nothing is listed.")
                                 .arg(lines.size()));
        return load;
    }
    qsizetype start = -1;
    if (Is_Header(lines[6])) {
        start = 8;
    } else {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (Is_Header(lines[i]))
                start = i + 2;
    }
    if (start < 0) {
        load.Problems.append(QStringLiteral("The file has no \"# mandatory\" header line, so its object lines cannot be "
                                            "found. Nothing is listed."));
        return load;
    }

    int tooLong = 0, badType = 0, badInstance = 0, beyond = 0;
    int firstTooLong = 0, firstBadType = 0, firstBadInstance = 0;
    for (qsizetype i = start; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.size() > Max_EDE_Line_Chars) {
            if (!tooLong++)
                firstTooLong = int(i + 1);
            continue;
        }
        QString rest = line.trimmed();
        if (rest.isEmpty())
            continue;
        TBACnet_Var var;
        var.keyname = Next_Field(rest);
        var.device_obj_instance = Number(Next_Field(rest));
        var.object_name = Next_Field(rest);
        const qint64 type = Number(Next_Field(rest));
        var.object_type = type >= 0 && type <= 1023 ? int(type) : -1;
        var.object_instance = Number(Next_Field(rest));
        var.description = Next_Field(rest);
        var.present_value_default = Next_Field(rest);
        var.min_present_value = Next_Field(rest);
        var.max_present_value = Next_Field(rest);
        var.commandable = Next_Field(rest).toUpper() == QLatin1String("Y");
        var.support_COV = Next_Field(rest).toUpper() == QLatin1String("Y");
        var.hi_limit = Next_Field(rest);
        var.low_limit = Next_Field(rest);
        var.stete_text_reference = Next_Field(rest);
        var.unit_code = Next_Field(rest);
        if (rest.endsWith(QLatin1Char(';')))
            rest.chop(1);
        var.vendor_specific_address = rest.trimmed();
        if (var.object_type < 0) {
            if (!badType++)
                firstBadType = int(i + 1);
            continue;
        }
        if (std::find(std::begin(Listed_Types), std::end(Listed_Types), var.object_type) == std::end(Listed_Types))
            continue;
        if (var.object_instance < 0 || var.object_instance > 4294967295LL) {
            if (!badInstance++)
                firstBadInstance = int(i + 1);
            continue;
        }
        if (int(load.Vars.size()) >= Max_EDE_Objects) {
            ++beyond;
            continue;
        }
        var.write = var.commandable;
        load.Vars.push_back(std::move(var));
    }
    if (tooLong)
        load.Problems.append(QStringLiteral("%1 line(s) longer than %2 characters, the first at line %3, are not listed.")
                                 .arg(tooLong)
                                 .arg(Max_EDE_Line_Chars)
                                 .arg(firstTooLong));
    if (badType)
        load.Problems.append(QStringLiteral("%1 line(s) without an object-type number, the first at line %2, are not listed.")
                                 .arg(badType)
                                 .arg(firstBadType));
    if (badInstance)
        load.Problems.append(
            QStringLiteral("%1 line(s) without an object instance 0 .. 4294967295, the first at line %2, are not listed.")
                .arg(badInstance)
                .arg(firstBadInstance));
    if (beyond)
        load.Problems.append(QStringLiteral("The file holds %1 more objects than the %2 that can be listed; they are not listed.")
                                 .arg(beyond)
                                 .arg(Max_EDE_Objects));
    return load;
}

EDE_Load Load_EDE(const QString& path)
{
    QByteArray bytes;
    try {
        bytes = platform::ReadWholeFile(path, Max_EDE_File_Bytes);
    } catch (const platform::Exception& e) {
        EDE_Load load;
        load.Problems.append(e.message() + QStringLiteral(" Nothing is listed."));
        return load;
    }
    return Parse_EDE_Text(Decode_EDE_Bytes(bytes));
}

}  // namespace building::bacnet

namespace {

enum : int { C_N, C_Import, C_Read, C_Write, C_Name, C_Type, C_Instance, C_Description, C_Commandable, C_Count };
constexpr int Grid_Rows = 512;

QString YN(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }

}  // namespace

TFImportEDEFile* FImportEDEFile() { return shell::Window<TFImportEDEFile>(); }

TFImportEDEFile::TFImportEDEFile(const grid::TGridLayers& gridLayers, QWidget* parent) : platform::TForm(parent)
{
    constexpr int width = 863;
    setObjectName(QStringLiteral("FImportEDEFile"));
    shell::Style_Window(this);
    P_Title = shell::Make_Step_Title(this, width, L_SW_Code, L_SW_Desc);

    ACG = new grid::TExtColumnGrid;
    ACG->setObjectName(QStringLiteral("ACG"));
    ACG->SetLayers(gridLayers);
    ACG->EnableHTML = false;
    ACG->SetColCount(C_Count);
    ACG->SetRowCount(Grid_Rows + 1);
    ACG->SetFixedRows(1);
    ACG->SetFixedCols(1);
    ACG->SetRowHeights(0, 22);
    ACG->Options |= grid::goEditing | grid::goColSizing;
    const int widths[C_Count] = {40, 60, 60, 60, 200, 90, 90, 250, 95};
    for (int c = 0; c < C_Count; ++c) {
        grid::TGridColumnItem* item = ACG->Columns()[c];
        if (c == C_N)
            item->SetFixed(true);
        if (c == C_Import || c == C_Read || c == C_Write || c == C_Commandable) {
            item->SetEditor(grid::edDataCheckBox);
            item->SetAlignment(grid::taCenter);
        }
        if (c >= C_Name)
            item->ReadOnly = true;
        ACG->SetColWidths(c, widths[c]);
    }
    ACG->OnCheckBoxClick = [this](grid::TExtStringGrid*, int col, int row, bool state) {
        platform::Guarded([&] { ACGCheckBoxClick(ACG->RealColIndex(col), row, state); });
    };

    P_ID_IP = new QWidget(this);
    P_ID_IP->setObjectName(QStringLiteral("P_ID_IP"));
    P_ID_IP->setFixedHeight(34);
    LID_IP = new QLabel(P_ID_IP);
    LID_IP->setObjectName(QStringLiteral("LID_IP"));
    LID_IP->setGeometry(16, 8, 300, 18);
    E_ID_IP = new QLineEdit(P_ID_IP);
    E_ID_IP->setObjectName(QStringLiteral("E_ID_IP"));
    E_ID_IP->setGeometry(320, 5, 160, 24);

    P_Button = shell::Make_Button_Panel(this);
    Btn_OK = shell::Make_Panel_Button(P_Button, "Btn_OK", 0);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = shell::Make_Panel_Button(P_Button, "Btn_Cancel", 1);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Btn_Select_All = shell::Make_Panel_Button(P_Button, "Btn_Select_All", 2);
    Btn_Select_All->SetCaption(QStringLiteral("Select All"));
    Btn_Select_All->OnClick = [this] { platform::Guarded([this] { Btn_Select_AllClick(); }); };
    Btn_Unselect_All = shell::Make_Panel_Button(P_Button, "Btn_Unselect_All", 3);
    Btn_Unselect_All->SetCaption(QStringLiteral("Unselect All"));
    Btn_Unselect_All->OnClick = [this] { platform::Guarded([this] { Btn_Unselect_AllClick(); }); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(ACG, 1);
    layout->addWidget(P_ID_IP);
    layout->addWidget(P_Button);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(width, 337);
    Set_Lang();
    shell::Apply_Window_Look(this);
    SetEscapeCloses(false);
    shell::Set_OK_Glyph(Btn_OK);
}

void TFImportEDEFile::Set_Lang()
{
    SetCaption(Lang(4800));
    L_SW_Desc->setText(Lang(4801));
    Btn_OK->SetCaption(Lang(4802));
    Btn_Cancel->SetCaption(Lang(4803));
    for (int c = 0; c < C_Count; ++c) {
        ACG->Columns()[c]->SetHeaderField(Lang(4804 + c));
        ACG->SetCells(c, 0, Lang(4804 + c));
    }
    LID_IP->setText(Lang(4815));
}

void TFImportEDEFile::FormShow()
{
    ACG->CellsMoving();
    ACG->SetRowCount(Grid_Rows + 1);
    for (int r = 1; r <= Grid_Rows; ++r) {
        ACG->SetCells(C_N, r, QString::number(r));
        for (int c = 1; c < C_Count; ++c)
            ACG->SetCells(c, r, QString());
    }
    E_ID_IP->setFocus();
    Cancel_EDE_List_Vars();
    Load_EDE_File();
    Show_Data_in_Grid();
}

void TFImportEDEFile::Cancel_EDE_List_Vars() { List_EDE_Var.clear(); }

void TFImportEDEFile::Load_EDE_File()
{
    building::bacnet::EDE_Load load = building::bacnet::Load_EDE(EDE_File);
    List_EDE_Var = std::move(load.Vars);
    if (!load.Problems.isEmpty())
        MessageDlg(QStringLiteral("The EDE file \"%1\" was not listed whole (%2 objects are listed):\n")
                           .arg(EDE_File)
                           .arg(List_EDE_Var.size()) +
                       load.Problems.join(QLatin1Char('\n')),
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TFImportEDEFile::Show_Data_in_Grid()
{
    ACG->SetRowCount(std::max<int>(2, int(List_EDE_Var.size()) + 1));
    for (size_t i = 0; i < List_EDE_Var.size(); ++i) {
        const building::bacnet::TBACnet_Var& v = List_EDE_Var[i];
        const int r = int(i) + 1;
        ACG->SetCells(C_Import, r, YN(v.import));
        ACG->SetCells(C_Read, r, YN(v.read));
        ACG->SetCells(C_Write, r, YN(v.write));
        ACG->SetCells(C_Name, r, v.object_name);
        ACG->SetCells(C_Type, r, QString::number(v.object_type));
        ACG->SetCells(C_Instance, r, QString::number(v.object_instance));
        ACG->SetCells(C_Description, r, v.description);
        ACG->SetCells(C_Commandable, r, YN(v.commandable));
    }
    ACG->Invalidate();
}

void TFImportEDEFile::ACGCheckBoxClick(int col, int row, bool state)
{
    if (row < 1 || row > int(List_EDE_Var.size()))
        return;
    building::bacnet::TBACnet_Var& v = List_EDE_Var[size_t(row - 1)];
    if (col == C_Write && !v.commandable) {
        MessageDlg(Lang(4813) + QString::number(row) + Lang(4814), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        ACG->SetCells(C_Write, row, YN(false));
        return;
    }
    if (col == C_Import)
        v.import = state;
    else if (col == C_Read)
        v.read = state;
    else if (col == C_Write)
        v.write = state;
    else if (col == C_Commandable)
        ACG->SetCells(C_Commandable, row, YN(v.commandable));  // shows the file's value only
}

void TFImportEDEFile::Btn_Select_AllClick()
{
    for (size_t i = 0; i < List_EDE_Var.size(); ++i) {
        List_EDE_Var[i].import = true;
        ACG->SetCells(C_Import, int(i) + 1, YN(true));
    }
}

void TFImportEDEFile::Btn_Unselect_AllClick()
{
    for (size_t i = 0; i < List_EDE_Var.size(); ++i) {
        List_EDE_Var[i].import = false;
        ACG->SetCells(C_Import, int(i) + 1, YN(false));
    }
}

void TFImportEDEFile::Btn_OKClick()
{
    const QString address = E_ID_IP->text();
    if (App_BACnet_Type == 0) {
        uint8_t b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        if (address.trimmed().isEmpty() || shell::IP_Address_To_Bytes(address, b1, b2, b3, b4)) {
            MessageDlg(Lang(4816), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
            return;
        }
    } else if (App_BACnet_Type == 1) {
        const qint64 id = platform::Parse_Integer(address).value_or(-1);
        if (id < 0 || id > 254) {
            MessageDlg(Lang(4817), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
            return;
        }
    }
    SetModalResult(platform::mrOk);
}
