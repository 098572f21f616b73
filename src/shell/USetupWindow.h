#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"
#include "shell/UComon.h"
#include "shell/UProjectTable.h"

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <array>
#include <optional>
#include <vector>

namespace controls {
class TPicButton;
}
namespace grid {
class TExtColumnGrid;
class TExtStringGrid;
}  // namespace grid

// The set-up table windows of the family's gateways share one shape: a title panel, one grid or
// one tab per table, a button panel with OK, Cancel and the row buttons, and one project file in
// the table layout. A window is its description plus what it does differently.
namespace shell {

// Everything of a set-up window that is data.
struct Setup_Window_Description {
    QString Name;  // the window's object name ("FReceiveCAN")
    int Client_Width = 0;
    int Client_Height = 0;
    Project_File_Description File;
    QString TApp_State::*Path = nullptr;  // the file's path in the application state
    QStringList Grid_Names;  // one per table ("ACG_CAN_Receive")
    QStringList Tab_Names;   // one per table where the tables stand on tabs ("TS_...")
    // Text-table indices.
    int Caption = 0;
    int Description = 0;
    std::vector<int> Button_Captions;  // OK, Cancel, then Delete, Insert, Copy and Paste Row where rows are edited
    std::vector<int> Button_Hints;     // in the same order
    std::vector<int> Tab_Captions;
    int Delete_Question = 0;  // followed by the row number
    int Row_Prefix = 0;       // "Error row ", before the row number of a fault
    bool Insert_Enables = false;    // Insert Row puts "Y" into column 1 of the new row
    bool Click_Selects_Row = true;  // a click in column 0 selects the row whole
    // Rows holding data below a table's end (its first row with an empty key) are not a check
    // fault: OK names the first of them in each such table and asks whether to save anyway.
    bool Ask_Rows_After_End = false;
};

// The controls of a window that take its description's texts; a control the window lacks is null.
struct Setup_Window_Texts {
    platform::TForm* Window = nullptr;
    QLabel* Description = nullptr;
    std::array<controls::TPicButton*, 6> Buttons{};  // OK, Cancel, Delete, Insert, Copy and Paste Row
    std::vector<grid::TExtColumnGrid*> Tables;       // one per table of the file
    std::vector<QStringList*> Hints;                 // each table's header hint list, rebuilt
    QTabWidget* Tabs = nullptr;
};

// Puts the description's texts in this order: the window caption, the description label, the
// button captions, the button hints, each table's column headers and hint list (from file, the
// layout the window uses now), the tab captions.
void Apply_Setup_Window_Texts(const Setup_Window_Description& description, const Project_File_Description& file,
                              const Setup_Window_Texts& window);

// The checks of a window: the first fault of its tables, as the message to show, or nothing. Rows
// below a table's content that hold data are a fault too (the file would end before them), unless
// the window asks about them at OK instead (Ask_Rows_After_End).
std::optional<QString> Check_Setup_Tables(const Setup_Window_Description& window,
                                          const std::vector<Table_Check_Input>& tables,
                                          const std::function<std::optional<QString>(int table, const Checked_Row&)>& check_row);
// The same for tables without hidden columns.
std::optional<QString> Check_Setup_Tables(const Setup_Window_Description& window, const std::vector<Table_Rows>& tables,
                                          const std::function<std::optional<QString>(int table, const Checked_Row&)>& check_row);

// The first row below a table's end that holds data (from 1) and the row whose key is empty there.
struct Row_After_End {
    int Row;
    int End;
};
// Nothing when no row below the table's end holds data.
std::optional<Row_After_End> Find_Row_After_End(const Table_Description& table, const Table_Rows& rows);
// The question OK asks about such a row; tableName (its tab's caption) stands first when given.
QString Row_After_End_Question(const Table_Description& table, const Row_After_End& found, const QString& tableName);

// "None", then "0" .. size-1: the drop-down items of a byte-position column.
QStringList Byte_Position_Items(int size, bool none = true);
// A byte-position cell passes when it is empty, "None" or a position 0 .. size-1 (trimmed).
bool Byte_Position_Valid(const QString& cell, int size);
// A position cell (trimmed, the tables' number rule) that is 0 .. areaSize-1; else -1.
int64_t Area_Position(const QString& cell, int areaSize);
// The fault, after the row prefix, of bytes bytes from position on in an area of areaSize bytes: a
// position outside the area, or bytes that run past its end; nothing when they fit. tag stands
// before the text ("[SNMP Read] ").
std::optional<QString> Area_Fit_Fault(const QString& tag, int64_t position, int64_t bytes, int areaSize);

class TSetup_Window : public platform::TForm {
    Q_OBJECT
public:
    TSetup_Window(const Setup_Window_Description& description, const grid::TGridLayers& gridLayers,
                  QWidget* parent = nullptr);
    ~TSetup_Window() override;

