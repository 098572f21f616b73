// The KNX window driven as a user drives it: rules typed and picked, OK refused and then taken,
// the window reopened unchanged; rows below the table's end asked about; hostile files.
#include "protocols/building/UKNXAccess.h"
#include "protocols/fieldbus/setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

namespace knx_window_test {

namespace knx = building::knx;
using KnxWindow = SetupWindowTest<TFKNXAccess>;

TEST_F(KnxWindow, RulesTypedSavedAndReopenedUnchanged)
{
    std::string edited;
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Form->size(), QSize(1250, 337));
        EXPECT_EQ(Form->Caption(), "KNX Set Access");
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the KNX Set Access List");
        EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
        EXPECT_EQ(Grid().RowCount(), 1025);
        EXPECT_EQ(Grid().ColCount(), 19);
        EXPECT_EQ(Grid().ColWidths(knx::Mnemonic), 96);
        EXPECT_EQ(Grid().RowHeights(5), 22);
        EXPECT_EQ(Grid().Cells(knx::MultiplicationFactor, 0), "Mul. Factor");
        QString hint;
        Form->GridHint(&Grid(), 0, knx::Bit_Mode, hint);
        EXPECT_EQ(hint, "Insert the Start Bit of Data of KNX Message");
        Form->GridHint(&Grid(), 3, knx::Bit_Mode, hint);
        EXPECT_EQ(hint, "");
        EXPECT_EQ(Form->Max_Num_Byte, 1440);
        EXPECT_EQ(Grid().Columns()[knx::Position]->ComboItems.size(), 1440);
        // Every row of an empty table is enabled.
        EXPECT_EQ(Rows(2), "Y|||||||||||||||||\nY|||||||||||||||||");

        Enter(knx::Source_Address, 1, "1.1.20");
        Enter(knx::Destination_Address, 1, "1/2/3");
        Enter(knx::APCI, 1, "Write");
        Pick(knx::Priority, 1, 4);  // Low
        Pick(knx::Format, 1, 2);    // Swap16
        Enter(knx::MultiplicationFactor, 1, "0.5");
        Click(knx::On_Timer, 1);
        Enter(knx::Poll_Time, 1, "1000");
        Pick(knx::Position, 1, 1440);  // "1439", the last byte
        Pick(knx::Bit_Mode, 1, 1);     // No
        Enter(knx::Length, 1, "2");
        Enter(knx::TimeOut, 1, "0");
        Enter(knx::Mnemonic, 1, "Hall");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 1!! [KNX in Write] Position plus Length must be minor or equal to 1440");
        Replace(knx::Length, 1, "1");

        // A group address in two levels, bit mode from bit 7, extended frame: 256 bytes.
        Enter(knx::Source_Address, 2, "15.15.255");
        Enter(knx::Destination_Address, 2, "31/2047");
        Enter(knx::APCI, 2, "read");
        Click(knx::Extended, 2);
        Pick(knx::Position, 2, 1186);  // "1185"
        Pick(knx::Bit_Mode, 2, 9);     // 7
        Enter(knx::Length, 2, "2040");
        Enter(knx::TimeOut, 2, "0");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 2!! [KNX in Write] Priority must be System or Urgent or Normal or Low");
        Pick(knx::Priority, 2, 1);  // System
        Pick(knx::Format, 2, 1);    // None
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 2!! [KNX in Write] Position plus Length must be minor or equal to 1440");
        // The list opens on the cell's item: one step up.
        Click(knx::Position, 2);
        Key(Qt::Key_F2);
        Key(Qt::Key_Up);
        Key(Qt::Key_Return);
        EXPECT_EQ(Cell(knx::Position, 2), "1184");
        edited = Rows(3);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(edited,
              "Y|1.1.20|1/2/3|Write|Low|Swap16|0.5|||||Y|1000|1439|No|1|0|Hall\n"
              "Y|15.15.255|31/2047|read|System|None||Y||||||1184|7|2040|0|\n"
              "Y|||||||||||||||||");
    EXPECT_EQ(Dir.Read("KNX_SetAccess.xml"),
              "<BACnet_to_KNX><KNX_in_Write>"
              "<row Enable=\"Y\" Source_Address=\"1.1.20\" Destination_Address=\"1/2/3\" APCI=\"Write\" Priority=\"Low\" "
              "Format=\"Swap16\" MultiplicationFactor=\"0.5\" Extended=\"\" ReTest=\"\" On_Command=\"\" On_Change=\"\" "
              "On_Timer=\"Y\" Poll_Time=\"1000\" Position=\"1439\" Bit_Mode=\"No\" Length=\"1\" TimeOut=\"0\" "
              "Mnemonic=\"Hall\"/>"
              "<row Enable=\"Y\" Source_Address=\"15.15.255\" Destination_Address=\"31/2047\" APCI=\"read\" "
              "Priority=\"System\" Format=\"None\" MultiplicationFactor=\"\" Extended=\"Y\" ReTest=\"\" On_Command=\"\" "
              "On_Change=\"\" On_Timer=\"\" Poll_Time=\"\" Position=\"1184\" Bit_Mode=\"7\" Length=\"2040\" "
              "TimeOut=\"0\" Mnemonic=\"\"/></KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.004-->");
    Messages.Clear();
    Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Rows(3), edited);
        Press(Form->Btn_Cancel);
    });
}

