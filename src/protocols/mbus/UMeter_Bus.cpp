#include "protocols/mbus/UMeter_Bus.h"

#include "controls/buttons_pages/ExtPageControl.h"
#include "controls/buttons_pages/PicButton.h"
#include "controls/tree/StringTree.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"
#include "protocols/mbus/UNewIDNode.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;
using shell::Lang;
using tree::PTreeNode;

TFMeter_Bus* FMeter_Bus() { return shell::Window<TFMeter_Bus>(); }

namespace {

constexpr int kClientWidth = 834;
constexpr int kClientHeight = 662;
constexpr int kTitleHeight = 69;
constexpr int kButtonsHeight = 40;
constexpr int kTreeWidth = 392;

// A number typed in an edit: decimal, or hexadecimal after "$" or "0x"; anything else is -1.
qint64 Edit_Number(const QLineEdit* edit) { return Typed_Number(edit->text()); }

// An ID edit stored into a node: a text that is no 32-bit number keeps the default 1.
int Stored_ID(const QLineEdit* edit)
{
    const qint64 n = Edit_Number(edit);
    return n >= 0 && n <= INT32_MAX ? int(n) : 1;
}

bool Editor_Error(int text)
{
    MessageDlg(Lang(text), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    return false;
}

bool Confirmed(const QString& text)
{
    return MessageDlg(text, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

template <typename T>
T* Make(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QComboBox* Make_Combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = Make<QComboBox>(parent, name);
    c->addItems(items);
    c->setMaxVisibleItems(16);
    return c;
}

// A row of the pages: a label at x = 8 and its field at x = 128.
void Place_Row(QWidget* label, QWidget* field, int y, int width = 230)
{
    if (label)
        label->setGeometry(8, y + 3, 118, 18);
    if (field)
        field->setGeometry(128, y, width, 21);
}

// The drop-down list is widened to its widest item when the combo box is narrower.
void Select_Width_ComboBox(QComboBox* combo, int extra)
{
    const QFontMetrics fm(combo->font());
    int w = 0;
    for (int i = 0; i < combo->count(); ++i)
        w = std::max(w, fm.horizontalAdvance(combo->itemText(i)));
    w += 12 + extra;
    const int bar = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (combo->width() - bar >= w)
        return;
    if (combo->count() > combo->maxVisibleItems())
        w += bar;
    combo->view()->setMinimumWidth(w);
}

QString Node_Text(const TNodo& n)
{
    if (n.MBus_Type == 0)
        return QStringLiteral("wM-Bus Node - Address ") + n.wMBus_Add + QStringLiteral(" - ") + n.Description;
    return QStringLiteral("ID ") + QString::number(n.Own_ID()) + QStringLiteral(" - ") + n.Description;
}

}  // namespace

TFMeter_Bus::TFMeter_Bus(QWidget* parent) : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FMeter_Bus"));
    shell::Style_Window(this);
    P_Title = shell::Make_Step_Title(this, kClientWidth, L_SW_Code, L_SW_Desc);
    P_Title->setGeometry(0, 0, kClientWidth, kTitleHeight);

    TW = new tree::TNodeStringTree(this);
    TW->setObjectName(QStringLiteral("TW"));
    TW->setGeometry(4, kTitleHeight + 4, kTreeWidth, kClientHeight - kTitleHeight - kButtonsHeight - 8);
    auto& options = TW->TreeOptions();
    // No text edited in place; the structure follows the lists (a read-only tree would refuse that too).
    options.SetMiscOptions(options.MiscOptions() & ~(tree::toEditable | tree::toEditOnClick | tree::toEditOnDblClick));
    options.SetSelectionOptions(options.SelectionOptions() | tree::toFullRowSelect | tree::toRightClickSelect);
    TW->OnGetText = [this](tree::TBaseNodeTree*, PTreeNode node, tree::TColumnIndex, tree::TVSTTextType type,
                           QString& text) {
        if (type == tree::ttNormal)
            text = Item_Text(node);
    };
    TW->OnChange = [this](tree::TBaseNodeTree*, PTreeNode) { platform::Guarded([this] { TWClick(); }); };

    PM_CopyPaste = new QMenu(this);
    PM_CopyPaste->setObjectName(QStringLiteral("PM_CopyPaste"));
    auto action = [this](const char* name, void (TFMeter_Bus::*handler)()) {
        QAction* a = PM_CopyPaste->addAction(QString());
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, handler] { platform::Guarded([this, handler] { (this->*handler)(); }); });
        return a;
    };
    CopyVariable1 = action("CopyVariable1", &TFMeter_Bus::CopyVariable1Click);
    PasteVariable1 = action("PasteVariable1", &TFMeter_Bus::PasteVariable1Click);
    PM_CopyPaste->addSeparator();
    CopyNode1 = action("CopyNode1", &TFMeter_Bus::CopyNode1Click);
    PasteNode1 = action("PasteNode1", &TFMeter_Bus::PasteNode1Click);
    PM_CopyPaste->addSeparator();
    DeleteItems1 = action("DeleteItems1", &TFMeter_Bus::btn_Delete_ItemClick);
    PasteVariable1->setEnabled(false);
    PasteNode1->setEnabled(false);
    TW->OnGetPopupMenu = [this](tree::TBaseNodeTree*, PTreeNode, tree::TColumnIndex, QPoint, bool& askParent,
                                QMenu*& menu) {
        askParent = false;
        menu = PM_CopyPaste;
    };

    ExtPageControl1 = new controls::TExtPageControl(this);
    ExtPageControl1->setObjectName(QStringLiteral("ExtPageControl1"));
    ExtPageControl1->SetTabPosition(controls::tpLeft);
    ExtPageControl1->setGeometry(kTreeWidth + 8, kTitleHeight + 4, kClientWidth - kTreeWidth - 12,
                                 kClientHeight - kTitleHeight - kButtonsHeight - 8);
    ExtTabSheet1 = new controls::TExtTabSheet;
    ExtTabSheet1->setObjectName(QStringLiteral("ExtTabSheet1"));
    ExtTabSheet1->SetExtPageControl(ExtPageControl1);
    ExtTabSheet2 = new controls::TExtTabSheet;
    ExtTabSheet2->setObjectName(QStringLiteral("ExtTabSheet2"));
    ExtTabSheet2->SetExtPageControl(ExtPageControl1);
    Build_Nodes_Page();
    Build_Variables_Page();

