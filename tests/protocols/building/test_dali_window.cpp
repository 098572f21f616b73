// The DALI window driven as a user drives it: devices, functions and access rules entered on
// their pages, OK refused and then taken, both files written and the window reopened unchanged;
// rows below a table's end asked about; row buttons; hostile files.
#include "protocols/building/UDALI_Access.h"
#include "protocols/fieldbus/setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTabBar>

namespace dali_window_test {

namespace dali = building::dali;
namespace dev = building::dali::dev;
namespace acc = building::dali::acc;
namespace fun = building::dali::fun;

class DaliWindow : public SetupWindowTest<TFDALI_Access> {
protected:
    grid::TExtColumnGrid& Devices() { return *Form->ACG_DALI_Device; }
    grid::TExtColumnGrid& Rules() { return *Form->ESG; }
    grid::TExtColumnGrid& Functions() { return *Form->ACG; }

    // Clicks a page's tab as the user does.
    void Page(int index)
    {
        QTabBar* bar = Form->PC_DALI->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(Form->PC_DALI->currentIndex(), index);
    }
    void ClickIn(grid::TExtColumnGrid& g, int realCol, int row)
    {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, Centre(g, realCol, row));
    }
    void EnterIn(grid::TExtColumnGrid& g, int realCol, int row, const QString& text)
    {
        ClickIn(g, realCol, row);
        Type(text);
        Key(Qt::Key_Return);
    }
    void ReplaceIn(grid::TExtColumnGrid& g, int realCol, int row, const QString& text)
    {
        const int old = int(g.Cells(realCol, row).size());
        ClickIn(g, realCol, row);
        Key(Qt::Key_F2);
        Key(Qt::Key_End);
        for (int i = 0; i < old; ++i)
            Key(Qt::Key_Backspace);
        Type(text);
        Key(Qt::Key_Return);
    }
    void PickIn(grid::TExtColumnGrid& g, int realCol, int row, int downs)
    {
        ClickIn(g, realCol, row);
        Key(Qt::Key_F2);
        for (int i = 0; i < downs; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    }
    // Rows 1 .. count of a grid from column 1 on, one line a row.
    static std::string Lines(grid::TExtColumnGrid& g, int count)
    {
        QStringList out;
        for (int r = 1; r <= count; ++r) {
            QStringList cells;
            for (int c = 1; c < g.ColCount(); ++c)
                cells.append(g.Cells(c, r));
            out.append(cells.join('|'));
        }
        return out.join('\n').toStdString();
    }
    std::string Device_Lines(const std::vector<int>& devices)
    {
        QStringList out;
        for (int n : devices)
            out.append(QStringLiteral("%1|%2|%3|%4")
                           .arg(Devices().Cells(dev::Name, n + 1), Devices().Cells(dev::Enable, n + 1),
                                Devices().Cells(dev::Min_Max, n + 1), Devices().Cells(dev::Recall_Level, n + 1)));
        return out.join('\n').toStdString();
    }
    QStringList Shown_Buttons()
    {
        QStringList shown;
        for (controls::TPicButton* b : {Form->Btn_OK, Form->Btn_Cancel, Form->Btn_SelectAll, Form->Btn_ClearAll,
                                        Form->Btn_DelRow, Form->Btn_InsRow, Form->Btn_CopyRow, Form->Btn_PasteRow})
            if (b->isVisible())
                shown.append(QStringLiteral("%1@%2").arg(b->Caption()).arg(b->x()));
        return shown;
    }
};

TEST_F(DaliWindow, PagesTypedSavedAndReopenedUnchanged)
{
    std::string devices, functions, rules;
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Form->size(), QSize(1200, 496));
        EXPECT_EQ(Form->Caption(), "DALI Access");
        EXPECT_EQ(Form->L_SW_Desc->text(), "Select the DALI Device Present in the  Network");
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the DALI Devices, Rules and Functions");
        EXPECT_EQ(Form->Btn_Cancel->Hint(), "Exit without save the DALI Devices, Rules and Functions");
        QStringList tabs;
        for (int t = 0; t < Form->PC_DALI->count(); ++t)
            tabs.append(Form->PC_DALI->tabText(t));
        EXPECT_EQ(tabs, QStringList({"Select Device", "Set Access", "Functions"}));
        EXPECT_EQ(Form->PC_DALI->currentIndex(), 0);
        EXPECT_EQ(Shown_Buttons(), QStringList({"OK@16", "Cancel@134", "Select All@252", "Clear All@370"}));
        EXPECT_EQ(Devices().RowCount(), 65);
        EXPECT_EQ(Devices().Cells(dev::Recall_Level, 0), "Recall Level");
        EXPECT_TRUE(Devices().IsHiddenColumn(dev::Address));
        EXPECT_TRUE(Devices().IsHiddenColumn(dev::Dimming_Mode));
        EXPECT_EQ(Device_Lines({0, 63}), "DALI ID Device 0|N|N|None\nDALI ID Device 63|N|N|None");