// A row below the first empty Source Add would be dropped: OK names it and asks. No keeps the
// window open and the file as it was; Yes saves the rows above the gap.
TEST_F(KnxWindow, OkAsksBeforeDroppingRowsBelowTheFirstEmptySource)
{
    const QByteArray golden = ReadTestData("KNX_SetAccess.xml");
    Dir.Write("KNX_SetAccess.xml", golden);
    const char* question =
        "Row 5 holds data, but the Source Add of row 4 is empty: the table ends at row 4, so row 5 and every row "
        "after row 4 will not be saved. Save anyway?";
    Run([&] {
        Enter(knx::Mnemonic, 5, "stray");
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), question);
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("KNX_SetAccess.xml"), golden);

    Messages.Clear();
    const int result = Run([&] {
        EXPECT_EQ(Cell(knx::Mnemonic, 5), "");
        Enter(knx::Mnemonic, 5, "stray");
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), question);
    });
    EXPECT_EQ(result, platform::mrOk);
    // The golden rows saved as they were; the stray row is not.
    EXPECT_EQ(Dir.Read("KNX_SetAccess.xml"), golden);
}

// Delete and insert move the rows below; a lower-case Priority in the file shows as "Normal".
TEST_F(KnxWindow, RowButtonsAndAFilesPriorityOutsideTheList)
{
    QByteArray file = ReadTestData("KNX_SetAccess.xml");
    file.replace("Priority=\"Low\"", "Priority=\"low\"");
    Dir.Write("KNX_SetAccess.xml", file);
    Run([&] {
        EXPECT_EQ(Cell(knx::Priority, 1), "Normal");
        EXPECT_EQ(Cell(knx::Priority, 4), "");
        Click(knx::Mnemonic, 1);
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 1");
        EXPECT_EQ(Cell(knx::Source_Address, 1), "15.15.255");
        EXPECT_EQ(Cell(knx::Source_Address, 2), "0.0.0");
        EXPECT_EQ(Cell(0, 2), "2");
        Click(knx::Mnemonic, 2);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Rows(3),
                  "Y|15.15.255|31/2047|read|System|Float16 to Int||Y|N|Y|N|N||1184|7|2040|0|group two\n"
                  "Y|||||||||||||||||\n"
                  "N|0.0.0|230.240|1024|Urgent|None|x|N|N|N|N|N|0|1439|No|14||disabled \"quoted\"");
        Press(Form->Btn_Cancel);
    });
}

// ---- Hostile files: a message at the show, nothing lost ----------------------------------------

struct Hostile_Case {
    const char* Name;
    std::function<QByteArray()> Contents;
    const char* Message_Part;  // in the message shown when the window opens
    int Rows_Read;             // rows with a source address in the table
};

class KnxHostile : public SetupWindowTest<TFKNXAccess>, public ::testing::WithParamInterface<Hostile_Case> {};

TEST_P(KnxHostile, TheWindowOpensWithAMessageAndOkAsksBeforeReplacingTheFile)
{
    const QByteArray contents = GetParam().Contents();
    Dir.Write("KNX_SetAccess.xml", contents);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_TRUE(Messages.LastText().contains(GetParam().Message_Part)) << Messages.LastText().toStdString();
        int rows = 0;
        while (rows < 1024 && !Cell(knx::Source_Address, rows + 1).isEmpty())
            ++rows;
        EXPECT_EQ(rows, GetParam().Rows_Read);
        // OK asks before the file is replaced by what the window shows; No keeps it.
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().endsWith("could not be read whole when this window opened. Saving replaces "
                                                 "it with what the window shows now. Save anyway?"))
            << Messages.LastText().toStdString();
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("KNX_SetAccess.xml"), contents);
}

QByteArray Many_Rows()
{
    QByteArray many = "<BACnet_to_KNX><KNX_in_Write>";
    const QByteArray golden = ReadTestData("KNX_SetAccess.xml");
    const qsizetype from = golden.indexOf("<row "), to = golden.indexOf("/>", from) + 2;
    const QByteArray row = golden.mid(from, to - from);
    for (int r = 0; r < 100000; ++r)
        many += row;
    return many + "</KNX_in_Write></BACnet_to_KNX>";
}

INSTANTIATE_TEST_SUITE_P(
    Files, KnxHostile,
    ::testing::Values(
        Hostile_Case{"CutInTheThirdRow",
                     [] {
                         const QByteArray golden = ReadTestData("KNX_SetAccess.xml");
                         return golden.left(golden.indexOf("Source_Address=\"0.0.0\""));
                     },
                     "KNX_SetAccess.xml.damaged", 2},
        Hostile_Case{"NotXml", [] { return QByteArray::fromHex("504b0304000102ff"); }, "KNX_SetAccess.xml.damaged", 0},
        Hostile_Case{"HundredThousandRows", Many_Rows,
                     "\"KNX_in_Write\" holds 100000 rows; only the first 1024 are read.", 1024},
        Hostile_Case{"NoContainer", [] { return QByteArray("<BACnet_to_KNX/>"); },
                     "has no element \"KNX_in_Write\"", 0}),
    [](const auto& info) { return std::string(info.param.Name); });

// A 10 MB attribute is a text like any other: shown, and saved back whole.
TEST_F(KnxWindow, ATenMegabyteMnemonicIsKeptWhole)
{
    QByteArray file = ReadTestData("KNX_SetAccess.xml");
    const QByteArray big(10 * 1024 * 1024, 'm');
    file.replace("Mnemonic=\"group two\"", "Mnemonic=\"" + big + "\"");
    Dir.Write("KNX_SetAccess.xml", file);
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Cell(knx::Mnemonic, 2).size(), big.size());
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(Dir.Read("KNX_SetAccess.xml"), file);
}

}  // namespace knx_window_test
