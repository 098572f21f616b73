// The scanner window against a fake gateway on loopback, with the real engine thread on the fake
// clock: wired and wireless scans, the result views, check marks, saving, key entry and closing.
#include "ScanFixture.h"
#include "controls/buttons_pages/PicButton.h"
#include "controls/tree/StringTree.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "platform/TCanvas.h"
#include "grid/core/ExtColumnGrid.h"
#include "protocols/mbus/UInsertKeyWireless.h"
#include "protocols/mbus/UModbusStartAdd_SD.h"
#include "shell/UComon.h"
#include "protocols/mbus/UScanDecode.h"
#include "shell/ULanguage.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

using namespace mbus_test;

namespace {

// The window's show and close hooks, as the program's modal show and close run them.
class TestScanner : public TFScanDecode {
public:
    using TFScanDecode::TFScanDecode;
    using TFScanDecode::FormClose;
    using TFScanDecode::FormShow;
};

class ScannerWindow : public ::testing::Test {
protected:
    ScannerWindow() : clock(0xFFFFF000LL)
    {
        // With no language loaded every text is empty, and any message would match.
        shell::Load_Default_Language();
        clock.OnSleep = [this](int) {
            if (!gateway.Settle())
                settle_failed = true;
        };
        // The table takes the mouse as the program's tables do.
        window = std::make_unique<TestScanner>(
            grid::TGridLayers{.Editing = grid::editing::EditingLayer(grid::editing::InputHandling())});
        TMBusScanDecode& engine = window->TR_ScanDecode();
        engine.Gateway_Port = gateway.Port();
        gateway.Attach(engine.UDP_Server());
        engine.Local_Address = QStringLiteral("127.0.0.1");
        engine.Local_Port = 0;
        window->XML_Code_Dev = 18;
        window->FileName_MBus = dir.File(QStringLiteral("M_Bus.xml"));
    }
    ~ScannerWindow() override
    {
        window.reset();
        EXPECT_FALSE(settle_failed) << "the gateway and the engine fell out of step";
    }

    void Show(int form_type = 0)
    {
        window->Form_Type = form_type;
        window->show();
        window->FormShow();
        window->E_IP1->setText(QStringLiteral("127"));
        window->E_IP2->setText(QStringLiteral("0"));
        window->E_IP3->setText(QStringLiteral("0"));
        window->E_IP4->setText(QStringLiteral("1"));
    }
    TMBusScanDecode& Engine() { return window->TR_ScanDecode(); }
    // Lets the scan run to its end, then the poll timer fire.
    void Run_To_End()
    {
        ASSERT_TRUE(Wait_For([this] { return !Engine().FInScan(); })) << "the scan did not end";
        clock.Advance(1000);
    }
    void Start_Wireless()
    {
        window->CB_ScanMethod->setCurrentIndex(1);
        window->Move_Object_Type_Form();
        window->E_Port->setText(QString::number(gateway.Port()));
        window->Btn_StartScan->Click();
        ASSERT_EQ(window->Style(), 4);
        Wait_Listening();
    }
    void Wait_Listening()
    {
        ASSERT_TRUE(Wait_For([this] { return Engine().Step_Scan() == 134 || !Engine().FInScan(); }));
        ASSERT_EQ(Engine().Step_Scan(), 134);
    }
    // Sends a telegram as the radio module and lets the window show it.
    void Hear(const Bytes& telegram)
    {
        const uint64_t before = Engine().UDP_Server().DeliveredCount();
        gateway.Inject(Telit_Datagram(telegram));
        ASSERT_TRUE(Wait_For([&] { return Engine().UDP_Server().DeliveredCount() > before; }));
        clock.Advance(TFScanDecode::Wireless_Refresh_Ms);
    }
    QString Saved() const { return QString::fromUtf8(dir.Read(QStringLiteral("M_Bus.xml"))); }

