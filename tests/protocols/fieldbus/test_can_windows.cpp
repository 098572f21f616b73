// The CAN frame windows, driven as a user drives them.
#include "protocols/fieldbus/UReceiveCAN.h"
#include "protocols/fieldbus/UTransmitCAN.h"
#include "setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QFile>
#include <QTabWidget>

namespace rx = fieldbus::receive_can;
namespace tx = fieldbus::transmit_can;

namespace {

using ReceiveWindow = SetupWindowTest<TFReceiveCAN>;
using TransmitWindow = SetupWindowTest<TFTransmitCAN>;

QStringList Headers(grid::TExtColumnGrid& g)
{
    QStringList headers;
    for (int c = 0; c < g.ColCount(); ++c)
        headers.append(g.Cells(c, 0));
    return headers;
}

// A file of n rows "1".."n" (CobID) with one data byte each.
QByteArray Frames(int n)
{
    QByteArray xml = "<Receive_Frames>";
    for (int r = 1; r <= n; ++r)
        xml += "<row Enable=\"Y\" COBID=\"" + QByteArray::number(r) + "\" CAN_Type=\"2.0A (11 bits)\" Dim=\"1\" "
               "TimeOut=\"0\" Byte1=\"" + QByteArray::number(r % 1440) + "\" Byte2=\"\" Byte3=\"\" Byte4=\"\" Byte5=\"\" "
               "Byte6=\"\" Byte7=\"\" Byte8=\"\" Mnemonic=\"m" + QByteArray::number(r) + "\"/>";
    return xml + "</Receive_Frames><!--SW_VERSION = 1.000-->";
}

}  // namespace

