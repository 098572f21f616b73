#include "shell/USetupWindow.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "shell/UGridRows.h"
#include "shell/ULanguage.h"
#include "shell/UTableGrid.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowLook.h"

#include <QVBoxLayout>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace shell {

namespace {

constexpr int kShownProblems = 10;

}  // namespace

void Apply_Setup_Window_Texts(const Setup_Window_Description& description, const Project_File_Description& file,
                              const Setup_Window_Texts& window)
{
    window.Window->SetCaption(Lang(description.Caption));
    window.Description->setText(Lang(description.Description));
    for (size_t b = 0; b < window.Buttons.size() && b < description.Button_Captions.size(); ++b)
        if (window.Buttons[b])
            window.Buttons[b]->SetCaption(Lang(description.Button_Captions[b]));
    for (size_t b = 0; b < window.Buttons.size() && b < description.Button_Hints.size(); ++b)
        if (window.Buttons[b])
            window.Buttons[b]->SetHint(Lang(description.Button_Hints[b]));
    Q_ASSERT(window.Tables.size() == file.Tables.size() && window.Hints.size() == file.Tables.size());
    for (size_t t = 0; t < window.Tables.size(); ++t)
        Apply_Table_Texts(*window.Tables[t], file.Tables[t], *window.Hints[t]);
    if (window.Tabs)
        for (int t = 0; t < window.Tabs->count(); ++t)
            window.Tabs->setTabText(t, Lang(description.Tab_Captions.at(size_t(t))));
}

std::optional<QString> Check_Setup_Tables(const Setup_Window_Description& window,
                                          const std::vector<Table_Check_Input>& tables,
                                          const std::function<std::optional<QString>(int, const Checked_Row&)>& check_row)
{
    Table_Checks checks;
    checks.Row_Prefix = window.Row_Prefix;
    checks.Check_Row = check_row;
    if (!window.Ask_Rows_After_End)
        checks.Data_After_End = [&window](int table, int end) {
            return Key_Ends_Table_Message(window.File.Tables[size_t(table)], end);
        };
    return Check_Project_Tables(window.File, tables, checks);
}

std::optional<QString> Check_Setup_Tables(const Setup_Window_Description& window, const std::vector<Table_Rows>& tables,
                                          const std::function<std::optional<QString>(int, const Checked_Row&)>& check_row)
{
    std::vector<Table_Check_Input> input;
    for (const Table_Rows& rows : tables)
        input.push_back({rows, {}});
    return Check_Setup_Tables(window, input, check_row);
}

std::optional<Row_After_End> Find_Row_After_End(const Table_Description& table, const Table_Rows& rows)
{
    const size_t end = table.Content_End(rows);
    for (size_t r = end; r < rows.size(); ++r)
        if (table.Holds_Data(rows[r]))
            return Row_After_End{int(r + 1), int(end + 1)};
    return std::nullopt;
}

QString Row_After_End_Question(const Table_Description& table, const Row_After_End& found, const QString& tableName)
{
    const QString key = Lang(table.Columns[size_t(table.Key_Column)].Header);
    return QStringLiteral("%1Row %2 holds data, but the %3 of row %4 is empty: the table ends at row %4, so row %2 and "
                          "every row after row %4 will not be saved. Save anyway?")
        .arg(tableName.isEmpty() ? QString() : QStringLiteral("[%1] ").arg(tableName), QString::number(found.Row), key,
             QString::number(found.End));
}

QStringList Byte_Position_Items(int size, bool none)
{
    QStringList items;
    items.reserve(size + 1);
    if (none)
        items.append(QStringLiteral("None"));
    for (int i = 0; i < size; ++i)
        items.append(QString::number(i));
    return items;
}

bool Byte_Position_Valid(const QString& cell, int size)
{
    const QString text = Trim_Blanks(cell);
    if (text.isEmpty() || text == QLatin1String("None"))
        return true;
    const int64_t position = Setup_Number(text);
    return position >= 0 && position < size;
}