    FakeClock clock;
    FakeGateway gateway;
    TempDir dir;
    std::unique_ptr<TestScanner> window;
    bool settle_failed = false;
};

// Every value of `attribute` in the text, in document order.
std::vector<QString> Attributes(const QString& xml, const QString& attribute)
{
    std::vector<QString> values;
    const QString key = u' ' + attribute + QStringLiteral("=\"");
    for (qsizetype at = xml.indexOf(key); at >= 0; at = xml.indexOf(key, at + 1)) {
        const qsizetype start = at + key.size();
        values.push_back(xml.mid(start, xml.indexOf(u'"', start) - start));
    }
    return values;
}

tree::PTreeNode Child(tree::TNodeStringTree* t, tree::PTreeNode parent, int index)
{
    tree::PTreeNode n = t->GetFirstChild(parent);
    for (int i = 0; n && i < index; ++i)
        n = t->GetNextSibling(n);
    return n;
}

// The centre of a table cell, in the coordinates of the table's viewport.
QPoint Cell_Centre(grid::TExtStringGrid* g, int col, int row)
{
    const grid::TRect rc = g->CellRect(col, row);
    return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
}

// Clicks a node's check box with the mouse, as the user does.
void Click_Check_Box(tree::TNodeStringTree* t, tree::PTreeNode node)
{
    const QRect row = t->GetDisplayRect(node, -1, false);
    for (int x = std::max(0, row.left()); x < row.right(); ++x) {
        tree::THitInfo hit;
        t->GetHitTestInfoAt(x, row.center().y(), true, hit);
        if (hit.HitNode == node && (hit.HitPositions & tree::hiOnItemCheckbox)) {
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
            return;
        }
    }
    ADD_FAILURE() << "no check box on the node";
}

TEST_F(ScannerWindow, WiredScanFillsTheViewsAndSavesTheTickedRecords)
{
    gateway.Add_Meter({.Primary = 1, .Id = 0x11111111, .Frames = {Meter_Frame(1, 0x11111111)}});
    gateway.Add_Meter({.Primary = 5, .Id = 0x12345678, .Frames = {Meter_Frame(5, 0x12345678)}});
    Show();
    EXPECT_EQ(window->Style(), 1);
    EXPECT_FALSE(window->CB_ScanMethod->isVisible());
    window->Btn_StartScan->Click();
    EXPECT_EQ(window->Style(), 2);
    EXPECT_TRUE(window->LB_AvailableDevice->isVisible());
    EXPECT_TRUE(window->Btn_StopScan->isVisible());
    EXPECT_FALSE(window->Btn_StartScan->isVisible());
    Run_To_End();

    // One progress line per address, in order.
    ASSERT_EQ(window->LB_AvailableDevice->count(), 251);
    EXPECT_EQ(window->LB_AvailableDevice->item(0)->text(), QStringLiteral("ID = 0\t[NOT FOUND]"));
    EXPECT_EQ(window->LB_AvailableDevice->item(5)->text(), QStringLiteral("ID = 5\t"));

    EXPECT_EQ(window->Style(), 3);
    EXPECT_EQ(window->L_Num_Slave->text(), QStringLiteral("2"));
    EXPECT_EQ(window->L_ScanProgress->text(), shell::Lang(3319));
    EXPECT_TRUE(window->VST->isVisible());
    EXPECT_FALSE(window->LB_AvailableDevice->isVisible());
    tree::TNodeStringTree* t = window->VST;
    ASSERT_EQ(t->RootNodeCount(), 2u);
    tree::PTreeNode second = Child(t, nullptr, 1);
    EXPECT_TRUE(t->Text(second, -1).startsWith(QStringLiteral("Primary Address = 5 - Secondary Address = 12345678")));
    EXPECT_EQ(t->GetCheckState(second), tree::csCheckedNormal);
    t->SetExpanded(second, true);
    ASSERT_EQ(t->ChildCount(second), 3u);
    tree::PTreeNode record = Child(t, second, 1);
    EXPECT_TRUE(t->Text(record, -1).startsWith(QStringLiteral("Value = ")));
    t->SetExpanded(record, true);
    EXPECT_EQ(t->ChildCount(record), 12u);
    EXPECT_TRUE(t->Text(Child(t, record, 8), -1).startsWith(QStringLiteral("VIF = $")));

    // The user unticks the second record of the second meter and saves.
    Click_Check_Box(t, record);
    EXPECT_EQ(t->GetCheckState(record), tree::csUncheckedNormal);
    EXPECT_FALSE(window->Wired_Marks().Checked(1, 1));
    ScriptedMessages messages;
    window->Btn_SaveConf->Click();
    EXPECT_EQ(messages.LastText(), shell::Lang(3330));
    const QString xml = Saved();
    EXPECT_EQ(Attributes(xml, QStringLiteral("ID_Primary")), (std::vector<QString>{"1", "5"}));
    EXPECT_EQ(Attributes(xml, QStringLiteral("Enable")), (std::vector<QString>{"1", "1", "1", "1", "0", "1"}));

    // A second save asks first; Cancel writes nothing.
    messages.QueueAnswer(platform::mrCancel);
    window->Btn_SaveConf->Click();
    EXPECT_EQ(messages.LastText(), shell::Lang(3337));
    EXPECT_EQ(Saved(), xml);

    // New Scan frees the wired results and shows the options again.
    window->Btn_NewScan->Click();
    EXPECT_EQ(window->Style(), 1);
    EXPECT_EQ(t->RootNodeCount(), 0u);
    std::lock_guard lock(Engine().List_Mutex);
    EXPECT_TRUE(Engine().List_Slave_MBus.empty());
}

TEST_F(ScannerWindow, AScanThatFindsNoMeterShowsZeroAndWritesNothing)
{
    Show();
    window->Btn_StartScan->Click();
    Run_To_End();
    EXPECT_EQ(window->Style(), 3);
    EXPECT_EQ(window->L_Num_Slave->text(), QStringLiteral("0"));
    EXPECT_EQ(window->VST->RootNodeCount(), 0u);
    ScriptedMessages messages;
    window->Btn_SaveConf->Click();
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_FALSE(QFile::exists(window->FileName_MBus));
}

// A family member that maps each meter to its own registers asks for them per meter; the table
// lists the meters found and its rows become the meters' start registers.
TEST_F(ScannerWindow, PerMeterStartRegistersComeFromTheStartAddressTable)
{
    gateway.Add_Meter({.Primary = 1, .Id = 0x11111111, .Frames = {Meter_Frame(1, 0x11111111)}});
    gateway.Add_Meter({.Primary = 5, .Id = 0x12345678, .Frames = {Meter_Frame(5, 0x12345678)}});
    Show();
    window->XML_Code_Dev = 0;
    window->Btn_StartScan->Click();
    Run_To_End();
    ASSERT_EQ(window->Style(), 3);
    EXPECT_TRUE(window->Btn_SaveConfManual->isVisible());

    QStringList listed;
    QTimer::singleShot(0, window.get(), [&] {
        TFModbusStartAdd_SD* dialog = FModbusStartAdd_SD();
        for (int r = 1; r < dialog->sga->RowCount(); ++r)
            listed << dialog->sga->Cells(0, r) + u'=' + dialog->sga->Cells(1, r);
        dialog->sga->SetCells(1, 1, QStringLiteral("100"));
        dialog->sga->SetCells(1, 2, QStringLiteral("200"));
        dialog->CB_En_NodeState->setChecked(true);
        dialog->Btn_OK->Click();
    });
    ScriptedMessages messages;
    window->Btn_SaveConfManual->Click();
    EXPECT_EQ(listed, (QStringList{"1 - 11111111=1", "5 - 12345678=1"}));
    EXPECT_EQ(messages.LastText(), shell::Lang(3330));
    const QString xml = Saved();
    EXPECT_EQ(Attributes(xml, QStringLiteral("Node_State")), (std::vector<QString>{"100", "200"}));
    const std::vector<QString> registers = Attributes(xml, QStringLiteral("ModReg"));
    ASSERT_EQ(registers.size(), 6u);  // three records a meter
    EXPECT_EQ(registers[0], QStringLiteral("101"));
    EXPECT_EQ(registers[3], QStringLiteral("201"));
    FModbusStartAdd_SD()->CB_En_NodeState->setChecked(false);
}

// The gateway's address comes from the project's communication settings, by family member.
TEST_F(ScannerWindow, ShowingReadsTheGatewayAddressFromTheSettings)
{
    struct Case {
        int Code;
        const char* Stem;
        bool Fourth;  // the fourth element is there
        const char* Expected;
    } cases[] = {
        {18, "Ethernet_IP", true, "10.1.2.3"},
        {15, "Modbus_TCP_Slave_IP", true, "10.1.2.3"},
        {11, "PROFINET_IP", true, "10.1.2.3"},
        {6, "BACnet_IP", true, "10.1.2.3"},
        {16, "Eth_IP", true, "10.1.2.3"},
        {3, "IP_", true, "10.1.2.3"},
        {18, "Ethernet_IP", false, "10.1.2.205"},  // a missing element leaves its edit as it was
        {18, "IP_", true, "192.168.2.205"},        // another member's names are not read
    };
    const QString file = dir.File(QStringLiteral("ParGen.xml"));
    shell::App_State.File_ParGen = file;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Stem);
        QByteArray xml = "<ParGen>";
        for (int i = 1; i <= (c.Fourth ? 4 : 3); ++i)
            xml += "<" + QByteArray(c.Stem) + QByteArray::number(i) + ">" + QByteArray::number(i == 1 ? 10 : i - 1) +
                   "</" + QByteArray(c.Stem) + QByteArray::number(i) + ">";
        dir.Write(QStringLiteral("ParGen.xml"), xml + "</ParGen>");
        window->E_IP1->setText(QStringLiteral("192"));
        window->E_IP2->setText(QStringLiteral("168"));
        window->E_IP3->setText(QStringLiteral("2"));
        window->E_IP4->setText(QStringLiteral("205"));
        window->XML_Code_Dev = c.Code;
        window->FormShow();
        EXPECT_EQ(QStringList({window->E_IP1->text(), window->E_IP2->text(), window->E_IP3->text(),
                               window->E_IP4->text()})
                      .join(u'.'),
                  QString::fromLatin1(c.Expected));
    }
    shell::App_State.File_ParGen.clear();
}