        // Devices: all selected, one cleared again, options of device 0 set.
        Press(Form->Btn_SelectAll);
        ClickIn(Devices(), dev::Enable, 2);
        ClickIn(Devices(), dev::Min_Max, 1);
        PickIn(Devices(), dev::Recall_Level, 1, 1);  // the list opens on "None"
        EXPECT_EQ(Device_Lines({0, 1, 2}), "DALI ID Device 0|Y|Y|Recall Min-Max Level for Switch\n"
                                           "DALI ID Device 1|N|N|None\nDALI ID Device 2|Y|N|None");

        // Functions: picking a button event sets its condition.
        Page(2);
        EXPECT_EQ(Shown_Buttons(), QStringList({"OK@16", "Cancel@134", "Delete Row@252", "Insert Row@370",
                                                "Copy Row@488", "Paste Row@606"}));
        EXPECT_EQ(Functions().RowCount(), 251);
        EXPECT_EQ(Functions().Cells(fun::Channel, 0), "Channel");
        QString hint;
        Form->GridHint(&Functions(), 0, fun::Val, hint);
        EXPECT_EQ(hint, "Insert the Brightness Value");
        PickIn(Functions(), fun::Function, 1, 6);  // Set Out
        // The Value list takes typed text too: an event typed whole counts as picked.
        EnterIn(Functions(), fun::Value, 1, "Short Press");
        EXPECT_EQ(Functions().Cells(fun::Value, 1), "Short Press");
        EXPECT_EQ(Functions().Cells(fun::Condition, 1), "When Equal to Value");
        PickIn(Functions(), fun::Channel, 1, 4);  // DALI Channel 3
        EnterIn(Functions(), fun::Val, 1, "254");
        EnterIn(Functions(), fun::Mnemonic, 1, "Hall");
        PickIn(Functions(), fun::Function, 2, 2);  // Multiplication
        EnterIn(Functions(), fun::Value, 2, "2.5");
        EnterIn(Functions(), fun::Next_Function, 2, "1");
        EnterIn(Functions(), fun::Mnemonic, 2, "Scale");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Functions - Error Row 2!! Condition cannot be empty");
        PickIn(Functions(), fun::Condition, 2, 1);  // No Condition