    P_Button = shell::Make_Button_Panel(this);
    P_Button->setGeometry(0, kClientHeight - kButtonsHeight, kClientWidth, kButtonsHeight);
    Btn_OK = shell::Make_Panel_Button(P_Button, "Btn_OK", 0);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { PicButton2Click(); }); };
    Btn_Cancel = shell::Make_Panel_Button(P_Button, "Btn_Cancel", 1);
    Btn_Cancel->OnClick = [this] { platform::Guarded([this] { PicButton4Click(); }); };
    Btn_ImportNet = new controls::TPicButton(P_Button);
    Btn_ImportNet->setObjectName(QStringLiteral("Btn_ImportNet"));
    Btn_ImportNet->setGeometry(kClientWidth - 166, 6, 150, 28);
    Btn_ImportNet->OnClick = [this] { platform::Guarded([this] { Btn_ImportNet_Click(); }); };

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(kClientWidth, kClientHeight);
    ExtPageControl1->SetActivePage(ExtTabSheet1);
    Nodes_Move_Elements();
    Set_Lang();
    shell::Apply_Window_Look(this);
    shell::Set_OK_Glyph(Btn_OK);
    shell::Set_Cancel_Glyph(Btn_Cancel);
    Select_Width_ComboBox(CB_Var_ToD, 30);
    Select_Width_ComboBox(CB_VIFE, 65);
    Select_Width_ComboBox(CB_Topic, 65);
}

TFMeter_Bus::~TFMeter_Bus() = default;

void TFMeter_Bus::Build_Nodes_Page()
{
    QWidget* page = ExtTabSheet1;
    CB_Enable_Node = Make<QCheckBox>(page, "CB_Enable_Node");
    Label2 = Make<QLabel>(page, "Label2");
    E_New_Node_Desc = Make<QLineEdit>(page, "E_New_Node_Desc");
    L_MBus_Type = Make<QLabel>(page, "L_MBus_Type");
    CB_MBus_Type = Make_Combo(page, "CB_MBus_Type", {QStringLiteral("wM-Bus"), QStringLiteral("M-Bus on wires")});
    RB_ID_Primary = Make<QRadioButton>(page, "RB_ID_Primary");
    E_New_Node_ID_Pri = Make<QLineEdit>(page, "E_New_Node_ID_Pri");
    RB_ID_Secondary = Make<QRadioButton>(page, "RB_ID_Secondary");
    E_New_Node_ID_Sec = Make<QLineEdit>(page, "E_New_Node_ID_Sec");
    CB_SND_NKE = Make<QCheckBox>(page, "CB_SND_NKE");
    CB_Reset_App = Make<QCheckBox>(page, "CB_Reset_App");
    Label5 = Make<QLabel>(page, "Label5");
    CB_Var_Type = Make_Combo(page, "CB_Var_Type", {QStringLiteral("By Type"), QStringLiteral("By Position")});
    Label1 = Make<QLabel>(page, "Label1");
    CB_Cut_After = Make<QComboBox>(page, "CB_Cut_After");
    Label15 = Make<QLabel>(page, "Label15");
    RB_ID_Primary->setChecked(true);
    CB_MBus_Type->setCurrentIndex(1);

    P_wMBus_Node = Make<QWidget>(page, "P_wMBus_Node");
    P_wMBus_Node->resize(400, 244);
    Label29 = Make<QLabel>(P_wMBus_Node, "Label29");
    E_wMBus_ManID = Make<QLineEdit>(P_wMBus_Node, "E_wMBus_ManID");
    Label30 = Make<QLabel>(P_wMBus_Node, "Label30");
    E_wMBus_Add = Make<QLineEdit>(P_wMBus_Node, "E_wMBus_Add");
    Label31 = Make<QLabel>(P_wMBus_Node, "Label31");
    E_wMBus_Ver = Make<QLineEdit>(P_wMBus_Node, "E_wMBus_Ver");
    Label32 = Make<QLabel>(P_wMBus_Node, "Label32");
    E_wMBus_DevType = Make<QLineEdit>(P_wMBus_Node, "E_wMBus_DevType");
    CB_wMBus_EnKey = Make<QCheckBox>(P_wMBus_Node, "CB_wMBus_EnKey");
    Place_Row(Label29, E_wMBus_ManID, 3, 120);
    Place_Row(Label30, E_wMBus_Add, 27, 120);
    Place_Row(Label31, E_wMBus_Ver, 51, 120);
    Place_Row(Label32, E_wMBus_DevType, 75, 120);
    CB_wMBus_EnKey->setGeometry(8, 99, 200, 20);
    for (int k = 0; k < 16; ++k) {
        const QByteArray label = "Label" + QByteArray::number(33 + k);
        const QByteArray edit = "E_wMBus_K" + QByteArray::number(k + 1);
        L_Key[size_t(k)] = Make<QLabel>(P_wMBus_Node, label.constData());
        E_wMBus_K[size_t(k)] = Make<QLineEdit>(P_wMBus_Node, edit.constData());
        const int x = 8 + (k % 4) * 84, y = 124 + (k / 4) * 24;
        L_Key[size_t(k)]->setGeometry(x, y + 3, 20, 18);
        E_wMBus_K[size_t(k)]->setGeometry(x + 22, y, 52, 21);
    }
    Label52 = Make<QLabel>(P_wMBus_Node, "Label52");
    CB_wMBus_VarList = Make_Combo(P_wMBus_Node, "CB_wMBus_VarList", {QStringLiteral("By Type"), QStringLiteral("By Position")});
    Place_Row(Label52, CB_wMBus_VarList, 222, 120);

    btn_Add_Node = new controls::TPicButton(page);
    btn_Add_Node->setObjectName(QStringLiteral("btn_Add_Node"));
    btn_Add_Node->resize(150, 26);
    btn_Add_Node->OnClick = [this] { platform::Guarded([this] { btn_Add_NodeClick(); }); };

    connect(CB_MBus_Type, &QComboBox::currentIndexChanged, this,
            [this] { platform::Guarded([this] { CB_MBus_TypeChange(); }); });
}

