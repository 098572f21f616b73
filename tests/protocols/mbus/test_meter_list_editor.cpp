// The meter list editor: the tree mirrors the file, a click fills the pages, nodes and variables
// are checked when they are added or changed, OK writes the list back, Cancel asks, Import reads
// the picked list first and keeps the one it replaces.
#include "MeterEditorFixture.h"
#include "platform/FileUtil.h"
#include "protocols/mbus/UMBusScanFiles.h"
#include "support/Deferred.h"
#include "support/ScreenView.h"

#include <QCheckBox>
#include <QRadioButton>

using namespace meterlist_test;
using platform::mrNo;
using platform::mrYes;
using shell::Lang;

namespace meterlist_editor_test {

const QByteArray Topics = "<MQTT_Set_Topic><MQTT_Publish>"
                          "<row Topic=\"plant/heat\" Mnemonic=\"heat\"/><row Topic=\"plant/water\" Mnemonic=\"water\"/>"
                          "<row Topic=\"plant/gas\" Mnemonic=\"gas\"/><row Topic=\"a\" Mnemonic=\"b\"/>"
                          "<row Topic=\"plant/flow\" Mnemonic=\"flow\"/></MQTT_Publish></MQTT_Set_Topic>";

class MeterListEditor : public MeterEditor {};

TEST_F(MeterListEditor, TreeMirrorsTheFileAndAClickFillsThePages)
{
    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"), Topics);
    Write_List(Sample_List());
    Open();
    EXPECT_EQ(Text_Of(Form->NODE_ORIG), "M-Bus Network");
    ASSERT_EQ(Root_Children(), 3);
    EXPECT_EQ(Text_Of(Form->Node_Item(0)), "ID 5 - Heat meter <cellar> & \"boiler\"");
    EXPECT_EQ(Text_Of(Form->Node_Item(1)), "ID 99999999 - Water") << "addressed by its secondary ID";
    EXPECT_EQ(Text_Of(Form->Node_Item(2)), "wM-Bus Node - Address 4294967295 - Radio gas meter");
    EXPECT_EQ(Text_Of(Form->Var_Item(0, 1)), "VAR - Volume");
    EXPECT_EQ(Form->CB_Topic->count(), 5);
    EXPECT_EQ(Form->CB_Topic->itemText(1), "2; plant/water; water;");

    // A variable: its own values on the Variables page, its node's on the Nodes page.
    Click_Var(0, 1);
    EXPECT_EQ(Form->IND_NODO, 0);
    EXPECT_EQ(Form->IND_VAR, 1);
    EXPECT_EQ(Form->ExtPageControl1->ActivePage(), Form->ExtTabSheet2);
    EXPECT_EQ(Form->btn_Add_Var->Caption(), "MODIFY VARIABLE");
    EXPECT_EQ(Form->btn_Add_Node->Caption(), "ADD NODE");
    EXPECT_EQ(Form->E_Sto_Num->text(), "4294967295");
    EXPECT_EQ(Form->E_Tariff->text(), "1048575");
    EXPECT_EQ(Form->CB_Var_Dim->currentText(), "Variable Length");
    EXPECT_TRUE(Form->E_Length->isEnabled());
    EXPECT_EQ(Form->CB_VIFE->currentText(), "Overflow values");
    EXPECT_EQ(Form->CB_Topic->currentText(), "5; plant/flow; flow;");
    EXPECT_EQ(Form->CB_PostOpe->currentText(), " * 1000000");
    EXPECT_EQ(Form->E_New_Node_ID_Pri->text(), "5");
    EXPECT_EQ(Form->CB_Cut_After->currentText(), "3");

    // The wireless node: its identity and each key edit from its own key byte.
    Click_Node(2);
    EXPECT_EQ(Form->ExtPageControl1->ActivePage(), Form->ExtTabSheet1);
    EXPECT_EQ(Form->btn_Add_Node->Caption(), "MODIFY NODE");
    EXPECT_TRUE(Form->P_wMBus_Node->isVisible());
    EXPECT_FALSE(Form->RB_ID_Primary->isVisible());
    EXPECT_EQ(Form->E_wMBus_ManID->text(), "0x2C2D");
    EXPECT_TRUE(Form->CB_wMBus_EnKey->isChecked());
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(Form->E_wMBus_K[size_t(k)]->text(), QString::number(k * 17));

    // "By Position" hides the type fields.
    Click_Var(1, 0);
    EXPECT_TRUE(Form->E_Position->isVisible());
    EXPECT_FALSE(Form->CB_Var_ToD->isVisible());
    EXPECT_TRUE(Form->E_VIF_ASCII->isEnabled()) << "type of data 21 takes a unit text";

    // The root: adding again.
    Click_Root();
    EXPECT_EQ(Form->IND_NODO, -1);
    EXPECT_EQ(Form->btn_Add_Node->Caption(), "ADD NODE");
    EXPECT_TRUE(Form->E_wMBus_K[0]->text().isEmpty());
}

struct NodeCase {
    const char* Name;
    int Select;  // -1 nothing, n node n, 10 + n the first variable of node n
    int Kind;    // item of "M-Bus Type"
    bool Secondary;
    const char* Id;
    const char* ManID;
    const char* Address;
    bool Key;
    const char* Key3;
    int Refusal;  // text shown, 0 when the node is added
};

TEST_F(MeterListEditor, NodesAreCheckedWhenAdded)
{
    const NodeCase cases[] = {
        {"primary past 255", -1, 1, false, "256", "", "", false, "", 881},
        {"primary not a number", -1, 1, false, "five", "", "", false, "", 881},
        {"secondary past 99999999", -1, 1, true, "100000000", "", "", false, "", 882},
        {"primary used", -1, 1, false, "5", "", "", false, "", 885},
        {"primary used, its variable selected", 10, 1, false, "0x05", "", "", false, "", 884},
        {"secondary 99999999 used", -1, 1, true, "99999999", "", "", false, "", 885},
        // The type is not compared: a secondary ID clashes with a primary one of the same number.
        {"primary equal to a secondary", -1, 1, false, "1", "", "", false, "", 885},
        {"free primary", -1, 1, false, "$06", "", "", false, "", 0},
        {"manufacturer past 0xFFFF", -1, 0, false, "", "70000", "1", false, "", 896},
        {"address past 32 bits", -1, 0, false, "", "1", "4294967296", false, "", 897},
        {"address 0xFFFFFFFF", -1, 0, false, "", "1", "0xFFFFFFFF", false, "", 0},
        {"key byte 3 past 255", -1, 0, false, "", "1", "1", true, "256", 902},
        {"key unchecked, key bytes not checked", -1, 0, false, "", "1", "1", false, "zz", 0},
    };
    for (const NodeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TNodi_List list = Sample_List();
        list[1].Node_ID_Secondary = 1;  // "primary equal to a secondary"
        if (QByteArray(c.Name) == "secondary 99999999 used")
            list[1].Node_ID_Secondary = 99999999;
        Write_List(list);
        Open();
        if (c.Select >= 10)
            Click_Var(c.Select - 10, 0);
        else if (c.Select >= 0)
            Click_Node(c.Select);
        else
            Click_Root();
        Form->ExtPageControl1->SetActivePage(Form->ExtTabSheet1);
        Form->CB_MBus_Type->setCurrentIndex(c.Kind);
        (c.Secondary ? Form->RB_ID_Secondary : Form->RB_ID_Primary)->setChecked(true);
        Type(c.Secondary ? Form->E_New_Node_ID_Sec : Form->E_New_Node_ID_Pri, QLatin1String(c.Id));
        Type(Form->E_New_Node_Desc, QStringLiteral("new"));
        if (c.Kind == 0) {
            Type(Form->E_wMBus_ManID, QLatin1String(c.ManID));
            Type(Form->E_wMBus_Add, QLatin1String(c.Address));
            Type(Form->E_wMBus_Ver, QStringLiteral("1"));
            Type(Form->E_wMBus_DevType, QStringLiteral("7"));
            Form->CB_wMBus_EnKey->setChecked(c.Key);
            for (size_t k = 0; k < 16; ++k)
                Type(Form->E_wMBus_K[k], QStringLiteral("1"));
            Type(Form->E_wMBus_K[2], QLatin1String(c.Key3));
        }
        ScriptedMessages messages;
        Press(Form->btn_Add_Node);
        if (c.Refusal) {
            ASSERT_EQ(messages.Shown().size(), 1u);
            EXPECT_EQ(messages.LastText(), Lang(c.Refusal));
            EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
            EXPECT_EQ(Form->Nodi_List.size(), 3u);
            EXPECT_FALSE(Form->Is_Change);
        } else {
            EXPECT_TRUE(messages.Shown().empty()) << messages.LastText().toStdString();
            ASSERT_EQ(Form->Nodi_List.size(), 4u);
            EXPECT_EQ(Root_Children(), 4);
            EXPECT_EQ(Text_Of(Form->Node_Item(3)).endsWith(" - new"), true);
            EXPECT_TRUE(Form->Is_Change);
            if (c.Kind == 0)
                EXPECT_EQ(Form->Nodi_List[3].wMBus_Key[2], QLatin1String(c.Key3)) << "stored as typed";
        }
        Form->hide();
    }
    EXPECT_EQ(Lang(897), "Error!! Address must be between 0x00000000 and 0xFFFFFFFF");
}

TEST_F(MeterListEditor, ModifyingANodeKeepsWhatHasNoControl)
{
    Write_List(Sample_List());
    Open();
    Click_Node(0);
    Type(Form->E_New_Node_Desc, QStringLiteral("Heat meter 2"));
    Form->CB_Cut_After->setCurrentIndex(Form->CB_Cut_After->findText(QStringLiteral("250")));
    ScriptedMessages messages;
    Press(Form->btn_Add_Node);  // "MODIFY NODE" with its own unchanged ID
    EXPECT_TRUE(messages.Shown().empty()) << messages.LastText().toStdString();
    const TNodo& n = Form->Nodi_List[0];
    EXPECT_EQ(n.Description, "Heat meter 2");
    EXPECT_EQ(n.Cut_After, 249);
    EXPECT_EQ(n.Node_State, 7) << "kept";
    EXPECT_EQ(n.NS_Topic, 3) << "kept";
    EXPECT_EQ(n.Var_List.size(), 2u);
    EXPECT_EQ(Text_Of(Form->Node_Item(0)), "ID 5 - Heat meter 2");
    EXPECT_EQ(Root_Children(), 3);
}

// Pixels of a strip of the tree's client area that differ from the strip's first pixel: text drawn
// over its row's background.
int Ink(const QImage& image, QRect strip)
{
    const QRgb background = image.pixel(strip.topLeft());
    int ink = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
        for (int x = strip.left(); x <= strip.right(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

TEST_F(MeterListEditor, ChangesRepaintTheTree)
{
    Write_List(Sample_List());
    Open();
    testsupport::ScreenView view(Form.get());
    Click_Node(0);
    const QRect row = Form->TW->GetDisplayRect(Form->Node_Item(0), tree::NoColumn, false);
    // The end of the long description, right of "ID 5 - X".
    const QRect tail(row.left() + 120, row.top() + 3, 100, row.height() - 6);
    ASSERT_GT(Ink(view.Image(Form->TW->viewport()), tail), 20);
    Type(Form->E_New_Node_Desc, QStringLiteral("X"));
    Press(Form->btn_Add_Node);
    EXPECT_EQ(Ink(view.Image(Form->TW->viewport()), tail), 0) << "the old text stays on screen";

    // A variable added shows as a new row under its node.
    Click_Node(2);
    Form->TW->SetExpanded(Form->Node_Item(2), true);
    view.Settle();
    const QRect below = Form->TW->GetDisplayRect(Form->Var_Item(2, 0), tree::NoColumn, false).translated(0, row.height());
    const QRect strip(below.left() + 40, below.top() + 3, 150, below.height() - 6);
    const int before = Ink(view.Image(Form->TW->viewport()), strip);
    Type(Form->E_New_Var_Desc, QStringLiteral("Added value"));
    Press(Form->btn_Add_Var);
    EXPECT_GT(Ink(view.Image(Form->TW->viewport()), strip), before + 20);
    // Under a collapsed node too: the node opens on its new variable.
    Click_Node(1);
    Form->TW->SetExpanded(Form->Node_Item(1), false);
    view.Settle();
    const QRect next = Form->TW->GetDisplayRect(Form->Node_Item(1), tree::NoColumn, false).translated(0, row.height());
    const QRect next_strip(next.left() + 40, next.top() + 3, 150, next.height() - 6);
    const QImage collapsed = view.Image(Form->TW->viewport()).copy(next_strip);
    Type(Form->E_New_Var_Desc, QStringLiteral("Another value"));
    Press(Form->btn_Add_Var);
    EXPECT_TRUE(Form->TW->GetExpanded(Form->Node_Item(1)));
    EXPECT_NE(view.Image(Form->TW->viewport()).copy(next_strip), collapsed) << "the new row is not on screen";
}

struct VarCase {
    const char* Name;
    const char* Storage;
    const char* Tariff;
    int Dim;
    const char* Length;
    const char* Position;
    int Type;
    int Vife;
    int PostOpe;
    int Refusal;
};

TEST_F(MeterListEditor, VariablesAreCheckedWhenAdded)
{
    const VarCase cases[] = {
        {"largest storage number and tariff", "0xFFFFFFFF", "1048575", 0, "0", "1", 0, 0, 0, 0},
        {"storage number past 32 bits", "4294967296", "0", 0, "0", "1", 0, 0, 0, 872},
        {"tariff past 0xFFFFF", "0", "1048576", 0, "0", "1", 0, 0, 0, 873},
        {"length 192 with variable length", "0", "0", 7, "192", "1", 0, 0, 0, 874},
        {"length 192 with a fixed dimension", "0", "0", 0, "192", "1", 0, 0, 0, 0},
        {"empty position", "0", "0", 0, "0", "", 0, 0, 0, 875},
        {"position 101", "0", "0", 0, "0", "101", 0, 0, 0, 875},
        {"post operation with energy in MWh", "0", "0", 0, "0", "1", 19, 51, 1, 0},
        {"post operation with no VIFE", "0", "0", 0, "0", "1", 19, 0, 1, 880},
        {"post operation with a time point", "0", "0", 0, "0", "1", 20, 0, 3, 879},
    };
    Write_List(Sample_List());
    Open();
    for (const VarCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Click_Node(2);
        const size_t before = Form->Nodi_List[2].Var_List.size();
        Type(Form->E_New_Var_Desc, QLatin1String(c.Name));
        Type(Form->E_Sto_Num, QLatin1String(c.Storage));
        Type(Form->E_Tariff, QLatin1String(c.Tariff));
        Form->CB_Var_Dim->setCurrentIndex(c.Dim);
        Type(Form->E_Length, QLatin1String(c.Length));
        Type(Form->E_Position, QLatin1String(c.Position));
        Form->CB_Var_ToD->setCurrentIndex(c.Type);
        Form->CB_VIFE->setCurrentIndex(c.Vife);
        Form->CB_PostOpe->setCurrentIndex(c.PostOpe);
        ScriptedMessages messages;
        Press(Form->btn_Add_Var);
        if (c.Refusal) {
            EXPECT_EQ(messages.LastText(), Lang(c.Refusal));
            EXPECT_EQ(Form->Nodi_List[2].Var_List.size(), before);
        } else {
            EXPECT_TRUE(messages.Shown().empty()) << messages.LastText().toStdString();
            ASSERT_EQ(Form->Nodi_List[2].Var_List.size(), before + 1);
            EXPECT_EQ(Form->Nodi_List[2].Var_List.back().Description, QLatin1String(c.Name));
            EXPECT_EQ(Form->TW->ChildCount(Form->Node_Item(2)), before + 1);
        }
    }
    EXPECT_EQ(Form->Nodi_List[2].Var_List[1].Storage_Number, 0xFFFFFFFFu);
}

TEST_F(MeterListEditor, DeletingAsksFirst)
{
    Write_List(Sample_List());
    Open();
    ScriptedMessages messages;
    Click_Var(0, 0);
    messages.QueueAnswer(mrNo);
    Form->DeleteItems1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(888));
    EXPECT_EQ(Form->Nodi_List[0].Var_List.size(), 2u);
    messages.QueueAnswer(mrYes);
    Form->DeleteItems1->trigger();
    ASSERT_EQ(Form->Nodi_List[0].Var_List.size(), 1u);
    EXPECT_EQ(Form->Nodi_List[0].Var_List[0].Description, "Volume");
    EXPECT_EQ(Text_Of(Form->Var_Item(0, 0)), "VAR - Volume");
    EXPECT_EQ(Form->TW->ChildCount(Form->Node_Item(0)), 1u);

    Click_Node(1);
    messages.QueueAnswer(mrYes);
    Form->DeleteItems1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(887));
    ASSERT_EQ(Form->Nodi_List.size(), 2u);
    EXPECT_EQ(Root_Children(), 2);
    EXPECT_EQ(Text_Of(Form->Node_Item(1)), "wM-Bus Node - Address 4294967295 - Radio gas meter");

    Click_Root();
    messages.QueueAnswer(mrYes);
    Form->DeleteItems1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(886));
    EXPECT_TRUE(Form->Nodi_List.empty());
    EXPECT_EQ(Root_Children(), 0);
    EXPECT_TRUE(Form->Is_Change);
}

TEST_F(MeterListEditor, OkWritesTheListAndAScanFileComesBackInTheEditorsDialect)
{
    // A list the scanner saved: 3 frames per meter, the second meter not ticked.
    TList_Slave_MBus meters;
    for (int a : {5, 7}) {
        auto m = std::make_unique<TSlave_MBus>();
        m->Primary_Addresss = uint16_t(a);
        m->Secondary_Addresss = QStringLiteral("12345678");
        m->descManufacture = QStringLiteral("PAD");
        auto v = std::make_unique<TVariable_MBus>();
        v->dimension = 4;
        v->Desc_Type_Data = QStringLiteral("Energy");
        m->List_Var.push_back(std::move(v));
        meters.push_back(std::move(m));
    }
    meters[1]->Enable = false;
    TSaveConfXML in;
    in.File_Name = shell::App_State.File_M_Bus;
    in.Cut_After = 3;
    ASSERT_TRUE(Save_XML_Conf_Wired(meters, in, false));

    const int result = Run_Modal(Form.get(), [&] {
        ASSERT_EQ(Root_Children(), 2);
        Click_Node(0);
        EXPECT_EQ(Form->CB_Cut_After->currentText(), "3") << "three frames";
        Click_Node(1);
        EXPECT_FALSE(Form->CB_Enable_Node->isChecked());
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk);
    const TMeterListRead read = File_List();
    ASSERT_TRUE(read.Complete());
    ASSERT_EQ(read.Nodes.size(), 2u);
    EXPECT_EQ(read.Nodes[0].Cut_After, 2);
    EXPECT_FALSE(read.Nodes[1].Enable);
    const QByteArray xml = Dir.Read(QStringLiteral("M_Bus.xml"));
    EXPECT_TRUE(xml.contains("Enable_Node=\"1\""));
    EXPECT_FALSE(xml.contains("ModReg")) << "the scanner's register attributes are gone";
    EXPECT_TRUE(xml.endsWith("<!--SW_VERSION = 1.018-->\n"));

    // Shown again and closed with OK unchanged: the same bytes.
    const QByteArray first = xml;
    EXPECT_EQ(Run_Modal(Form.get(), [&] { Press(Form->Btn_OK); }), platform::mrOk);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), first);
}