        // Access rules: the Type list follows Dev/Sen, the Function list names the functions.
        Page(1);
        EXPECT_EQ(Form->SelFunct.mid(0, 4), QStringList({"0 - None", "1 - Hall", "2 - Scale", "3 - "}));
        EXPECT_EQ(Form->SelFunct.size(), 251);
        EXPECT_EQ(Form->SelFunct.at(250), "250 - ");
        EXPECT_EQ(Rules().RowCount(), 257);
        PickIn(Rules(), acc::DeviceSensor, 1, 1);  // Device
        PickIn(Rules(), acc::Type, 1, 5);          // Dimmer
        EnterIn(Rules(), acc::ChannelNumber, 1, "3");
        EnterIn(Rules(), acc::Instance, 1, "0");
        EnterIn(Rules(), acc::Command, 1, "144");
        EnterIn(Rules(), acc::TimeSend, 1, "1000");
        EnterIn(Rules(), acc::TimeOut, 1, "5000");
        PickIn(Rules(), acc::Function, 1, 2);  // 1 - Hall
        EnterIn(Rules(), acc::Position, 1, "1440");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Set Access - Error Row 1!! Position Must be Between 0 and 1439");
        ReplaceIn(Rules(), acc::Position, 1, "1439");
        PickIn(Rules(), acc::DeviceSensor, 2, 2);  // Sensor
        PickIn(Rules(), acc::Type, 2, 5);          // Light Sensor
        EnterIn(Rules(), acc::ChannelNumber, 2, "63");
        EnterIn(Rules(), acc::Instance, 2, "31");
        EnterIn(Rules(), acc::Command, 2, "255");
        EnterIn(Rules(), acc::TimeSend, 2, "0");
        EnterIn(Rules(), acc::TimeOut, 2, "0");
        EnterIn(Rules(), acc::Position, 2, "1439");
        PickIn(Rules(), acc::NumBytes, 2, 2);  // 2
        EnterIn(Rules(), acc::Mnemonic, 2, "lux");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Set Access - Error Row 2!! Position plus Num Bytes must be lower or equal to 1440");
        ReplaceIn(Rules(), acc::Position, 2, "1438");
        ClickIn(Rules(), acc::Enable, 2);  // a disabled rule is saved too
        devices = Device_Lines({0, 1, 2, 63});
        functions = Lines(Functions(), 3);
        rules = Lines(Rules(), 3);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(functions, "Set Out|When Equal to Value|Short Press|DALI Channel 3|254||Hall\n"
                         "Multiplication|No Condition|2.5|||1|Scale\n||||||");
    EXPECT_EQ(rules, "Y|Device|Dimmer|3|0|144|1000|5000|1 - Hall|1439||\n"
                     "N|Sensor|Light Sensor|63|31|255|0|0||1438|2|lux\nY|||||||||||");
    EXPECT_EQ(Dir.Read("DALI2_Access.xml"),
              "<DALI2_Access><DALI2_Functions_Rules>"
              "<row Function=\"Set Out\" Condition=\"When Equal to Value\" Value=\"Short Press\" Channel=\"DALI Channel 3\" "
              "Val=\"254\" Next_Function=\"\" Mnemonic=\"Hall\"/>"
              "<row Function=\"Multiplication\" Condition=\"No Condition\" Value=\"2.5\" Channel=\"\" Val=\"\" "
              "Next_Function=\"1\" Mnemonic=\"Scale\"/></DALI2_Functions_Rules><DALI2_SetAccess_Rules>"
              "<row Enable=\"Y\" DeviceSensor=\"Device\" Type=\"Dimmer\" ChannelNumber=\"3\" Instance=\"0\" Command=\"144\" "
              "TimeSend=\"1000\" TimeOut=\"5000\" Function=\"1 - Hall\" Position=\"1439\" NumBytes=\"\" Mnemonic=\"\"/>"
              "<row Enable=\"N\" DeviceSensor=\"Sensor\" Type=\"Light Sensor\" ChannelNumber=\"63\" Instance=\"31\" "
              "Command=\"255\" TimeSend=\"0\" TimeOut=\"0\" Function=\"\" Position=\"1438\" NumBytes=\"2\" "
              "Mnemonic=\"lux\"/></DALI2_SetAccess_Rules></DALI2_Access><!--SW_VERSION = 1.305-->");
    const QByteArray deviceFile = Dir.Read("DALI_Access.xml");
    EXPECT_TRUE(deviceFile.startsWith(
        "<DALI_Access><DALI_ID_DEVICE_0>1</DALI_ID_DEVICE_0><DALI_ID_DEVICE_0_MIN_MAN_VALUE>1"
        "</DALI_ID_DEVICE_0_MIN_MAN_VALUE><DALI_ID_DEVICE_0_RECALL_LEVEL>Recall Min-Max Level for Switch"
        "</DALI_ID_DEVICE_0_RECALL_LEVEL><DALI_ID_DEVICE_1>0</DALI_ID_DEVICE_1>"));
    EXPECT_EQ(deviceFile.count(">1</DALI_ID_DEVICE_"), 64);  // 63 devices and one Min-Max Value

    Messages.Clear();
    Form->PC_DALI->setCurrentIndex(0);
    Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Device_Lines({0, 1, 2, 63}), devices);
        EXPECT_EQ(Lines(Functions(), 3), functions);
        EXPECT_EQ(Lines(Rules(), 3), rules);
        Press(Form->Btn_Cancel);
    });
}