void TFMeter_Bus::Build_Variables_Page()
{
    QWidget* page = ExtTabSheet2;
    CB_Var_En = Make<QCheckBox>(page, "CB_Var_En");
    Label3 = Make<QLabel>(page, "Label3");
    E_New_Var_Desc = Make<QLineEdit>(page, "E_New_Var_Desc");
    Label4 = Make<QLabel>(page, "Label4");
    CB_Var_ToD = Make_Combo(page, "CB_Var_ToD", Type_Of_Data_List());
    Label14 = Make<QLabel>(page, "Label14");
    E_VIF_ASCII = Make<QLineEdit>(page, "E_VIF_ASCII");
    Label6 = Make<QLabel>(page, "Label6");
    CB_Var_FF = Make_Combo(page, "CB_Var_FF", Function_Field_List());
    Label7 = Make<QLabel>(page, "Label7");
    CB_Var_Dim = Make_Combo(page, "CB_Var_Dim", Dimension_List());
    Label13 = Make<QLabel>(page, "Label13");
    E_Length = Make<QLineEdit>(page, "E_Length");
    Label9 = Make<QLabel>(page, "Label9");
    QStringList units;
    for (int u = 0; u <= 10; ++u)
        units.append(QString::number(u));
    CB_Var_Unit = Make_Combo(page, "CB_Var_Unit", units);
    Label10 = Make<QLabel>(page, "Label10");
    E_Sto_Num = Make<QLineEdit>(page, "E_Sto_Num");
    Label11 = Make<QLabel>(page, "Label11");
    E_Tariff = Make<QLineEdit>(page, "E_Tariff");
    Label12 = Make<QLabel>(page, "Label12");
    CB_VIFE = Make_Combo(page, "CB_VIFE", VIFE_List());
    CB_BCDtoINT = Make<QCheckBox>(page, "CB_BCDtoINT");
    Label8 = Make<QLabel>(page, "Label8");
    E_Position = Make<QLineEdit>(page, "E_Position");
    L_Topic = Make<QLabel>(page, "L_Topic");
    CB_Topic = Make<QComboBox>(page, "CB_Topic");
    CB_Topic->setMaxVisibleItems(16);
    Label19 = Make<QLabel>(page, "Label19");
    CB_PostOpe = Make_Combo(page, "CB_PostOpe", Post_Operation_List());
    btn_Add_Var = new controls::TPicButton(page);
    btn_Add_Var->setObjectName(QStringLiteral("btn_Add_Var"));
    btn_Add_Var->resize(150, 26);
    btn_Add_Var->OnClick = [this] { platform::Guarded([this] { btn_Add_VarClick(); }); };
    CB_Var_En->setChecked(true);
    E_Sto_Num->setText(QStringLiteral("0"));
    E_Tariff->setText(QStringLiteral("0"));
    E_Length->setText(QStringLiteral("0"));
    E_Position->setText(QStringLiteral("1"));
    Sposta_Oggetti_Var(0);
    connect(CB_Var_ToD, &QComboBox::currentIndexChanged, this, [this] { CB_Var_ToDChange(); });
    connect(CB_Var_Dim, &QComboBox::currentIndexChanged, this, [this] { CB_Var_DimChange(); });
    CB_Var_ToDChange();
    CB_Var_DimChange();
}

void TFMeter_Bus::Nodes_Move_Elements()
{
    P_wMBus_Node->setVisible(true);
    L_MBus_Type->setVisible(true);
    CB_MBus_Type->setVisible(true);
    CB_Enable_Node->setGeometry(8, 8, 250, 20);
    Place_Row(Label2, E_New_Node_Desc, 32);
    Place_Row(L_MBus_Type, CB_MBus_Type, 56, 150);
    RB_ID_Primary->setGeometry(8, 80, 142, 20);
    E_New_Node_ID_Pri->setGeometry(152, 80, 120, 21);
    RB_ID_Secondary->setGeometry(8, 104, 142, 20);
    E_New_Node_ID_Sec->setGeometry(152, 104, 120, 21);
    CB_SND_NKE->setGeometry(8, 128, 250, 20);
    CB_Reset_App->setGeometry(8, 152, 250, 20);
    Place_Row(Label5, CB_Var_Type, 176, 120);
    Place_Row(Label1, CB_Cut_After, 200, 70);
    Label15->setGeometry(204, 203, 80, 18);
    btn_Add_Node->move(128, 231);
    CB_MBus_TypeChange();
}

void TFMeter_Bus::CB_MBus_TypeChange()
{
    const bool wired = CB_MBus_Type->currentIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{RB_ID_Primary, E_New_Node_ID_Pri, RB_ID_Secondary,
                                                      E_New_Node_ID_Sec, CB_SND_NKE, CB_Reset_App, Label5,
                                                      CB_Var_Type, Label1, CB_Cut_After, Label15})
        w->setVisible(wired);
    P_wMBus_Node->setVisible(!wired);
    if (!wired)
        P_wMBus_Node->move(0, 77);
    btn_Add_Node->move(128, wired ? 231 : 325);
}

void TFMeter_Bus::Sposta_Oggetti_Var(int var_list_type)
{
    CB_Var_En->setGeometry(8, 8, 250, 20);
    Place_Row(Label3, E_New_Var_Desc, 32);
    struct Row {
        QWidget* Label;
        QWidget* Field;
    };
    const std::vector<Row> by_type = {{Label4, CB_Var_ToD}, {Label14, E_VIF_ASCII}, {Label6, CB_Var_FF},
                                      {Label7, CB_Var_Dim}, {Label13, E_Length},    {Label9, CB_Var_Unit},
                                      {Label10, E_Sto_Num}, {Label11, E_Tariff},    {Label12, CB_VIFE},
                                      {nullptr, CB_BCDtoINT}, {L_Topic, CB_Topic},  {Label19, CB_PostOpe}};
    const std::vector<Row> by_position = {{Label7, CB_Var_Dim}, {Label13, E_Length}, {nullptr, CB_BCDtoINT},
                                          {Label8, E_Position}, {L_Topic, CB_Topic}, {Label19, CB_PostOpe}};
    const std::vector<Row>& rows = var_list_type == 1 ? by_position : by_type;
    for (const Row& r : by_type)
        for (QWidget* w : {r.Label, r.Field})
            if (w)
                w->setVisible(false);
    Label8->setVisible(false);
    E_Position->setVisible(false);
    int y = 56;
    for (const Row& r : rows) {
        if (r.Field == CB_BCDtoINT)
            CB_BCDtoINT->setGeometry(8, y, 250, 20);
        else
            Place_Row(r.Label, r.Field, y);
        for (QWidget* w : {r.Label, r.Field})
            if (w)
                w->setVisible(true);
        y += 24;
    }
    btn_Add_Var->move(128, var_list_type == 1 ? 207 : 344);
}