TEST_F(MeterListEditor, CancelAsksOnlyAfterAChange)
{
    Write_List(Sample_List());
    const QByteArray before = Dir.Read(QStringLiteral("M_Bus.xml"));
    ScriptedMessages messages;
    EXPECT_EQ(Run_Modal(Form.get(), [&] { Press(Form->Btn_Cancel); }), platform::mrCancel);
    EXPECT_TRUE(messages.Shown().empty());

    const int result = Run_Modal(Form.get(), [&] {
        Click_Var(0, 0);
        Form->CopyVariable1->trigger();
        Form->PasteVariable1->trigger();
        messages.QueueAnswer(mrNo);
        Press(Form->Btn_Cancel);
        EXPECT_EQ(messages.LastText(), Lang(895));
        EXPECT_TRUE(Form->isVisible());
        messages.QueueAnswer(mrYes);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), before);
    // The next showing starts from the file again.
    Open();
    EXPECT_EQ(Form->Nodi_List[0].Var_List.size(), 2u);
}

TEST_F(MeterListEditor, APartlyReadFileIsKeptAsideBeforeOkReplacesIt)
{
    const QByteArray whole = Meter_List_Bytes(Sample_List());
    const QByteArray cut = whole.left(whole.indexOf("Radio gas"));
    Dir.Write(QStringLiteral("M_Bus.xml"), cut);
    ScriptedMessages messages;
    Open();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    EXPECT_TRUE(messages.LastText().contains("could not be read whole"));
    EXPECT_TRUE(messages.LastText().contains("2 nodes")) << messages.LastText().toStdString();
    EXPECT_EQ(Root_Children(), 2);

    // No: nothing written.
    messages.QueueAnswer(mrNo);
    Press(Form->Btn_OK);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), cut);
    EXPECT_TRUE(Form->isVisible());
    // Yes: the cut file kept aside, the list shown written.
    messages.QueueAnswer(mrYes);
    Press(Form->Btn_OK);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml.damaged")), cut);
    const TMeterListRead read = File_List();
    EXPECT_TRUE(read.Complete());
    EXPECT_EQ(read.Nodes.size(), 2u);
}