int64_t Area_Position(const QString& cell, int areaSize)
{
    const int64_t position = Setup_Number(Trim_Blanks(cell));
    return Outside(position, 0, areaSize - 1) ? -1 : position;
}

std::optional<QString> Area_Fit_Fault(const QString& tag, int64_t position, int64_t bytes, int areaSize)
{
    if (Outside(position, 0, areaSize - 1))
        return QStringLiteral("!! %1Position must be between 0 and %2").arg(tag).arg(areaSize - 1);
    if (position + bytes <= areaSize)
        return std::nullopt;
    return QStringLiteral("!! %1Position %2 with %3 bytes ends beyond the %4-byte exchange area (last position %5)")
        .arg(tag)
        .arg(position)
        .arg(bytes)
        .arg(areaSize)
        .arg(areaSize - 1);
}

TSetup_Window::TSetup_Window(const Setup_Window_Description& description, const grid::TGridLayers& gridLayers,
                             QWidget* parent)
    : platform::TForm(parent), FDescription(description), FFile(description.File)
{
    setObjectName(description.Name);
    Style_Window(this);
    const int width = description.Client_Width;

    P_Title = Make_Step_Title(this, width, L_SW_Code, L_SW_Desc);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);

    const size_t count = FFile.Tables.size();
    Q_ASSERT(count >= 1 && size_t(description.Grid_Names.size()) == count);
    const bool tabs = count > 1;
    if (tabs) {
        PageControl1 = new QTabWidget(this);
        PageControl1->setObjectName(QStringLiteral("PageControl1"));
        layout->addWidget(PageControl1, 1);
    }
    for (size_t t = 0; t < count; ++t) {
        auto* table = new grid::TExtColumnGrid;
        table->setObjectName(description.Grid_Names.at(int(t)));
        table->SetLayers(gridLayers);
        if (tabs) {
            auto* sheet = new QWidget;
            sheet->setObjectName(description.Tab_Names.value(int(t)));
            PageControl1->addTab(sheet, QString());
            auto* box = new QVBoxLayout(sheet);
            box->setContentsMargins(0, 0, 0, 0);
            table->setParent(sheet);
            box->addWidget(table);
            Tab_Sheets.push_back(sheet);
        } else {
            table->setParent(this);
            layout->addWidget(table, 1);
        }
        Build_Table_Grid(*table, FFile.Tables[t]);
        table->OnGridHint = [this](grid::TExtStringGrid* g, int r, int c, QString& hint) { GridHint(g, r, c, hint); };
        table->OnKeyPress = [this, table](QChar& key) { KeyPress(table, key); };
        table->OnDblClickCell = [this](grid::TExtStringGrid* g, int r, int c) {
            platform::Guarded([&] { DblClickCell(g, r, c); });
        };
        table->OnClickCell = [this](grid::TExtStringGrid* g, int r, int c) { ClickCell(g, r, c); };
        FTables.push_back(table);
    }
    FHints.assign(count, QStringList());
    FCopied.assign(count, false);

    P_Button = Make_Button_Panel(this);
    layout->addWidget(P_Button);
    int index = 0;
    auto button = [this, &index](const char* name, void (TSetup_Window::*click)()) {
        controls::TPicButton* b = Make_Panel_Button(P_Button, name, index++);
        if (click)
            b->OnClick = [this, click] { platform::Guarded([this, click] { (this->*click)(); }); };
        return b;
    };
    Btn_OK = button("Btn_OK", &TSetup_Window::Btn_OKClick);
    Btn_Cancel = button("Btn_Cancel", nullptr);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    if (description.Button_Captions.size() > 2) {
        Btn_DelRow = button("Btn_DelRow", &TSetup_Window::Btn_DelRowClick);
        Btn_InsRow = button("Btn_InsRow", &TSetup_Window::Btn_InsRowClick);
        Btn_CopyRow = button("Btn_CopyRow", &TSetup_Window::Btn_CopyRowClick);
        Btn_PasteRow = button("Btn_PasteRow", &TSetup_Window::Btn_PasteRowClick);
    }

    L_SW_Code->setText(App_State.SW_Code);
    SetClientSize(width, description.Client_Height);
    Set_Lang();
    Apply_Window_Look(this);
    // Escape, pressed to leave a cell or a list, must not throw the edits away: only Cancel does.
    SetEscapeCloses(false);
    Set_OK_Glyph(Btn_OK);
}