TEST_F(ScannerWindow, RefusalsAndTheAnalyzerErrorLeaveTheWindowUsable)
{
    Show(1);
    ScriptedMessages messages;
    window->CB_ScanMethod->setCurrentIndex(1);
    window->Move_Object_Type_Form();
    EXPECT_EQ(window->E_Port->text(), QStringLiteral("10001"));
    for (const char* port : {"70000", "abc", "-1"}) {
        window->E_Port->setText(QString::fromLatin1(port));
        window->Btn_StartScan->Click();
        EXPECT_EQ(messages.LastText(), shell::Lang(3338)) << port;
        EXPECT_EQ(window->Style(), 1);
    }

    // The gateway never enters its analyzer mode. The engine is held, so that the scan surely
    // still runs at the second start.
    gateway.Ignore_Command("Kelvor_Enable_Analyzer_Mode", 100);
    window->CB_ScanMethod->setCurrentIndex(0);
    window->Move_Object_Type_Form();
    Engine().Set_Run(false);
    window->Btn_StartScan->Click();
    ASSERT_EQ(window->Style(), 2);
    ASSERT_TRUE(Engine().FInScan());
    // The running scan hides the start button, so a click on it does nothing; its handler, called
    // all the same, refuses to start a second scan.
    const size_t shown = messages.Shown().size();
    window->Btn_StartScan->Click();
    EXPECT_EQ(messages.Shown().size(), shown);
    window->Select_Scan();
    EXPECT_EQ(messages.LastText(), shell::Lang(3326));
    EXPECT_EQ(window->Style(), 2);
    Engine().Set_Run(true);
    Run_To_End();
    EXPECT_EQ(messages.LastText(), shell::Lang(3329));
    EXPECT_EQ(window->Style(), 1);
}