    void Set_Lang() override;
    // Clears every table, prepares the show (Prepare_Show) and fills the tables from the file. A file
    // that could not be read whole is reported, and the next OK asks before replacing it.
    void Load_File();
    // True when every table may be written; else shows the first fault.
    bool Controllo_dati();
    // Checks, writes the file and closes with OK; a failed write is reported and the window stays open.
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void GridHint(grid::TExtStringGrid* Sender, int ARow, int ACol, QString& hintstr);
    void KeyPress(grid::TExtStringGrid* Sender, QChar& Key);
    virtual void DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol);
    void ClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol);

    int Table_Count() const { return int(FTables.size()); }
    grid::TExtColumnGrid* Table(int t) const { return FTables[size_t(t)]; }
    // The table of the active tab, or the only table.
    int Active_Index() const;
    grid::TExtColumnGrid* Active_Table() const { return Table(Active_Index()); }
    // Rows 1 .. capacity of a table as full texts, every real column.
    Table_Rows Rows(int t) const;
    // The file as the window handles it now (a window may size its tables at a show).
    const Project_File_Description& File() const { return FFile; }
    const Setup_Window_Description& Description() const { return FDescription; }
    QString File_Path() const;
    // The hint list of a table: entry i is data column i+1's header hint.
    const QStringList& Hints(int t) const { return FHints[size_t(t)]; }
    // A row of the table was copied since the window was last shown.
    bool Copied(int t) const { return FCopied[size_t(t)]; }
    // The file was not read whole at the last show.
    bool File_Not_Read_Whole() const { return FFile_Not_Read_Whole; }

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QTabWidget* PageControl1 = nullptr;  // only where the tables stand on tabs
    std::vector<QWidget*> Tab_Sheets;
    QWidget* P_Button;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
    controls::TPicButton* Btn_DelRow = nullptr;  // the row buttons, where rows are edited
    controls::TPicButton* Btn_InsRow = nullptr;
    controls::TPicButton* Btn_CopyRow = nullptr;
    controls::TPicButton* Btn_PasteRow = nullptr;

protected:
    void FormShow() override { Load_File(); }
    // Before the tables are cleared at a show: size fields, list items, table capacities.
    virtual void Prepare_Show() {}
    // The window's checks over its tables (Check_Setup_Tables with its row checks).
    virtual std::optional<QString> Check_Tables(const std::vector<Table_Check_Input>& tables) const = 0;
    // After a fault was shown: makes it reachable (a hidden tab shown, say).
    virtual void Show_Fault() {}
    // After the checks passed, before writing: false keeps the window open unsaved.
    virtual bool Confirm_Write() { return true; }
    // The tables as the file stores them (a window that shows stored values otherwise).
    virtual std::vector<Table_Rows> Rows_To_Write() const;
    // Closes the open editors of the window's grids, so that their values are checked and written.
    virtual void Close_Editors();
    // The files OK would replace that could not be read whole.
    virtual QStringList Unread_Files() const;
    // Writes the window's files; an exception leaves every file as it was.
    virtual void Write_Files(const std::vector<Table_Rows>& tables);
    // After the files were written, before the window closes.
    virtual void Written() {}
    // For each table of the file with data below its end, in order, asks whether to save anyway;
    // true when nothing was asked or every answer was Yes. OK asks this where the description says so.
    bool Confirm_Rows_After_End(const std::vector<Table_Rows>& tables) const;
    // The caption of the tab that holds a table; empty where the tables stand on no tabs.
    QString Table_Name(int t) const;
    // Asks before files that could not be read whole are replaced; true on Yes.
    static bool Ask_Replace_Unread(const QStringList& paths);
    // The file's description, for a window that changes a table's capacity at a show.
    Project_File_Description& Edit_File() { return FFile; }

private:
    Setup_Window_Description FDescription;
    Project_File_Description FFile;
    std::vector<grid::TExtColumnGrid*> FTables;
    std::vector<QStringList> FHints;
    std::vector<bool> FCopied;
    bool FFile_Not_Read_Whole = false;
};

}  // namespace shell