TEST_F(MeterListEditor, OutOfRangeValuesWarnAndTheOldFileIsKept)
{
    const QByteArray xml = "<M-Bus_Network><Nodo Descrizione=\"a\"><Variabile Desc=\"v\" Type=\"0\" Fun_Field=\"0\" "
                           "Dim=\"0\" Position=\"300\" StoNumber=\"99999999999\"/></Nodo></M-Bus_Network>";
    Dir.Write(QStringLiteral("M_Bus.xml"), xml);
    ScriptedMessages messages;
    Open();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
    EXPECT_TRUE(messages.LastText().contains("\"Position\" = \"300\"")) << messages.LastText().toStdString();
    Click_Var(0, 0);
    EXPECT_EQ(Form->E_Position->text(), "1");
    EXPECT_EQ(Form->E_Sto_Num->text(), "0");
    Press(Form->Btn_OK);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml.damaged")), xml);
}

TEST_F(MeterListEditor, AWriteFailureKeepsTheWindowOpen)
{
    Open();
    shell::App_State.File_M_Bus = Dir.File(QStringLiteral("no folder/M_Bus.xml"));
    Click_Root();
    Type(Form->E_New_Node_ID_Pri, QStringLiteral("3"));
    Press(Form->btn_Add_Node);
    ScriptedMessages messages;
    Press(Form->Btn_OK);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->Nodi_List.size(), 1u);
}