// The wireless road: an encrypted meter is heard, its key entered in the dialog, and its next
// telegram is decoded; the ticks the user set stay with their records across telegrams.
TEST_F(ScannerWindow, WirelessKeyEntryDecodesAndTicksSurviveNewTelegrams)
{
    Show(1);
    Start_Wireless();
    Hear(Annex_Telegram());
    grid::TExtStringGrid* table = window->ESG_Wireless;
    ASSERT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->Cells(0, 1), QStringLiteral("1"));
    EXPECT_EQ(table->Cells(8, 1), QStringLiteral("12345678"));
    EXPECT_EQ(table->GetColors(3, 1), platform::RGBToColor(255, 187, 185));
    int picture = -1;
    EXPECT_TRUE(table->GetImageIdx(12, 1, picture));
    EXPECT_EQ(picture, 0);

    // Double-click on the encrypted meter: the dialog opens; the key is typed and confirmed.
    QString key;
    for (uint8_t b : Annex_Key())
        key += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
    bool dialog_seen = false;
    QTimer::singleShot(0, window.get(), [&] {
        TFInsertKeyWireless* dialog = FInsertKeyWireless();
        dialog_seen = dialog->isVisible();
        dialog->E_Key->setText(key.toUpper());
        dialog->Btn_OK->Click();
    });
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, Cell_Centre(table, 3, 1));
    ASSERT_TRUE(dialog_seen);
    Wait_Listening();
    // Where the mouse stands near the window's corner, the dialog is moved back inside it.
    QTimer::singleShot(0, window.get(), [&] { FInsertKeyWireless()->Btn_Cancel->Click(); });
    window->ESG_WirelessDblClickCell(1, 3, window->mapToGlobal(QPoint(990, 560)));
    const QRect dialog = FInsertKeyWireless()->geometry();
    EXPECT_LE(dialog.right(), window->mapToGlobal(QPoint(window->width() - 1, 0)).x());
    EXPECT_LE(dialog.bottom(), window->mapToGlobal(QPoint(0, window->height() - 1)).y());
    EXPECT_GE(dialog.left(), window->mapToGlobal(QPoint(0, 0)).x());

    Hear(Annex_Telegram());
    EXPECT_EQ(table->GetColors(3, 1), platform::RGBToColor(168, 255, 168));
    EXPECT_TRUE(table->GetImageIdx(12, 1, picture));
    EXPECT_EQ(picture, 1);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, Cell_Centre(table, 2, 1));
    tree::TNodeStringTree* t = window->VST_Wireless;
    ASSERT_EQ(t->RootNodeCount(), 1u);
    tree::PTreeNode meter = t->GetFirstChild(nullptr);
    EXPECT_FALSE(t->Text(meter, -1).contains(QStringLiteral("CRIPTED")));
    t->SetExpanded(meter, true);
    // The user unticks the second record that is not an idle filler.
    int unticked = -1;
    for (int i = 0, real = 0; i < int(t->ChildCount(meter)) && unticked < 0; ++i)
        if (t->Text(Child(t, meter, i), -1) != QStringLiteral("Idle Filler") && ++real == 2)
            unticked = i;
    ASSERT_GE(unticked, 0);
    Click_Check_Box(t, Child(t, meter, unticked));

    // The next telegram replaces the meter's records; the tick stays where the user set it.
    Hear(Annex_Telegram());
    meter = t->GetFirstChild(nullptr);
    EXPECT_TRUE(t->GetExpanded(meter));
    EXPECT_EQ(t->GetCheckState(Child(t, meter, unticked)), tree::csUncheckedNormal);
    EXPECT_EQ(t->GetCheckState(Child(t, meter, unticked - 1)), tree::csCheckedNormal);

    window->Btn_StopScan->Click();
    Run_To_End();
    EXPECT_EQ(window->Style(), 5);
    ScriptedMessages messages;
    window->Btn_SaveConf->Click();
    EXPECT_EQ(messages.LastText(), shell::Lang(3330));
    const QString xml = Saved();
    EXPECT_EQ(Attributes(xml, QStringLiteral("wMBus_En_Key")), (std::vector<QString>{"1"}));
    const std::vector<QString> enable = Attributes(xml, QStringLiteral("Enable"));
    const std::vector<QString> position = Attributes(xml, QStringLiteral("Position"));
    ASSERT_EQ(enable.size(), position.size());
    ASSERT_GE(enable.size(), 2u);
    for (size_t i = 0; i < enable.size(); ++i)
        EXPECT_EQ(enable[i], position[i] == QString::number(unticked + 1) ? "0" : "1") << position[i].toStdString();
}

