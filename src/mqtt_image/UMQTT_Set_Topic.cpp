#include "mqtt_image/UMQTT_Set_Topic.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "mqtt_image/UTopicTemplate.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "shell/UComon.h"
#include "shell/UGridRows.h"
#include "shell/UTableGrid.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QVBoxLayout>

using mqtt_image::TTopic_Side;
using mqtt_image::Topic_Publish;
using mqtt_image::Topic_Subscribe;
using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

TFMQTT_Set_Topic* FMQTT_Set_Topic() { return shell::Window<TFMQTT_Set_Topic>(); }

namespace {

constexpr int kButtonsHeight = 40;

const shell::Setup_Window_Description& Window_Description() { return mqtt_image::MQTT_Set_Topic_Window_Description(); }

QString File_Path() { return shell::App_State.*(Window_Description().Path); }

const shell::Table_Description& Description_Of(TTopic_Side side)
{
    return mqtt_image::MQTT_Set_Topic_Description().Tables[size_t(side)];
}

}  // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(const grid::TGridLayers& gridLayers, QWidget* parent) : platform::TForm(parent)
{
    const shell::Setup_Window_Description& description = Window_Description();
    setObjectName(description.Name);
    shell::Style_Window(this);

    P_Title = shell::Make_Step_Title(this, description.Client_Width, L_SW_Code, L_SW_Desc);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TS_MQTT_Publish = new QWidget;
    TS_MQTT_Publish->setObjectName(description.Tab_Names.at(Topic_Publish));
    TS_MQTT_Subscribe = new QWidget;
    TS_MQTT_Subscribe->setObjectName(description.Tab_Names.at(Topic_Subscribe));
    PageControl1->addTab(TS_MQTT_Publish, QString());
    PageControl1->addTab(TS_MQTT_Subscribe, QString());
    ACG_Pub = new grid::TExtColumnGrid;
    ACG_Pub->setObjectName(description.Grid_Names.at(Topic_Publish));
    ACG_Sub = new grid::TExtColumnGrid;
    ACG_Sub->setObjectName(description.Grid_Names.at(Topic_Subscribe));
    ACG_Pub->SetLayers(gridLayers);
    ACG_Sub->SetLayers(gridLayers);
    for (auto [sheet, table] : {std::pair{TS_MQTT_Publish, ACG_Pub}, std::pair{TS_MQTT_Subscribe, ACG_Sub}}) {
        auto* box = new QVBoxLayout(sheet);
        box->setContentsMargins(0, 0, 0, 0);
        table->setParent(sheet);
        box->addWidget(table);
    }
    Build_Table(ACG_Pub, Topic_Publish);
    Build_Table(ACG_Sub, Topic_Subscribe);

    P_Buttons = new QWidget(this);
    P_Buttons->setObjectName(QStringLiteral("P_Buttons"));
    P_Buttons->setFixedHeight(kButtonsHeight);
    auto button = [this](const char* name, int index) {
        auto* b = new controls::TPicButton(P_Buttons);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(8 + index * 118, 6, 110, 28);
        return b;
    };
    Btn_OK = button("Btn_OK", 0);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = button("Btn_Cancel", 1);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Btn_DelRow = button("Btn_DelRow", 2);
    Btn_DelRow->OnClick = [this] { platform::Guarded([this] { Btn_DelRowClick(); }); };
    Btn_InsRow = button("Btn_InsRow", 3);
    Btn_InsRow->OnClick = [this] { platform::Guarded([this] { Btn_InsRowClick(); }); };
    Btn_CopyRow = button("Btn_CopyRow", 4);
    Btn_CopyRow->OnClick = [this] { platform::Guarded([this] { Btn_CopyRowClick(); }); };
    Btn_PasteRow = button("Btn_PasteRow", 5);
    Btn_PasteRow->OnClick = [this] { platform::Guarded([this] { Btn_PasteRowClick(); }); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(P_Buttons);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(description.Client_Width, description.Client_Height);
    Set_Lang();
    shell::Apply_Window_Look(this);
    // Escape, pressed to leave a cell or a list, must not throw away what the user typed here:
    // only Cancel does.
    SetEscapeCloses(false);
    shell::Set_OK_Glyph(Btn_OK);
}

TFMQTT_Set_Topic::~TFMQTT_Set_Topic() = default;

void TFMQTT_Set_Topic::Build_Table(grid::TExtColumnGrid* grid, TTopic_Side side)
{
    shell::Build_Table_Grid(*grid, Description_Of(side));
    grid->OnDblClickCell = [this](grid::TExtStringGrid* g, int r, int c) {
        platform::Guarded([&] { ACG_MQTT_DblClickCell(g, r, c); });
    };
    grid->OnGridHint = [this](grid::TExtStringGrid* g, int r, int c, QString& hint) { ACG_MQTT_GridHint(g, r, c, hint); };
    grid->OnKeyPress = [this, grid](QChar& key) { ACG_MQTT_KeyPress(grid, key); };
}

void TFMQTT_Set_Topic::Set_Lang()
{
    shell::Setup_Window_Texts texts;
    texts.Window = this;
    texts.Description = L_SW_Desc;
    texts.Buttons = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    texts.Tables = {ACG_Pub, ACG_Sub};
    texts.Hints = {&Hint_MQTT_Set_Topic_Pub, &Hint_MQTT_Set_Topic_Sub};
    texts.Tabs = PageControl1;
    shell::Apply_Setup_Window_Texts(Window_Description(), mqtt_image::MQTT_Set_Topic_Description(), texts);
}

grid::TExtColumnGrid* TFMQTT_Set_Topic::Table(TTopic_Side side) const
{
    return side == Topic_Publish ? ACG_Pub : ACG_Sub;
}

grid::TExtColumnGrid* TFMQTT_Set_Topic::Active_Table() const
{
    return PageControl1->currentWidget() == TS_MQTT_Publish ? ACG_Pub : ACG_Sub;
}

mqtt_image::TTopic_Rows TFMQTT_Set_Topic::Rows(TTopic_Side side) const
{
    return shell::Table_Grid_Rows(*Table(side), Description_Of(side));
}

void TFMQTT_Set_Topic::Prepare_Tables()
{
    for (TTopic_Side side : {Topic_Publish, Topic_Subscribe}) {
        shell::Clear_Table_Grid(*Table(side), Description_Of(side));
    }
    PageControl1->setTabVisible(1, true);
    PageControl1->setCurrentWidget(TS_MQTT_Publish);
}

void TFMQTT_Set_Topic::Load_File()
{
    Working_Mode = 1;
    Byte_IN = mqtt_image::MQTT_Array_Size;
    Byte_OUT = mqtt_image::MQTT_Array_Size;
    Prepare_Tables();
    FFile_Not_Read_Whole = false;

    mqtt_image::TTopic_Tables tables;
    QStringList problems;
    QString error;
    try {
        mqtt_image::Read_Topic_File(File_Path(), &tables, &problems);
    } catch (const platform::Exception& e) {
        error = e.message();
    }
    for (TTopic_Side side : {Topic_Publish, Topic_Subscribe})
        shell::Fill_Table_Grid(*Table(side), tables[size_t(side)]);
    Do_Copy_Pub = false;
    Do_Copy_Sub = false;

    if (!error.isEmpty())
        problems.prepend(error);
    if (!problems.isEmpty()) {
        FFile_Not_Read_Whole = true;
        constexpr int kShown = 10;
        QStringList lines = problems.mid(0, kShown);
        if (problems.size() > kShown)
            lines.append(QStringLiteral("... and %1 more.").arg(problems.size() - kShown));
        MessageDlg(QStringLiteral("The file \"%1\" could not be read whole:\n").arg(File_Path()) +
                       lines.join(QLatin1Char('\n')) +
                       QStringLiteral("\nThe tables show what could be read."),
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
}

void TFMQTT_Set_Topic::FormShow() { Load_File(); }

bool TFMQTT_Set_Topic::Controllo_dati()
{
    mqtt_image::TTopic_Check_Input input;
    for (TTopic_Side side : {Topic_Publish, Topic_Subscribe}) {
        input.Tables[size_t(side)] = Rows(side);
        input.Shown[size_t(side)] = shell::Shown_Table_Columns(*Table(side), Description_Of(side));
    }
    input.Byte_IN = Byte_IN;
    input.Byte_OUT = Byte_OUT;
    const std::optional<QString> fault = mqtt_image::Check_Topic_Tables(input);
    if (fault)
        MessageDlg(*fault, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    return !fault;
}

void TFMQTT_Set_Topic::Btn_OKClick()
{
    // The value of an open editor belongs to the tables that are checked and written.
    ACG_Pub->CellsMoving();
    ACG_Sub->CellsMoving();
    if (!Controllo_dati())
        return;
    if (FFile_Not_Read_Whole &&
        MessageDlg(QStringLiteral("The file \"%1\" could not be read whole when this window opened. Saving replaces "
                                  "it with the tables as they are now. Save anyway?")
                       .arg(File_Path()),
                   TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    mqtt_image::Write_Topic_File(File_Path(), {Rows(Topic_Publish), Rows(Topic_Subscribe)});
    FFile_Not_Read_Whole = false;
    SetModalResult(platform::mrOk);
}

void TFMQTT_Set_Topic::Btn_DelRowClick()
{
    grid::TExtColumnGrid* grid = Active_Table();
    const int row = grid->Row();
    if (MessageDlg(shell::Lang(Window_Description().Delete_Question) + QString::number(row), TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) ==
        platform::mrYes)
        shell::Grid_Delete_Row(row, *grid);
}

void TFMQTT_Set_Topic::Btn_InsRowClick() { shell::Grid_Insert_Row(Active_Table()->Row(), *Active_Table(), false); }

void TFMQTT_Set_Topic::Btn_CopyRowClick()
{
    grid::TExtColumnGrid* grid = Active_Table();
    shell::Grid_Copy_Row(*grid, grid->Row());
    Do_Copy_Pub = grid == ACG_Pub;
    Do_Copy_Sub = grid == ACG_Sub;
}

void TFMQTT_Set_Topic::Btn_PasteRowClick()
{
    grid::TExtColumnGrid* grid = Active_Table();
    shell::Grid_Paste_Row(*grid, grid->Row(), grid == ACG_Pub ? Do_Copy_Pub : Do_Copy_Sub);
}

void TFMQTT_Set_Topic::ACG_MQTT_DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    shell::Grid_DblClick_AutoSize(*Sender, ARow, ACol);
    auto* grid = static_cast<grid::TExtColumnGrid*>(Sender);
    const int c = grid->RealCol();
    const int r = grid->RealRow();
    if (r < 1)
        return;
    if ((grid == ACG_Pub && c == mqtt_image::pub::Template) || (grid == ACG_Sub && c == mqtt_image::sub::Template))
        Show_Form_Topic(grid, r, c);
}

void TFMQTT_Set_Topic::Show_Form_Topic(grid::TExtColumnGrid* Sender, int ARow, int ACol)
{
    const TTopic_Side side = Sender == ACG_Pub ? Topic_Publish : Topic_Subscribe;
    TFTopicTemplate* editor = FTopicTemplate();
    editor->TopicTemplate = ACol == mqtt_image::Template_Column(side) ? 1 : 0;
    editor->Working_Mode = Working_Mode;
    editor->Pub_Sub = side == Topic_Publish ? 0 : 1;
    Edit_Cell_In_Topic_Editor(editor, *Sender, ACol, ARow);
}

void TFMQTT_Set_Topic::ACG_MQTT_GridHint(grid::TExtStringGrid* Sender, int ARow, int ACol, QString& hintstr)
{
    if (ARow != 0)
        return;
    const int c = Sender->RealColIndex(ACol);
    const QStringList& hints = Sender == ACG_Pub ? Hint_MQTT_Set_Topic_Pub : Hint_MQTT_Set_Topic_Sub;
    if (c > 0 && c - 1 < hints.size())
        hintstr = hints.at(c - 1);
}

void TFMQTT_Set_Topic::ACG_MQTT_KeyPress(grid::TExtStringGrid* Sender, QChar& Key)
{
    shell::Grid_Enter_Next_Cell(*Sender, Key);
}