TEST_F(DaliWindow, EventsPickedFromTheDroppedListSetTheirConditions)
{
    Run([&] {
        Page(2);
        ClickIn(Functions(), fun::Value, 1);
        Key(Qt::Key_F2);
        QTest::keyClick(Focus(), Qt::Key_Down, Qt::AltModifier);
        for (int i = 0; i < 11; ++i)  // Button Released .. Vacant
            Key(Qt::Key_Down);
        Key(Qt::Key_Return);  // the pick
        Key(Qt::Key_Return);  // the cell
        EXPECT_EQ(Functions().Cells(fun::Value, 1), "Vacant");
        EXPECT_EQ(Functions().Cells(fun::Condition, 1), "NAND Logic with Value");
        // A number leaves the Condition as it is.
        PickIn(Functions(), fun::Condition, 2, 3);
        EnterIn(Functions(), fun::Value, 2, "12");
        EXPECT_EQ(Functions().Cells(fun::Condition, 2), "When Lower to Value");
        ReplaceIn(Functions(), fun::Value, 2, "Occupied");
        EXPECT_EQ(Functions().Cells(fun::Condition, 2), "AND Logic with Value");
        Press(Form->Btn_Cancel);
    });
}

// A row below the first empty key of either table would be dropped: OK names it and asks.
TEST_F(DaliWindow, OkAsksBeforeDroppingRowsBelowATablesEnd)
{
    Run([&] {
        Page(2);
        PickIn(Functions(), fun::Function, 1, 1);
        PickIn(Functions(), fun::Condition, 1, 1);
        EnterIn(Functions(), fun::Value, 1, "0");
        EnterIn(Functions(), fun::Mnemonic, 3, "forgotten");
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "[Functions] Row 3 holds data, but the Function of row 2 is empty: the table ends at row 2, so row 3 "
                  "and every row after row 2 will not be saved. Save anyway?");
        EXPECT_FALSE(QFile::exists(Dir.File("DALI2_Access.xml")));
        EXPECT_FALSE(QFile::exists(Dir.File("DALI_Access.xml")));

        // The access rules' end: a disabled row's cells count as data too, its check box does not.
        ClickIn(Functions(), fun::Mnemonic, 3);
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 3");
        EXPECT_EQ(Functions().Cells(fun::Mnemonic, 3), "");
        Page(1);
        ClickIn(Rules(), acc::Enable, 4);
        Press(Form->Btn_OK);  // a check box alone is no data: nothing to ask
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 3");
    });
    EXPECT_EQ(Dir.Read("DALI2_Access.xml"),
              "<DALI2_Access><DALI2_Functions_Rules><row Function=\"Function Null\" Condition=\"No Condition\" "
              "Value=\"0\" Channel=\"\" Val=\"\" Next_Function=\"\" Mnemonic=\"\"/></DALI2_Functions_Rules>"
              "<DALI2_SetAccess_Rules/></DALI2_Access><!--SW_VERSION = 1.305-->");

    Messages.Clear();
    Run([&] {
        Page(1);
        EnterIn(Rules(), acc::Instance, 2, "7");
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "[Set Access] Row 2 holds data, but the Dev/Sen of row 1 is empty: the table ends at row 1, so row 2 "
                  "and every row after row 1 will not be saved. Save anyway?");
        Press(Form->Btn_Cancel);
    });
}