TSetup_Window::~TSetup_Window() = default;

void TSetup_Window::Set_Lang()
{
    Setup_Window_Texts texts;
    texts.Window = this;
    texts.Description = L_SW_Desc;
    texts.Buttons = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    texts.Tables = FTables;
    for (QStringList& hints : FHints)
        texts.Hints.push_back(&hints);
    texts.Tabs = PageControl1;
    Apply_Setup_Window_Texts(FDescription, FFile, texts);
}

QString TSetup_Window::File_Path() const { return App_State.*(FDescription.Path); }

int TSetup_Window::Active_Index() const { return PageControl1 ? std::max(0, PageControl1->currentIndex()) : 0; }

Table_Rows TSetup_Window::Rows(int t) const { return Table_Grid_Rows(*Table(t), FFile.Tables[size_t(t)]); }

void TSetup_Window::Load_File()
{
    FFile_Not_Read_Whole = false;
    Prepare_Show();
    for (size_t t = 0; t < FTables.size(); ++t)
        Clear_Table_Grid(*FTables[t], FFile.Tables[t]);
    if (PageControl1)
        PageControl1->setCurrentIndex(0);

    std::vector<Table_Rows> tables;
    QStringList problems;
    try {
        Read_Project_Tables(File_Path(), FFile, &tables, &problems);
    } catch (const platform::Exception& e) {
        problems.prepend(e.message());
    }
    for (size_t t = 0; t < FTables.size() && t < tables.size(); ++t)
        Fill_Table_Grid(*FTables[t], tables[t]);
    FCopied.assign(FTables.size(), false);
    if (FTables[0]->isVisible())
        FTables[0]->setFocus();

    if (!problems.isEmpty()) {
        FFile_Not_Read_Whole = true;
        QStringList lines = problems.mid(0, kShownProblems);
        if (problems.size() > kShownProblems)
            lines.append(QStringLiteral("... and %1 more.").arg(problems.size() - kShownProblems));
        MessageDlg(QStringLiteral("The file \"%1\" could not be read whole:\n").arg(File_Path()) +
                       lines.join(QLatin1Char('\n')) + QStringLiteral("\nThe window shows what could be read."),
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
}

bool TSetup_Window::Controllo_dati()
{
    std::vector<Table_Check_Input> input;
    for (size_t t = 0; t < FTables.size(); ++t)
        input.push_back({Rows(int(t)), Shown_Table_Columns(*FTables[t], FFile.Tables[t])});
    const std::optional<QString> fault = Check_Tables(input);
    if (fault)
        MessageDlg(*fault, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    return !fault;
}

void TSetup_Window::Btn_OKClick()
{
    // The value of an open editor belongs to the tables that are checked and written.
    Close_Editors();
    if (!Controllo_dati()) {
        Show_Fault();
        return;
    }
    if (FDescription.Ask_Rows_After_End && !Confirm_Rows_After_End(Rows_To_Write()))
        return;
    if (!Confirm_Write())
        return;
    if (const QStringList unread = Unread_Files(); !unread.isEmpty() && !Ask_Replace_Unread(unread))
        return;
    try {
        Write_Files(Rows_To_Write());
    } catch (const platform::Exception& e) {
        MessageDlg(e.message() + QStringLiteral("\nNothing was saved; the window stays open."), TMsgDlgType::mtError,
                   TMsgDlgButtons::mbOK);
        return;
    }
    FFile_Not_Read_Whole = false;
    Written();
    SetModalResult(platform::mrOk);
}

void TSetup_Window::Close_Editors()
{
    for (grid::TExtColumnGrid* table : FTables)
        table->CellsMoving();
}

QStringList TSetup_Window::Unread_Files() const
{
    return FFile_Not_Read_Whole ? QStringList{File_Path()} : QStringList{};
}

void TSetup_Window::Write_Files(const std::vector<Table_Rows>& tables) { Write_Project_Tables(File_Path(), FFile, tables); }

std::vector<Table_Rows> TSetup_Window::Rows_To_Write() const
{
    std::vector<Table_Rows> tables;
    for (int t = 0; t < Table_Count(); ++t)
        tables.push_back(Rows(t));
    return tables;
}

bool TSetup_Window::Confirm_Rows_After_End(const std::vector<Table_Rows>& tables) const
{
    for (size_t t = 0; t < FFile.Tables.size() && t < tables.size(); ++t) {
        const std::optional<Row_After_End> found = Find_Row_After_End(FFile.Tables[t], tables[t]);
        if (found && MessageDlg(Row_After_End_Question(FFile.Tables[t], *found, Table_Name(int(t))),
                                TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != platform::mrYes)
            return false;
    }
    return true;
}

QString TSetup_Window::Table_Name(int t) const
{
    if (!PageControl1 || size_t(t) >= Tab_Sheets.size())
        return {};
    return PageControl1->tabText(PageControl1->indexOf(Tab_Sheets[size_t(t)]));
}

bool TSetup_Window::Ask_Replace_Unread(const QStringList& paths)
{
    return MessageDlg(QStringLiteral("The file \"%1\" could not be read whole when this window opened. Saving replaces "
                                     "it with what the window shows now. Save anyway?")
                          .arg(paths.join(QStringLiteral("\" and the file \""))),
                      TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

void TSetup_Window::Btn_DelRowClick()
{
    grid::TExtColumnGrid* grid = Active_Table();
    const int row = grid->Row();
    if (MessageDlg(Lang(FDescription.Delete_Question) + QString::number(row), TMsgDlgType::mtConfirmation,
                   TMsgDlgButtons::mbYesNo) == platform::mrYes)
        Grid_Delete_Row(row, *grid);
}

void TSetup_Window::Btn_InsRowClick()
{
    grid::TExtColumnGrid* grid = Active_Table();
    Grid_Insert_Row(grid->Row(), *grid, FDescription.Insert_Enables);
}

void TSetup_Window::Btn_CopyRowClick()
{
    const int t = Active_Index();
    Grid_Copy_Row(*Table(t), Table(t)->Row());
    FCopied.assign(FTables.size(), false);
    FCopied[size_t(t)] = true;
}

void TSetup_Window::Btn_PasteRowClick()
{
    const int t = Active_Index();
    Grid_Paste_Row(*Table(t), Table(t)->Row(), FCopied[size_t(t)]);
}

void TSetup_Window::GridHint(grid::TExtStringGrid* Sender, int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    if (ARow != 0)
        return;
    for (size_t t = 0; t < FTables.size(); ++t) {
        if (FTables[t] != Sender)
            continue;
        const int c = Sender->RealColIndex(ACol);
        if (c >= 1 && c - 1 < FHints[t].size())
            hintstr = FHints[t].at(c - 1);
    }
}

void TSetup_Window::KeyPress(grid::TExtStringGrid* Sender, QChar& Key) { Grid_Enter_Next_Cell(*Sender, Key); }

void TSetup_Window::DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    Grid_DblClick_AutoSize(*Sender, ARow, ACol);
}

void TSetup_Window::ClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    if (!FDescription.Click_Selects_Row || ACol != 0 || ARow < Sender->FixedRows())
        return;
    Sender->SetSelection(grid::TGridRect{Sender->FixedCols(), ARow, Sender->ColCount() - 1, ARow});
}

}  // namespace shell