TEST_F(ScannerWindow, AKeyTheEngineRefusesIsReported)
{
    Show(1);
    Start_Wireless();
    Hear(Annex_Telegram());
    window->Btn_StopScan->Click();
    Run_To_End();
    ScriptedMessages messages;
    window->Insert_Key(0, QStringLiteral("000102030405060708090A0B0C0D0E0F"));
    EXPECT_EQ(messages.LastText(), shell::Lang(3343));
    EXPECT_EQ(messages.Shown().back().Type, platform::TMsgDlgType::mtError);
}

// The radio module answers the key with an error: the engine ends the scan, and the message names
// the key rather than a missing analyzer.
TEST_F(ScannerWindow, AKeyTheRadioModuleRefusesIsNamedWhenTheScanEnds)
{
    Show(1);
    Start_Wireless();
    Hear(Annex_Telegram());
    gateway.Refuse_Keys(true);
    ScriptedMessages messages;
    window->Insert_Key(0, QStringLiteral("0F0E0D0C0B0A09080706050403020100"));
    EXPECT_TRUE(messages.Shown().empty());
    Run_To_End();
    EXPECT_EQ(messages.LastText(), shell::Lang(3345));
    EXPECT_EQ(window->Style(), 1);
}

// Closing runs the engine's closing states (the gateway leaves its configuration mode) within a
// bounded wait, and what the gateway sends afterwards is neither decoded nor shown.
TEST_F(ScannerWindow, ClosingEndsTheScanAndStopsDecoding)
{
    Show(1);
    Start_Wireless();
    Hear(Annex_Telegram());
    ASSERT_EQ(window->ESG_Wireless->RowCount(), 2);
    window->close();
    EXPECT_FALSE(Engine().FInScan());
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);

    Bytes other = Annex_Telegram();
    other[4] = 0x99;  // another meter's identification number
    gateway.Inject(Telit_Datagram(other));
    clock.Advance(1000);
    QCoreApplication::sendPostedEvents();
    std::lock_guard lock(Engine().List_Mutex);
    EXPECT_EQ(Engine().List_Slave_wMBus.size(), 1u);
    EXPECT_EQ(window->ESG_Wireless->RowCount(), 2);
}