// The header menus of the device table set a column whole; the row buttons act on the page shown.
TEST_F(DaliWindow, HeaderMenusAndRowButtons)
{
    Dir.Write("DALI2_Access.xml", ReadTestData("DALI2_Access.xml"));
    Run([&] {
        EXPECT_EQ(Form->Header_Menu(dev::Enable), nullptr);
        QMenu* recall = Form->Header_Menu(dev::Recall_Level);
        ASSERT_NE(recall, nullptr);
        QStringList captions;
        for (QAction* a : recall->actions())
            captions.append(a->text());
        EXPECT_EQ(captions, QStringList({"Select All None", "Select All Recall Min-Max Level for Switch",
                                         "Select All Recall Old Value Level for Switch"}));
        recall->actions().at(2)->trigger();
        delete recall;
        QMenu* minMax = Form->Header_Menu(dev::Min_Max);
        minMax->actions().at(0)->trigger();
        delete minMax;
        EXPECT_EQ(Device_Lines({0, 63}), "DALI ID Device 0|N|Y|Recall Old Value Level for Switch\n"
                                         "DALI ID Device 63|N|Y|Recall Old Value Level for Switch");
        Press(Form->Btn_ClearAll);

        // Set Access: delete row 1; the rows move up and the freed last row is enabled.
        Page(1);
        ClickIn(Rules(), acc::Mnemonic, 1);
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 1");
        EXPECT_EQ(Lines(Rules(), 3), "N|Sensor|Push Button|4|1|0||||1439|2|off\n"
                                     "Y|Sensor|Light Sensor|63|31|255|100000000|0|0 - None|1438|2|lux\n"
                                     "Y|||||||||||");
        EXPECT_EQ(Rules().Cells(acc::Enable, 256), "Y");
        // A rule copied is pasted into the rule table only.
        Press(Form->Btn_CopyRow);
        Page(2);
        ClickIn(Functions(), fun::Mnemonic, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), "Error!!! Copy a valid row before Paste it");
        EXPECT_EQ(Functions().Cells(fun::Function, 3), "Toggle");
        Page(1);
        ClickIn(Rules(), acc::Mnemonic, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Lines(Rules(), 3), "N|Sensor|Push Button|4|1|0||||1439|2|off\n"
                                     "Y|Sensor|Light Sensor|63|31|255|100000000|0|0 - None|1438|2|lux\n"
                                     "N|Sensor|Push Button|4|1|0||||1439|2|off");
        // Insert Row on the functions: an empty row without a check box.
        Page(2);
        ClickIn(Functions(), fun::Mnemonic, 1);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Lines(Functions(), 2), "||||||\nSet Out|When Equal to Value|Short Press|DALI Channel 3|254|2|Hall light on");
        Press(Form->Btn_Cancel);
    });
}

// The column groups' colours ($00BBGGRR) as the Set Access table paints them.
TEST_F(DaliWindow, SetAccessColumnColours)
{
    Run([&] {
        Page(1);
        const QImage shot = Rules().viewport()->grab().toImage();
        auto colour = [&](int realCol) {
            const grid::TRect rc = Rules().CellRect(Rules().RealToDisplCol(realCol), 3);
            const QRgb p = shot.pixel(rc.Right - 5, (rc.Top + rc.Bottom) / 2);
            return uint32_t(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
        };
        EXPECT_EQ(colour(acc::Enable), 11589887u);         // RGB(255, 216, 176)
        EXPECT_EQ(colour(acc::DeviceSensor), 16710368u);   // RGB(224, 250, 254)
        EXPECT_EQ(colour(acc::Instance), 16710368u);
        EXPECT_EQ(colour(acc::Command), 11075496u);        // RGB(168, 255, 168)
        EXPECT_EQ(colour(acc::TimeOut), 11075496u);
        EXPECT_EQ(colour(acc::Function), 16766421u);       // RGB(213, 213, 255)
        EXPECT_EQ(colour(acc::Position), 16045820u);       // RGB(252, 214, 244)
        EXPECT_EQ(colour(acc::NumBytes), 16045820u);
        EXPECT_EQ(colour(acc::Mnemonic), 16777215u);       // white
        Press(Form->Btn_Cancel);
    });
}

// ---- Hostile files: a message at the show, nothing lost ----------------------------------------

struct Hostile_Case {
    const char* Name;
    const char* File;
    std::function<QByteArray()> Contents;
    const char* Message_Part;
};

class DaliHostile : public DaliWindow, public ::testing::WithParamInterface<Hostile_Case> {};

TEST_P(DaliHostile, TheWindowOpensWithAMessageAndOkAsksBeforeReplacingTheFiles)
{
    const Hostile_Case& c = GetParam();
    Dir.Write("DALI_Access.xml", ReadTestData("DALI_Access.xml"));
    Dir.Write("DALI2_Access.xml", ReadTestData("DALI2_Access.xml"));
    Dir.Write(c.File, c.Contents());
    const QByteArray devices = Dir.Read("DALI_Access.xml"), rules = Dir.Read("DALI2_Access.xml");
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_TRUE(Messages.LastText().contains(c.Message_Part)) << Messages.LastText().toStdString();
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().contains(QStringLiteral("%1\" could not be read whole when this window opened")
                                                     .arg(c.File)))
            << Messages.LastText().toStdString();
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("DALI_Access.xml"), devices);
    EXPECT_EQ(Dir.Read("DALI2_Access.xml"), rules);
}