void TFMeter_Bus::Set_Lang()
{
    SetCaption(Lang(800));
    L_SW_Desc->setText(Lang(801));
    Btn_OK->SetCaption(Lang(802));
    Btn_Cancel->SetCaption(Lang(803));
    Btn_ImportNet->SetCaption(Lang(804));
    ExtTabSheet1->SetCaption(Lang(805));
    ExtTabSheet2->SetCaption(Lang(806));
    ExtTabSheet2->SetTabVisible(true);
    CB_Enable_Node->setText(Lang(807));
    Label2->setText(Lang(808));
    L_MBus_Type->setText(QStringLiteral("M-Bus Type"));
    RB_ID_Primary->setText(Lang(809));
    RB_ID_Secondary->setText(Lang(810));
    CB_SND_NKE->setText(Lang(815));
    CB_Reset_App->setText(Lang(816));
    Label5->setText(Lang(817));
    Label1->setText(Lang(818));
    Label15->setText(Lang(819));
    // The add buttons keep their state (add or modify) across a language change.
    const bool modify_node = btn_Add_Node->Caption() == Lang(820) || (NODE_ID && IND_VAR < 0);
    btn_Add_Node->SetCaption(Lang(modify_node ? 820 : 821));
    const bool modify_var = SELECT_NODE && IND_VAR >= 0;
    btn_Add_Var->SetCaption(Lang(modify_var ? 838 : 839));
    CB_Var_En->setText(Lang(822));
    Label3->setText(Lang(823));
    Label4->setText(Lang(824));
    Label14->setText(Lang(825));
    Label6->setText(Lang(826));
    Label7->setText(Lang(827));
    Label13->setText(Lang(828));
    Label9->setText(Lang(829));
    Label10->setText(Lang(830));
    Label11->setText(Lang(831));
    Label12->setText(Lang(832));
    CB_BCDtoINT->setText(Lang(833));
    Label8->setText(Lang(834));
    L_Topic->setText(Lang(835));
    Label19->setText(Lang(837));
    CopyVariable1->setText(Lang(840));
    PasteVariable1->setText(Lang(841));
    CopyNode1->setText(Lang(842));
    PasteNode1->setText(Lang(843));
    DeleteItems1->setText(Lang(844));
    Label29->setText(Lang(845));
    Label30->setText(Lang(846));
    Label31->setText(Lang(847));
    Label32->setText(Lang(848));
    CB_wMBus_EnKey->setText(Lang(849));
    for (int k = 0; k < 16; ++k)
        L_Key[size_t(k)]->setText(Lang(850 + k));
    Label52->setText(Lang(870));
}

// ---- showing ----

void TFMeter_Bus::FormShow()
{
    CB_Cut_After->clear();
    QStringList cuts;
    for (int i = 1; i <= 250; ++i)
        cuts.append(QString::number(i));
    CB_Cut_After->addItems(cuts);
    CB_Cut_After->setCurrentIndex(0);
    Is_Change = false;
    Working_Mode = 0;
    ExtTabSheet2->SetTabVisible(true);
    Load_Topics();
    Load_Network();
    // Nothing is selected: the buttons add, and a new node starts enabled.
    Aggiorna_Label();
    Sposta_Oggetti_Var(0);
    PasteVariable1->setEnabled(Copy_Var.has_value());
    PasteNode1->setEnabled(Copy_Node.has_value());
    Is_Change = false;
}