// Ten thousand telegrams of two meters become a few table refreshes, not ten thousand.
TEST_F(ScannerWindow, WirelessUpdatesAreCoalesced)
{
    Show(1);
    window->CB_ScanMethod->setCurrentIndex(1);
    TSlave_wMBus a, b;
    a.ALA_Address = 1;
    b.ALA_Address = 2;
    b.Cripted = true;
    for (int i = 0; i < 10000; ++i) {
        a.RSSI = int8_t(-(i % 100));
        window->Update_Grid_Wireless(0, &a);
        window->Update_Grid_Wireless(4, &b);
    }
    EXPECT_EQ(window->ESG_Wireless->RowCount(), 2);
    clock.Advance(TFScanDecode::Wireless_Refresh_Ms);
    EXPECT_EQ(window->Wireless_Refreshes(), 1);
    // The row for index 4 grows the table to six rows; the last values are shown.
    EXPECT_EQ(window->ESG_Wireless->RowCount(), 6);
    EXPECT_EQ(window->ESG_Wireless->Cells(0, 5), QStringLiteral("5"));
    EXPECT_EQ(window->ESG_Wireless->Cells(11, 1), QStringLiteral("-99"));
    EXPECT_EQ(window->ESG_Wireless->GetColors(0, 5), platform::RGBToColor(255, 187, 185));
}