TEST_F(MeterListEditor, ImportReadsThePickedListFirstAndKeepsTheOldOne)
{
    Write_List(Sample_List());
    const QByteArray old = Dir.Read(QStringLiteral("M_Bus.xml"));
    Open();
    ScriptedMessages messages;
    ScriptedFileDialogs files;

    // Cancel in the file dialog: nothing.
    files.QueueAnswer(QString());
    Press(Form->Btn_ImportNet);
    EXPECT_TRUE(messages.Shown().empty());

    // A list that breaks off is refused before anything is replaced.
    TempDir other;
    other.Write(QStringLiteral("broken.xml"), "<M-Bus_Network><Nodo Descrizione=\"x\"><Variab");
    files.QueueAnswer(other.File(QStringLiteral("broken.xml")));
    Press(Form->Btn_ImportNet);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(messages.LastText().contains("cannot be imported")) << messages.LastText().toStdString();
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), old);
    EXPECT_EQ(Form->Nodi_List.size(), 3u);

    // No to the overwrite question: nothing.
    const QByteArray scanned = "<M-Bus_Network><Nodo Node_Enable=\"1\" ID_Primary=\"9\" ID_Secondary=\"1\" "
                               "Node_ID_Type=\"0\" Descrizione=\"ELS\" Send_SND_NKE=\"0\" Reset_App=\"0\" "
                               "Cut_After=\"2\"/></M-Bus_Network>";
    other.Write(QStringLiteral("scan.xml"), scanned);
    files.QueueAnswer(other.File(QStringLiteral("scan.xml")));
    messages.QueueAnswer(mrNo);
    Press(Form->Btn_ImportNet);
    EXPECT_EQ(messages.LastText(), Lang(871));
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), old);

    // Yes: the picked file byte for byte, the old list kept beside it, the window shows the new one.
    files.QueueAnswer(other.File(QStringLiteral("scan.xml")));
    messages.QueueAnswer(mrYes);
    Press(Form->Btn_ImportNet);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml")), scanned);
    EXPECT_EQ(Dir.Read(QStringLiteral("M_Bus.xml.bak")), old);
    ASSERT_EQ(Form->Nodi_List.size(), 1u);
    EXPECT_EQ(Text_Of(Form->Node_Item(0)), "ID 9 - ELS");
    EXPECT_EQ(Form->Nodi_List[0].Cut_After, 1);
    EXPECT_FALSE(Form->Is_Change);
}

}  // namespace meterlist_editor_test