void TFMeter_Bus::Load_Topics()
{
    MQTT_Topics.clear();
    const QString& file = shell::App_State.File_MQTT_Set_Topic;
    if (!file.isEmpty() && platform::FileExists(file)) {
        try {
            platform::XmlDocument doc;
            doc.LoadFromFile(file);
            const platform::XmlNode publish = doc.DocumentElement().ChildByName(QStringLiteral("MQTT_Publish"));
            int i = 0;
            for (const platform::XmlNode& row : publish.ChildNodes())
                MQTT_Topics.append(QStringLiteral("%1; %2; %3;")
                                       .arg(++i)
                                       .arg(row.Attribute(QStringLiteral("Topic")), row.Attribute(QStringLiteral("Mnemonic"))));
        } catch (const platform::Exception& e) {
            MessageDlg(QStringLiteral("The topic list could not be read, so no topic can be chosen:\n") + e.message(),
                       TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
        }
    }
    CB_Topic->clear();
    CB_Topic->addItems(MQTT_Topics);
    Select_Width_ComboBox(CB_Topic, 65);
}

void TFMeter_Bus::Load_Network()
{
    Nodi_List.clear();
    FLoad_Problem.clear();
    FLoad_Defaults = false;
    const QString& file = shell::App_State.File_M_Bus;
    if (!file.isEmpty() && platform::FileExists(file)) {
        try {
            TMeterListRead read = Read_Meter_List(file);
            Nodi_List = std::move(read.Nodes);
            FLoad_Defaults = !read.Warnings.isEmpty();
            if (!read.Complete()) {
                FLoad_Problem = Read_Problem_Text(read);
                MessageDlg(QStringLiteral("The M-Bus network \"%1\" could not be read whole:\n%2\nThe window shows the %3 "
                                          "nodes read before the fault.")
                               .arg(file, FLoad_Problem)
                               .arg(Nodi_List.size()),
                           TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
            } else if (FLoad_Defaults) {
                MessageDlg(QStringLiteral("Some values of the M-Bus network \"%1\" could not be used and took their "
                                          "default:\n%2")
                               .arg(file, Read_Problem_Text(read)),
                           TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
            }
        } catch (const platform::Exception& e) {
            FLoad_Problem = e.message();
            MessageDlg(QStringLiteral("The M-Bus network could not be read:\n") + FLoad_Problem, TMsgDlgType::mtError,
                       TMsgDlgButtons::mbOK);
        }
    }
    Rebuild_Tree();
}

void TFMeter_Bus::Rebuild_Tree()
{
    TW->BeginUpdate();
    TW->Clear();
    NODE_ORIG = TW->AddChild(nullptr);
    for (const TNodo& n : Nodi_List) {
        PTreeNode item = TW->AddChild(NODE_ORIG);
        for (size_t j = 0; j < n.Var_List.size(); ++j)
            TW->AddChild(item);
    }
    TW->SetExpanded(NODE_ORIG, true);
    TW->EndUpdate();
    NODE_ID = SELECT_NODE = nullptr;
    IND_NODO = IND_VAR = -1;
}

QString TFMeter_Bus::Item_Text(PTreeNode item)
{
    if (!item)
        return {};
    const uint32_t level = TW->GetNodeLevel(item);
    if (level == 0)
        return QStringLiteral("M-Bus Network");
    PTreeNode node_item = level == 1 ? item : TW->GetNodeParent(item);
    const size_t i = node_item->Index;
    if (i >= Nodi_List.size())
        return {};
    const TNodo& n = Nodi_List[i];
    if (level == 1)
        return Node_Text(n);
    return item->Index < n.Var_List.size() ? QStringLiteral("VAR - ") + n.Var_List[item->Index].Description : QString();
}

PTreeNode TFMeter_Bus::Node_Item(int i)
{
    PTreeNode n = NODE_ORIG ? TW->GetFirstChild(NODE_ORIG) : nullptr;
    for (; n && i > 0; --i)
        n = TW->GetNextSibling(n);
    return i == 0 ? n : nullptr;
}

PTreeNode TFMeter_Bus::Var_Item(int i, int j)
{
    PTreeNode node = Node_Item(i);
    PTreeNode v = node ? TW->GetFirstChild(node) : nullptr;
    for (; v && j > 0; --j)
        v = TW->GetNextSibling(v);
    return j == 0 ? v : nullptr;
}

void TFMeter_Bus::Select_Item(PTreeNode item)
{
    TW->ClearSelection();
    if (item) {
        TW->SetFocusedNode(item);
        TW->SetSelected(item, true);
    }
    TWClick();
}

// ---- selection ----

void TFMeter_Bus::TWClick()
{
    PTreeNode selected = TW->GetFirstSelected();
    NODE_ID = SELECT_NODE = nullptr;
    IND_NODO = IND_VAR = -1;
    if (selected && selected != NODE_ORIG && NODE_ORIG) {
        const uint32_t level = TW->GetNodeLevel(selected);
        if (level == 1 && TW->GetNodeParent(selected) == NODE_ORIG) {
            NODE_ID = SELECT_NODE = selected;
            IND_NODO = int(selected->Index);
        } else if (level == 2) {
            NODE_ID = TW->GetNodeParent(selected);
            SELECT_NODE = selected;
            IND_NODO = int(NODE_ID->Index);
            IND_VAR = int(selected->Index);
        }
    }
    Aggiorna_Label();
    CB_Var_ToDChange();
    CB_Var_DimChange();
    if (IND_VAR >= 0)
        ExtPageControl1->SetActivePage(ExtTabSheet2);
    else if (IND_NODO >= 0)
        ExtPageControl1->SetActivePage(ExtTabSheet1);
}

void TFMeter_Bus::Show_Node(const TNodo& n)
{
    CB_Enable_Node->setChecked(n.Enable);
    E_New_Node_Desc->setText(n.Description);
    E_New_Node_ID_Pri->setText(QString::number(n.Node_ID_Primary));
    E_New_Node_ID_Sec->setText(QString::number(n.Node_ID_Secondary));
    CB_SND_NKE->setChecked(n.Send_SNK == 1);
    CB_Reset_App->setChecked(n.Reset_App == 1);
    (n.Node_ID_Type != 0 ? RB_ID_Secondary : RB_ID_Primary)->setChecked(true);
    CB_Var_Type->setCurrentIndex(n.Var_List_Type < CB_Var_Type->count() ? n.Var_List_Type : -1);
    CB_wMBus_VarList->setCurrentIndex(n.Var_List_Type < CB_wMBus_VarList->count() ? n.Var_List_Type : -1);
    CB_Cut_After->setCurrentIndex(n.Cut_After < CB_Cut_After->count() ? n.Cut_After : -1);
    CB_MBus_Type->setCurrentIndex(n.MBus_Type < CB_MBus_Type->count() ? n.MBus_Type : -1);
    E_wMBus_ManID->setText(n.wMBus_ManID);
    E_wMBus_Add->setText(n.wMBus_Add);
    E_wMBus_Ver->setText(n.wMBus_Ver);
    E_wMBus_DevType->setText(n.wMBus_DevType);
    CB_wMBus_EnKey->setChecked(n.wMBus_En_Key == 1);
    for (size_t k = 0; k < 16; ++k)
        E_wMBus_K[k]->setText(n.wMBus_Key[k]);
}

void TFMeter_Bus::Clear_Var_Controls()
{
    CB_Var_En->setChecked(true);
    E_New_Var_Desc->clear();
    for (QComboBox* c : {CB_Var_ToD, CB_Var_FF, CB_Var_Dim, CB_Var_Unit, CB_VIFE, CB_Topic, CB_PostOpe})
        c->setCurrentIndex(c->count() > 0 ? 0 : -1);
    E_Sto_Num->setText(QStringLiteral("0"));
    E_Tariff->setText(QStringLiteral("0"));
    CB_BCDtoINT->setChecked(false);
    E_VIF_ASCII->clear();
    E_Length->setText(QStringLiteral("0"));
    E_Position->setText(QStringLiteral("1"));
}

void TFMeter_Bus::Aggiorna_Label()
{
    // A list index that names no item leaves its list without a choice.
    const auto pick = [](QComboBox* c, int index) { c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1); };
    if (IND_NODO < 0 || size_t(IND_NODO) >= Nodi_List.size()) {
        btn_Add_Node->SetCaption(Lang(821));
        btn_Add_Var->SetCaption(Lang(839));
        CB_SND_NKE->setChecked(false);
        CB_Reset_App->setChecked(false);
        CB_wMBus_EnKey->setChecked(false);
        CB_Enable_Node->setChecked(true);
        pick(CB_Topic, 0);
        pick(CB_PostOpe, 0);
        pick(CB_wMBus_VarList, 0);
        for (QLineEdit* e : {E_wMBus_ManID, E_wMBus_Add, E_wMBus_Ver, E_wMBus_DevType})
            e->clear();
        for (QLineEdit* e : E_wMBus_K)
            e->clear();
        CB_MBus_TypeChange();
        return;
    }
    const TNodo& n = Nodi_List[size_t(IND_NODO)];
    Show_Node(n);
    if (IND_VAR < 0 || size_t(IND_VAR) >= n.Var_List.size()) {
        btn_Add_Node->SetCaption(Lang(820));
        btn_Add_Var->SetCaption(Lang(839));
        Clear_Var_Controls();
    } else {
        btn_Add_Node->SetCaption(Lang(821));
        btn_Add_Var->SetCaption(Lang(838));
        const TVariabile& v = n.Var_List[size_t(IND_VAR)];
        CB_Var_En->setChecked(v.Enable);
        E_New_Var_Desc->setText(v.Description);
        pick(CB_Var_ToD, v.Type_Of_Data);
        pick(CB_Var_FF, v.Function_Field);
        pick(CB_Var_Dim, v.Dimension);
        pick(CB_Var_Unit, v.Unita);
        pick(CB_VIFE, v.VIFE);
        pick(CB_Topic, v.Topic);
        pick(CB_PostOpe, v.Post_Operation);
        E_Sto_Num->setText(QString::number(v.Storage_Number));
        E_Tariff->setText(QString::number(v.Tariff));
        E_Length->setText(QString::number(v.Length));
        E_Position->setText(QString::number(v.Position));
        CB_BCDtoINT->setChecked(v.BCDtoINT);
        E_VIF_ASCII->setText(v.VIF_ASCII);
    }
    Sposta_Oggetti_Var(n.Var_List_Type);
    CB_MBus_TypeChange();
}

void TFMeter_Bus::CB_Var_ToDChange() { E_VIF_ASCII->setEnabled(CB_Var_ToD->currentIndex() == 21); }

void TFMeter_Bus::CB_Var_DimChange() { E_Length->setEnabled(CB_Var_Dim->currentIndex() == 7); }

// ---- checks ----

bool TFMeter_Bus::Controllo_Dati_New_Nodo()
{
    if (CB_MBus_Type->currentIndex() == 1) {
        const bool secondary = !RB_ID_Primary->isChecked();
        const qint64 id = Edit_Number(secondary ? E_New_Node_ID_Sec : E_New_Node_ID_Pri);
        if (!Node_ID_In_Range(secondary, id))
            return Editor_Error(secondary ? 882 : 881);
        return Check_Node_ID(int(id));
    }
    if (CB_MBus_Type->currentIndex() == 0) {
        const qint64 man = Edit_Number(E_wMBus_ManID);
        if (man < 0 || man > 0xFFFF)
            return Editor_Error(896);
        if (!Wireless_Address_In_Range(Edit_Number(E_wMBus_Add)))
            return Editor_Error(897);
        const qint64 ver = Edit_Number(E_wMBus_Ver);
        if (ver < 0 || ver > 255)
            return Editor_Error(898);
        const qint64 dev = Edit_Number(E_wMBus_DevType);
        if (dev < 0 || dev > 255)
            return Editor_Error(899);
        if (CB_wMBus_EnKey->isChecked())
            for (int k = 0; k < 16; ++k) {
                const qint64 b = Edit_Number(E_wMBus_K[size_t(k)]);
                if (b < 0 || b > 255)
                    return Editor_Error(900 + k);
            }
    }
    return true;
}

bool TFMeter_Bus::Check_Node_ID(int id)
{
    for (int i = 0; i < int(Nodi_List.size()); ++i) {
        const TNodo& n = Nodi_List[size_t(i)];
        if (i == IND_NODO) {
            if (IND_VAR == -1)
                continue;
            if (n.Own_ID() == id)
                return Editor_Error(884);
        } else if (n.MBus_Type != 0 && n.Own_ID() == id) {
            return Editor_Error(885);
        }
    }
    return true;
}

bool TFMeter_Bus::Check_Node_ID2(int id, int id_type)
{
    for (const TNodo& n : Nodi_List)
        if (n.Own_ID() == id && n.Node_ID_Type == id_type)
            return Editor_Error(883);
    return true;
}

bool TFMeter_Bus::Controllo_Dati_New_Var()
{
    const qint64 sto = Edit_Number(E_Sto_Num);
    if (sto < 0 || sto > 0xFFFFFFFFLL)
        return Editor_Error(872);
    const qint64 tariff = Edit_Number(E_Tariff);
    if (tariff < 0 || tariff > 0xFFFFF)
        return Editor_Error(873);
    if (CB_Var_Dim->currentIndex() == 7) {
        const qint64 length = Edit_Number(E_Length);
        if (length < 0 || length > 191)
            return Editor_Error(874);
    }
    const qint64 position = Edit_Number(E_Position);
    if (position < 1 || position > 100)
        return Editor_Error(875);
    if (CB_PostOpe->currentIndex() >= 1) {
        const int tod = CB_Var_ToD->currentIndex();
        if (tod >= 20)
            return Editor_Error(879);
        const int vife = CB_VIFE->currentIndex();
        if (tod == 19 && !(vife == 38 || vife == 39 || (vife >= 51 && vife <= 69)))
            return Editor_Error(880);
    }
    return true;
}

int TFMeter_Bus::Found_BACnet_EngUnits(int type_of_data, int vife)
{
    static const std::pair<int, int> by_type[] = {{0, 18}, {1, 16}, {2, 80}, {3, 39},  {6, 47},  {8, 135}, {9, 165},
                                                  {10, 85}, {11, 44}, {12, 62}, {13, 62}, {15, 62}, {14, 63}, {16, 55}};
    static const std::pair<int, int> by_vife[] = {{38, 5},  {39, 3},  {51, 146}, {57, 83},  {59, 89},
                                                  {60, 192}, {61, 49}, {63, 64},  {64, 64},  {65, 64},
                                                  {66, 64},  {67, 64}, {68, 62},  {69, 47},  {70, 101}, {71, 100}};
    const auto look = [](const auto& table, int key) {
        for (const auto& [k, unit] : table)
            if (k == key)
                return unit;
        return 95;
    };
    return type_of_data == 19 ? look(by_vife, vife) : look(by_type, type_of_data);
}

// ---- adding, changing, deleting ----

TNodo TFMeter_Bus::Node_From_Controls(const TNodo& base) const
{
    TNodo n = base;
    n.Enable = CB_Enable_Node->isChecked();
    n.Description = E_New_Node_Desc->text();
    n.Node_ID_Primary = Stored_ID(E_New_Node_ID_Pri);
    n.Node_ID_Secondary = Stored_ID(E_New_Node_ID_Sec);
    n.Send_SNK = CB_SND_NKE->isChecked() ? 1 : 0;
    n.Reset_App = CB_Reset_App->isChecked() ? 1 : 0;
    n.Node_ID_Type = RB_ID_Primary->isChecked() ? 0 : 1;
    n.Cut_After = uint8_t(std::max(0, CB_Cut_After->currentIndex()));
    n.MBus_Type = uint8_t(std::max(0, CB_MBus_Type->currentIndex()));
    n.Var_List_Type = uint8_t(std::max(0, (n.MBus_Type == 0 ? CB_wMBus_VarList : CB_Var_Type)->currentIndex()));
    n.wMBus_ManID = E_wMBus_ManID->text();
    n.wMBus_Add = E_wMBus_Add->text();
    n.wMBus_Ver = E_wMBus_Ver->text();
    n.wMBus_DevType = E_wMBus_DevType->text();
    n.wMBus_En_Key = CB_wMBus_EnKey->isChecked() ? 1 : 0;
    for (size_t k = 0; k < 16; ++k)
        n.wMBus_Key[k] = E_wMBus_K[k]->text();
    return n;
}

void TFMeter_Bus::btn_Add_NodeClick()
{
    if (btn_Add_Node->Caption() == Lang(821)) {
        if (!Controllo_Dati_New_Nodo())
            return;
        TNodo fresh;
        fresh.Node_State = fresh.Ident_Num = fresh.BCDtoINT_IN = fresh.Access_Number = fresh.wMBus_RSSI = 0;
        Nodi_List.push_back(Node_From_Controls(fresh));
        TW->AddChild(NODE_ORIG);
        Is_Change = true;
    } else if (NODE_ID && IND_NODO >= 0 && size_t(IND_NODO) < Nodi_List.size()) {
        if (!Controllo_Dati_New_Nodo())
            return;
        TNodo changed = Node_From_Controls(Nodi_List[size_t(IND_NODO)]);
        Nodi_List[size_t(IND_NODO)] = std::move(changed);
        TW->InvalidateNode(NODE_ID);
        Is_Change = true;
    }
    TW->SetExpanded(NODE_ORIG, true);
}

TVariabile TFMeter_Bus::Var_From_Controls() const
{
    TVariabile v;
    v.Enable = CB_Var_En->isChecked();
    v.Description = E_New_Var_Desc->text();
    v.Type_Of_Data = CB_Var_ToD->currentIndex();
    v.Function_Field = CB_Var_FF->currentIndex();
    v.Dimension = CB_Var_Dim->currentIndex();
    v.Unita = CB_Var_Unit->currentIndex();
    v.VIFE = uint8_t(std::max(0, CB_VIFE->currentIndex()));
    v.Topic = CB_Topic->currentIndex();
    v.Post_Operation = uint8_t(std::max(0, CB_PostOpe->currentIndex()));
    // Hidden fields are stored with what they hold; a text that is no number gives 0.
    const qint64 sto = Edit_Number(E_Sto_Num);
    v.Storage_Number = sto >= 0 && sto <= 0xFFFFFFFFLL ? uint32_t(sto) : 0;
    const qint64 tariff = Edit_Number(E_Tariff);
    v.Tariff = tariff >= 0 && tariff <= INT32_MAX ? int(tariff) : 0;
    const qint64 position = Edit_Number(E_Position);
    v.Position = uint8_t(position >= 0 && position <= 255 ? position : 1);
    const qint64 length = Edit_Number(E_Length);
    v.Length = length >= 0 && length <= INT32_MAX ? int(length) : 0;
    v.BCDtoINT = CB_BCDtoINT->isChecked();
    v.VIF_ASCII = E_VIF_ASCII->text();
    return v;
}

void TFMeter_Bus::btn_Add_VarClick()
{
    if (btn_Add_Var->Caption() == Lang(839)) {
        if (!NODE_ID || IND_NODO < 0 || size_t(IND_NODO) >= Nodi_List.size() || !Controllo_Dati_New_Var())
            return;
        Nodi_List[size_t(IND_NODO)].Var_List.push_back(Var_From_Controls());
        TW->AddChild(NODE_ID);
        // The new variable shows under its node; a collapsed node would not even repaint its button.
        TW->SetExpanded(NODE_ID, true);
        TW->InvalidateNode(NODE_ID);
        Is_Change = true;
    } else {
        if (!SELECT_NODE || IND_NODO < 0 || size_t(IND_NODO) >= Nodi_List.size() || IND_VAR < 0 ||
            size_t(IND_VAR) >= Nodi_List[size_t(IND_NODO)].Var_List.size() || !Controllo_Dati_New_Var())
            return;
        Nodi_List[size_t(IND_NODO)].Var_List[size_t(IND_VAR)] = Var_From_Controls();
        TW->InvalidateNode(SELECT_NODE);
        Is_Change = true;
    }
    TW->SetExpanded(NODE_ORIG, true);
}

void TFMeter_Bus::btn_Delete_ItemClick()
{
    if (IND_NODO == -1) {
        if (!Confirmed(Lang(886)))
            return;
        const bool had = !Nodi_List.empty();
        Nodi_List.clear();
        Rebuild_Tree();
        Is_Change = Is_Change || had;
    } else if (IND_VAR == -1) {
        if (!Confirmed(Lang(887)))
            return;
        PTreeNode item = NODE_ID;
        Nodi_List.erase(Nodi_List.begin() + IND_NODO);
        TW->DeleteNode(item);
        Is_Change = true;
        TWClick();
    } else {
        if (!Confirmed(Lang(888)))
            return;
        PTreeNode item = SELECT_NODE;
        auto& vars = Nodi_List[size_t(IND_NODO)].Var_List;
        vars.erase(vars.begin() + IND_VAR);
        TW->DeleteNode(item);
        Is_Change = true;
        TWClick();
    }
    TW->Invalidate();
}

// ---- copy and paste ----

void TFMeter_Bus::CopyVariable1Click()
{
    if (IND_NODO < 0 || size_t(IND_NODO) >= Nodi_List.size()) {
        Editor_Error(890);
        return;
    }
    const TNodo& n = Nodi_List[size_t(IND_NODO)];
    if (IND_VAR < 0 || size_t(IND_VAR) >= n.Var_List.size()) {
        Editor_Error(889);
        return;
    }
    Copy_Var = n.Var_List[size_t(IND_VAR)];
    PasteVariable1->setEnabled(true);
}

void TFMeter_Bus::PasteVariable1Click()
{
    if (!Copy_Var) {
        Editor_Error(893);
        return;
    }
    if (IND_NODO < 0 || size_t(IND_NODO) >= Nodi_List.size()) {
        Editor_Error(894);
        return;
    }
    Nodi_List[size_t(IND_NODO)].Var_List.push_back(*Copy_Var);
    TW->AddChild(NODE_ID);
    TW->SetExpanded(NODE_ID, true);
    TW->InvalidateNode(NODE_ID);
    Is_Change = true;
}

void TFMeter_Bus::CopyNode1Click()
{
    if (IND_NODO >= int(Nodi_List.size())) {
        Editor_Error(892);
        return;
    }
    if (IND_NODO < 0) {
        Editor_Error(891);
        return;
    }
    const TNodo& n = Nodi_List[size_t(IND_NODO)];
    TNodo copy = n;
    // The copy leaves out what belongs to the meter's place in this list.
    copy.Access_Number = 0;
    copy.AN_Topic = 0;
    copy.wMBus_RSSI = 0;
    copy.wMBus_RSSI_Topic = 0;
    Copy_Node = std::move(copy);
    PasteNode1->setEnabled(true);
}

void TFMeter_Bus::PasteNode1Click()
{
    if (!Copy_Node)
        return;
    TFNewIDNode* dialog = FNewIDNode();
    const TNodo& c = *Copy_Node;
    if (c.MBus_Type == 1) {
        dialog->Form_Type = 1;
        (c.Node_ID_Type == 1 ? dialog->RB_ID_Secondary : dialog->RB_ID_Primary)->setChecked(true);
        dialog->E_New_Node_ID_Pri->setText(QString::number(c.Node_ID_Primary));
        dialog->E_New_Node_ID_Sec->setText(QString::number(c.Node_ID_Secondary));
    } else {
        dialog->Form_Type = 2;
    }
    dialog->Check_Node_ID2 = [this](int id, int type) { return Check_Node_ID2(id, type); };
    const int result = dialog->ShowModal();
    dialog->Check_Node_ID2 = nullptr;
    if (result != platform::mrOk)
        return;
    TNodo n = c;
    n.Node_ID_Primary = Stored_ID(dialog->E_New_Node_ID_Pri);
    n.Node_ID_Secondary = Stored_ID(dialog->E_New_Node_ID_Sec);
    n.Node_ID_Type = dialog->RB_ID_Secondary->isChecked() ? 1 : 0;
    if (c.MBus_Type != 1)
        n.wMBus_Add = dialog->E_wMBus_Add->text();
    n.Access_Number = 0;
    n.AN_Topic = 0;
    n.wMBus_RSSI = 0;
    n.wMBus_RSSI_Topic = 0;
    Nodi_List.push_back(std::move(n));
    PTreeNode item = TW->AddChild(NODE_ORIG);
    for (size_t j = 0; j < Nodi_List.back().Var_List.size(); ++j)
        TW->AddChild(item);
    TW->SetExpanded(NODE_ORIG, true);
    Is_Change = true;
}

// ---- OK, Cancel, Import ----

void TFMeter_Bus::PicButton2Click()
{
    const QString& file = shell::App_State.File_M_Bus;
    if (!FLoad_Problem.isEmpty() &&
        !Confirmed(QStringLiteral("The M-Bus network \"%1\" could not be read whole when this window opened. Saving "
                                  "replaces it with the %2 nodes shown; the old file is kept beside it. Save anyway?")
                       .arg(file)
                       .arg(Nodi_List.size())))
        return;
    if ((!FLoad_Problem.isEmpty() || FLoad_Defaults) && platform::FileExists(file)) {
        // The list as it was read is kept aside first; without that copy nothing is written.
        const QString kept = platform::KeepDamagedFile(file);
        if (kept.contains(QStringLiteral("could not be kept")))
            throw platform::Exception(kept);
    }
    Write_Meter_List(file, Nodi_List);
    FLoad_Problem.clear();
    FLoad_Defaults = false;
    TW->Clear();
    NODE_ORIG = NODE_ID = SELECT_NODE = nullptr;
    Nodi_List.clear();
    IND_NODO = IND_VAR = -1;
    SetModalResult(platform::mrOk);
}

void TFMeter_Bus::PicButton4Click()
{
    if (Is_Change && !Confirmed(Lang(895)))
        return;
    SetModalResult(platform::mrCancel);
}

void TFMeter_Bus::Btn_ImportNet_Click()
{
    platform::FileDialogRequest request;
    request.Filter = QStringLiteral("XML File (*.xml)|*.xml");
    request.InitialFolder = shell::App_State.Project_Folder;
    const QString picked = platform::PromptForFileName(request);
    if (picked.isEmpty())
        return;
    // The picked list is read before anything is replaced: a list the editor cannot read whole
    // is refused.
    const QByteArray bytes = platform::ReadWholeFile(picked);
    const TMeterListRead read = Read_Meter_List(picked);
    if (!read.Complete()) {
        MessageDlg(QStringLiteral("\"%1\" cannot be imported, the M-Bus network is left as it was:\n%2")
                       .arg(picked, Read_Problem_Text(read)),
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    const QString& file = shell::App_State.File_M_Bus;
    if (platform::FileExists(file)) {
        if (!Confirmed(Lang(871)))
            return;
        // The replaced list is kept beside it.
        platform::WriteFileAtomic(file + QStringLiteral(".bak"), platform::ReadWholeFile(file));
    }
    platform::WriteFileAtomic(file, bytes);
    FormShow();
}