TEST_F(ReceiveWindow, ShowsItsLayoutColumnsAndNumberedRows)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Receive CAN Frames Set Access");
        EXPECT_EQ(Form->L_SW_Desc->text(), "Receive CAN Frames Set Access");
        EXPECT_EQ(Form->size(), QSize(1010, 337));
        EXPECT_EQ(Form->P_Title->height(), 69);
        EXPECT_EQ(Form->P_Button->height(), 40);
        EXPECT_EQ(Form->PageControl1, nullptr);
        int x = 16;
        for (controls::TPicButton* b : {Form->Btn_OK, Form->Btn_Cancel, Form->Btn_DelRow, Form->Btn_InsRow,
                                        Form->Btn_CopyRow, Form->Btn_PasteRow}) {
            EXPECT_EQ(b->geometry(), QRect(x, 6, 110, 28)) << b->objectName().toStdString();
            x += 118;
        }
        EXPECT_EQ(Form->Btn_InsRow->Caption(), "Insert Row");
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the Receive CAN Frames List");
        EXPECT_EQ(Headers(Grid()), QStringList({"N", "Enable", "CobID", "Type", "Dimension", "TimeOut", "Byte1",
                                                "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8",
                                                "Mnemonic"}));
        EXPECT_EQ(Grid().RowCount(), 513);
        EXPECT_EQ(Grid().ColWidths(14), 185);
        EXPECT_EQ(Rows(1), "Y|||||||||||||");
        EXPECT_EQ(Cell(0, 512), "512");
        EXPECT_EQ(Form->MAX_Byte, 1440);
        const QStringList& items = Grid().Columns()[rx::Byte1 + 7]->ComboItems;
        ASSERT_EQ(items.size(), 1441);
        EXPECT_EQ(items.first(), "None");
        EXPECT_EQ(items.last(), "1439");
        EXPECT_EQ(Grid().Columns()[rx::CAN_Type]->ComboItems, QStringList({"2.0A (11 bits)", "2.0B (29 bits)"}));
        // Header hints per column; other cells none.
        QString hint = "x";
        Form->GridHint(&Grid(), 0, rx::TimeOut, hint);
        EXPECT_EQ(hint, "Insert the TimeOut in milliseconds of data for each CAN frames, insert 0 do disable the function");
        Form->GridHint(&Grid(), 3, rx::TimeOut, hint);
        EXPECT_EQ(hint, "");
        EXPECT_EQ(Form->Hints(0).size(), 14);
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ReceiveWindow, EditedWithMouseAndKeysSavedAndReopened)
{
    Dir.Write("CAN_Rec_Frames.xml", ReadTestData("CAN_Rec_Frames.xml"));
    std::string edited;
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Rows(3), "Y|0x181|2.0A (11 bits)|8|1000|0|1|2|3|4|5|6|7|Motor & pump <1>\n"
                           "N|$1FFFFFFF|2.0B (29 bits)|2|0|None|1439|||||||Ventil «Süd» \"B\"\n"
                           "Y| 12||1|x10|||||||||");
        // A new frame in row 4: typed numbers, the format from its list, bytes from theirs.
        Enter(rx::COBID, 4, "$1A0");
        Pick(rx::CAN_Type, 4, 2);
        Enter(rx::Dim, 4, "2");
        Enter(rx::TimeOut, 4, "500");
        Pick(rx::Byte1, 4, 1);  // "None"
        Pick(rx::Byte1 + 1, 4, 8);  // "None", "0", ... "6"
        Enter(rx::Mnemonic, 4, "Valve");
        Click(rx::Enable, 2);  // ticks the disabled frame
        EXPECT_EQ(Cell(rx::Enable, 2), "Y");
        // The third row's format is missing: picked now.
        Pick(rx::CAN_Type, 3, 1);

        // Insert a row at row 2: the rows below move down, the new row is enabled and empty.
        Click(rx::COBID, 2);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Rows(3), "Y|0x181|2.0A (11 bits)|8|1000|0|1|2|3|4|5|6|7|Motor & pump <1>\n"
                           "Y|||||||||||||\n"
                           "Y|$1FFFFFFF|2.0B (29 bits)|2|0|None|1439|||||||Ventil «Süd» \"B\"");
        // OK now would drop every row below the empty key: refused, naming the first of them.
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "Error row 3!! CobID of row 2 is empty: the table ends there and this row would not be saved");
        EXPECT_TRUE(Form->isVisible());

        // Row 1 copied into the new row 2, then its CobID changed.
        Click(rx::COBID, 1);
        Press(Form->Btn_CopyRow);
        Click(rx::COBID, 2);
        Press(Form->Btn_PasteRow);
        Replace(rx::COBID, 2, "0x182");
        EXPECT_EQ(Cell(rx::COBID, 2), "0x182");
        // A typed value out of range is refused with its row.
        Replace(rx::TimeOut, 2, "100000001");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 2!! TimeOut must be between 0 and 100000000 milliseconds");
        Replace(rx::TimeOut, 2, "1000");
        // A typed character picks a list's item.
        Enter(rx::Byte1 + 2, 2, "9");

        // Delete the (former third) row 4 after the question.
        Messages.QueueAnswer(platform::mrYes);
        Click(rx::COBID, 4);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 4");
        edited = Rows(5);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(edited, "Y|0x181|2.0A (11 bits)|8|1000|0|1|2|3|4|5|6|7|Motor & pump <1>\n"
                      "Y|0x182|2.0A (11 bits)|8|1000|0|1|9|3|4|5|6|7|Motor & pump <1>\n"
                      "Y|$1FFFFFFF|2.0B (29 bits)|2|0|None|1439|||||||Ventil «Süd» \"B\"\n"
                      "Y|$1A0|2.0B (29 bits)|2|500|None|6|||||||Valve\n"
                      "Y|||||||||||||");
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml"),
              QString::fromUtf8(
                  "<Receive_Frames>"
                  "<row Enable=\"Y\" COBID=\"0x181\" CAN_Type=\"2.0A (11 bits)\" Dim=\"8\" TimeOut=\"1000\" Byte1=\"0\" "
                  "Byte2=\"1\" Byte3=\"2\" Byte4=\"3\" Byte5=\"4\" Byte6=\"5\" Byte7=\"6\" Byte8=\"7\" "
                  "Mnemonic=\"Motor &amp; pump &lt;1>\"/>"
                  "<row Enable=\"Y\" COBID=\"0x182\" CAN_Type=\"2.0A (11 bits)\" Dim=\"8\" TimeOut=\"1000\" Byte1=\"0\" "
                  "Byte2=\"1\" Byte3=\"9\" Byte4=\"3\" Byte5=\"4\" Byte6=\"5\" Byte7=\"6\" Byte8=\"7\" "
                  "Mnemonic=\"Motor &amp; pump &lt;1>\"/>"
                  "<row Enable=\"Y\" COBID=\"$1FFFFFFF\" CAN_Type=\"2.0B (29 bits)\" Dim=\"2\" TimeOut=\"0\" "
                  "Byte1=\"None\" Byte2=\"1439\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" Byte7=\"\" Byte8=\"\" "
                  "Mnemonic=\"Ventil «Süd» &quot;B&quot;\"/>"
                  "<row Enable=\"Y\" COBID=\"$1A0\" CAN_Type=\"2.0B (29 bits)\" Dim=\"2\" TimeOut=\"500\" "
                  "Byte1=\"None\" Byte2=\"6\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" Byte7=\"\" Byte8=\"\" "
                  "Mnemonic=\"Valve\"/>"
                  "</Receive_Frames><!--SW_VERSION = 1.000-->")
                  .toUtf8());

    Messages.Clear();
    Run([&] {
        EXPECT_EQ(Rows(5), edited);
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(ReceiveWindow, RefusedOkAndCancelWriteNothingAndTheNextShowRereadsTheFile)
{
    Dir.Write("CAN_Rec_Frames.xml", ReadTestData("CAN_Rec_Frames.xml"));
    const QByteArray before = Dir.Read("CAN_Rec_Frames.xml");
    EXPECT_EQ(Run([&] {
                  Enter(rx::Dim, 1, "9");
                  Press(Form->Btn_OK);
                  EXPECT_EQ(Messages.LastText(), "Error row 1!! Dimension must be between 1 and 8");
                  Press(Form->Btn_Cancel);
              }),
              platform::mrCancel);
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml"), before);
    Run([&] {
        EXPECT_EQ(Cell(rx::Dim, 1), "8");
        Press(Form->Btn_Cancel);
    });
    // Escape, pressed to leave a cell, keeps the window and its edits.
    Run([&] {
        Enter(rx::Mnemonic, 1, "x");
        Click(rx::Mnemonic, 2);
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(Cell(rx::Mnemonic, 1), "x");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ReceiveWindow, InsertAsksBeforeDroppingAFullLastRow)
{
    Dir.Write("CAN_Rec_Frames.xml", Frames(512));
    Run([&] {
        Click(rx::COBID, 1);
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_EQ(Cell(rx::COBID, 1), "1");
        EXPECT_EQ(Cell(rx::COBID, 512), "512");
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Cell(rx::COBID, 1), "");
        EXPECT_EQ(Cell(rx::Enable, 1), "Y");
        EXPECT_EQ(Cell(rx::COBID, 512), "511");
        Press(Form->Btn_Cancel);
    });
    // An empty last row goes without a question.
    Dir.Write("CAN_Rec_Frames.xml", Frames(3));
    Messages.Clear();
    Run([&] {
        Click(rx::COBID, 2);
        Press(Form->Btn_InsRow);
        EXPECT_TRUE(Messages.Shown().empty());
        EXPECT_EQ(Cell(rx::COBID, 3), "2");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ReceiveWindow, AFileReadInPartIsReportedKeptAndReplacedOnlyWithConsent)
{
    // Cut short after the third row.
    const QByteArray cut = Frames(5).left(Frames(5).indexOf("<row Enable=\"Y\" COBID=\"4\""));
    Dir.Write("CAN_Rec_Frames.xml", cut);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Messages.LastText().contains("could not be read whole")) << Messages.LastText().toStdString();
        EXPECT_TRUE(Messages.LastText().contains("CAN_Rec_Frames.xml.damaged")) << Messages.LastText().toStdString();
        EXPECT_EQ(Cell(rx::COBID, 3), "3");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml"), cut);
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml.damaged"), cut);

    // More rows than the table holds: the same word, and the same question before saving.
    Dir.Write("CAN_Rec_Frames.xml", Frames(600));
    Messages.Clear();
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrYes);
    EXPECT_EQ(Run([&] {
                  EXPECT_TRUE(Messages.LastText().contains("holds 600 rows; only the first 512 are read"));
                  EXPECT_EQ(Cell(rx::COBID, 512), "512");
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml"), Frames(512));
}

// A 10 MB text in a cell: shown, painted and written back whole.
TEST_F(ReceiveWindow, AHugeTextIsShownAndKeptWhole)
{
    const QByteArray big(10 * 1024 * 1024, 'm');
    Dir.Write("CAN_Rec_Frames.xml", "<Receive_Frames><row Enable=\"Y\" COBID=\"1\" CAN_Type=\"2.0A (11 bits)\" "
                                    "Dim=\"1\" TimeOut=\"0\" Byte1=\"\" Byte2=\"\" Byte3=\"\" Byte4=\"\" "
                                    "Byte5=\"\" Byte6=\"\" Byte7=\"\" Byte8=\"\" Mnemonic=\"" + big +
                                    "\"/></Receive_Frames><!--SW_VERSION = 1.000-->");
    const QByteArray before = Dir.Read("CAN_Rec_Frames.xml");
    EXPECT_EQ(Run([&] {
                  EXPECT_EQ(Cell(rx::Mnemonic, 1).size(), big.size());
                  Grid().ScrollInView(Grid().RealToDisplCol(rx::Mnemonic), 1);
                  EXPECT_FALSE(Form->grab().isNull());
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml"), before);
}

TEST_F(ReceiveWindow, AFailedSaveIsReportedAndTheWindowStaysOpen)
{
    shell::App_State.File_CAN_Rec_Frames = Dir.File("no such folder/CAN_Rec_Frames.xml");
    Run([&] {
        Enter(rx::COBID, 1, "1");
        Enter(rx::Dim, 1, "1");
        Enter(rx::TimeOut, 1, "0");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Messages.LastText().contains("Nothing was saved")) << Messages.LastText().toStdString();
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ReceiveWindow, PasteNeedsACopyInThisTableSinceTheShow)
{
    Dir.Write("CAN_Rec_Frames.xml", Frames(2));
    Run([&] {
        Click(rx::COBID, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), shell::Lang(1102));
        Click(rx::COBID, 1);
        Press(Form->Btn_CopyRow);
        EXPECT_TRUE(Form->Copied(0));
        Click(rx::COBID, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Cell(rx::Mnemonic, 3), "m1");
        // Over a row that holds data: asked first.
        Messages.QueueAnswer(platform::mrNo);
        Click(rx::COBID, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Cell(rx::Mnemonic, 2), "m2");
        Press(Form->Btn_Cancel);
    });
    Messages.Clear();
    Run([&] {
        EXPECT_FALSE(Form->Copied(0));
        Click(rx::COBID, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), shell::Lang(1102));
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ReceiveWindow, TextsFollowTheLanguage)
{
    shell::List_Lang[2100] = QStringLiteral("Trames CAN reçues");
    shell::List_Lang[2110] = QStringLiteral("Identifiant");
    shell::List_Lang[2130] = QStringLiteral("L'identifiant de la trame");
    Form->Set_Lang();
    EXPECT_EQ(Form->Caption(), QStringLiteral("Trames CAN reçues"));
    EXPECT_EQ(Grid().Cells(rx::COBID, 0), "Identifiant");
    QString hint;
    Form->GridHint(&Grid(), 0, rx::COBID, hint);
    EXPECT_EQ(hint, "L'identifiant de la trame");
}

TEST_F(TransmitWindow, OlderFileLoadsWithDefaultsAndTheTimeOfTimedFramesIsChecked)
{
    Dir.Write("CAN_Send_Frames.xml", "<Transmit_Frames><row COBID=\"5\" Dim=\"1\" Byte1=\"3\" Mnemonic=\"m\"/>"
                                     "</Transmit_Frames>");
    const int result = Run([&] {
        EXPECT_EQ(Form->size(), QSize(1100, 337));
        EXPECT_EQ(Grid().ColCount(), 18);
        EXPECT_EQ(Grid().Cells(tx::OnCMD, 0), "OnCMD");
        EXPECT_EQ(Form->Hard_Type, 1);
        EXPECT_EQ(Rows(2), "Y|5|2.0A (11 bits)|1|Y|N|N||3||||||||m\nY||||||||||||||||");
        Click(tx::OnTimer, 1);  // ticks it: now the empty Time is a fault
        EXPECT_EQ(Cell(tx::OnTimer, 1), "Y");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 1!! Time must be between 0 and 100000000 milliseconds");
        Enter(tx::Time, 1, "100");
        Click(tx::OnCMD, 1);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(Dir.Read("CAN_Send_Frames.xml"),
              "<Transmit_Frames><row Enable=\"Y\" COBID=\"5\" CAN_Type=\"2.0A (11 bits)\" Dim=\"1\" OnChange=\"Y\" "
              "OnCMD=\"Y\" OnTimer=\"Y\" Time=\"100\" Byte1=\"3\" Byte2=\"\" Byte3=\"\" Byte4=\"\" Byte5=\"\" "
              "Byte6=\"\" Byte7=\"\" Byte8=\"\" Mnemonic=\"m\"/></Transmit_Frames><!--SW_VERSION = 1.000-->");
}