QByteArray Cut(const char* file, const char* at)
{
    const QByteArray golden = ReadTestData(file);
    return golden.left(golden.indexOf(at));
}

QByteArray Many_Rules()
{
    QByteArray many = "<DALI2_Access><DALI2_Functions_Rules/><DALI2_SetAccess_Rules>";
    for (int r = 0; r < 100000; ++r)
        many += "<row DeviceSensor=\"Device\" Type=\"Dimmer\" ChannelNumber=\"0\" Instance=\"0\" Command=\"0\" "
                "TimeSend=\"0\" TimeOut=\"0\" Position=\"0\"/>";
    return many + "</DALI2_SetAccess_Rules></DALI2_Access>";
}

INSTANTIATE_TEST_SUITE_P(
    Files, DaliHostile,
    ::testing::Values(
        Hostile_Case{"DevicesCut", "DALI_Access.xml", [] { return Cut("DALI_Access.xml", "<DALI_ID_DEVICE_40"); },
                     "DALI_Access.xml.damaged"},
        Hostile_Case{"DevicesNotXml", "DALI_Access.xml", [] { return QByteArray("\x89PNG\r\n\x1a\n", 8); },
                     "DALI_Access.xml.damaged"},
        Hostile_Case{"RulesCut", "DALI2_Access.xml", [] { return Cut("DALI2_Access.xml", "<row Enable=\"N\""); },
                     "DALI2_Access.xml.damaged"},
        Hostile_Case{"RulesNotXml", "DALI2_Access.xml", [] { return QByteArray("DALI2_Access"); },
                     "DALI2_Access.xml.damaged"},
        Hostile_Case{"HundredThousandRules", "DALI2_Access.xml", Many_Rules,
                     "\"DALI2_SetAccess_Rules\" holds 100000 rows; only the first 256 are read."}),
    [](const auto& info) { return std::string(info.param.Name); });

// A 10 MB attribute is a text like any other: shown, offered in the function list, saved back whole.
TEST_F(DaliWindow, ATenMegabyteMnemonicIsKeptWhole)
{
    QByteArray file = ReadTestData("DALI2_Access.xml");
    const QByteArray big(10 * 1024 * 1024, 'm');
    file.replace("Mnemonic=\"Hall light on\"", "Mnemonic=\"" + big + "\"");
    file.replace("Function=\"1 - Hall light on\"", "Function=\"1 - " + big + "\"");
    Dir.Write("DALI2_Access.xml", file);
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Functions().Cells(fun::Mnemonic, 1).size(), big.size());
        EXPECT_EQ(Form->SelFunct.at(1).size(), big.size() + 4);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(Dir.Read("DALI2_Access.xml"), file);
}

// Both files or neither: when the second cannot be replaced, the first keeps its old contents, the
// fault is shown and the window stays open.
TEST_F(DaliWindow, AFailedWriteLeavesBothFilesAsTheyWere)
{
    const QByteArray devices = ReadTestData("DALI_Access.xml");
    Dir.Write("DALI_Access.xml", devices);
    ASSERT_TRUE(QDir(Dir.Path()).mkdir("DALI2_Access.xml"));  // a folder where the rules file belongs
    Run([&] {
        Messages.Clear();
        Press(Form->Btn_ClearAll);
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().startsWith("Cannot write the file \""));
        EXPECT_TRUE(Messages.LastText().endsWith("DALI2_Access.xml\": Is a directory\nNothing was saved; the window "
                                                 "stays open."))
            << Messages.LastText().toStdString();
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("DALI_Access.xml"), devices);
}

}  // namespace dali_window_test