TEST_F(ScannerWindow, LayoutFollowsTheFormTypeAndScanMethod)
{
    struct Case {
        int Form_Type;
        int Method;
        int Height;
        int ScanBy, Hardware, Ip, Heading;  // label tops, -1 hidden
        bool Port;
    } cases[] = {
        {0, 0, 523, 11, 43, 67, 99, false},
        {1, 0, 571, 43, 75, 99, 131, false},
        {1, 1, 571, -1, 43, 67, 123, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Form_Type * 10 + c.Method);
        window->Form_Type = c.Form_Type;
        window->show();
        window->CB_ScanMethod->setCurrentIndex(c.Method);
        window->Move_Object_Type_Form();
        EXPECT_EQ(window->height(), c.Height);
        EXPECT_EQ(window->L_ScanBy->isVisible() ? window->L_ScanBy->y() : -1, c.ScanBy);
        EXPECT_EQ(window->L_HardwareType->y(), c.Hardware);
        EXPECT_EQ(window->L_IP->y(), c.Ip);
        EXPECT_EQ(window->E_IP2->x(), 242);
        EXPECT_EQ(window->L_MBus_ParGen->y(), c.Heading);
        EXPECT_EQ(window->E_Port->isVisible(), c.Port);
        EXPECT_EQ(window->CB_MBus_Baud->isVisible(), !c.Port);
        EXPECT_EQ(window->CB_MBus_Baud->y(), c.Heading + 24 - 3);
        EXPECT_FALSE(window->CB_HardwareType->isEnabled());
    }
}

// A dot typed in an address part is not kept: it moves on to the next part, as an address is typed.
TEST_F(ScannerWindow, ADotInTheAddressMovesToTheNextPart)
{
    Show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->E_IP1->clear();
    window->E_IP1->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10."));
    EXPECT_EQ(window->E_IP1->text(), QStringLiteral("10"));
    EXPECT_EQ(QApplication::focusWidget(), window->E_IP2);
    window->E_IP4->setFocus();
    window->E_IP4->clear();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7."));
    EXPECT_EQ(window->E_IP4->text(), QStringLiteral("7"));
    EXPECT_EQ(QApplication::focusWidget(), window->E_IP4);
}

// Found addresses are drawn blue, missing ones red in two columns; the list paints itself.
TEST_F(ScannerWindow, ProgressLinesAreDrawnByWhetherTheMeterAnswered)
{
    Show();
    window->Form_Style(2);
    window->Update_List_of_Device(2, 5, 1, 1);
    window->Update_List_of_Device(2, 6, 0, 1);
    QListWidget* list = window->LB_AvailableDevice;
    QApplication::processEvents();
    const QImage image = list->viewport()->grab().toImage();
    // Pixels of a text in the colour (its edges are smoothed, so a near colour counts).
    const auto count = [&](QRect r, QColor colour) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                n += std::abs(p.red() - colour.red()) < 60 && std::abs(p.green() - colour.green()) < 60 &&
                     std::abs(p.blue() - colour.blue()) < 60;
            }
        return n;
    };
    const QRect found = list->visualItemRect(list->item(0));
    const QRect missing = list->visualItemRect(list->item(1));
    EXPECT_GT(count(found, QColor(0, 0, 255)), 10);
    EXPECT_EQ(count(found, QColor(255, 0, 0)), 0);
    EXPECT_EQ(count(missing, QColor(0, 0, 255)), 0);
    // "ID = 6" in the first 70 pixels, "[NOT FOUND]" from x = 70.
    EXPECT_GT(count(missing.adjusted(0, 0, 70 - missing.width(), 0), QColor(255, 0, 0)), 10);
    EXPECT_GT(count(missing.adjusted(72, 0, 0, 0), QColor(255, 0, 0)), 10);
}

}  // namespace
