// The J1939 and NMEA 2000 frame windows, driven as a user drives them.
#include "protocols/fieldbus/UReceiveNMEA.h"
#include "protocols/fieldbus/UTransmitJ1939.h"
#include "protocols/fieldbus/UTransmitNMEA.h"
#include "setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

namespace pgn_windows_test {

namespace jtx = fieldbus::transmit_j1939;
namespace nrx = fieldbus::receive_nmea;

using J1939TransmitWindow = SetupWindowTest<TFTransmitJ1939>;
using NMEAReceiveWindow = SetupWindowTest<TFReceiveNMEA>;

TEST_F(J1939TransmitWindow, OlderFileShownEditedSavedWithoutItsOldAttributeAndReopened)
{
    Dir.Write("J1939_Send_Frames.xml",
              "<Transmit_J1939><row Priority=\"6\" DP=\"0\" PGN=\"0xF004\" SA=\"0\" T_Type=\"on timer\" "
              "SendTimer=\"100\" Mnemonic=\"EEC1\"/></Transmit_J1939>");
    std::string edited;
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Form->size(), QSize(800, 337));
        EXPECT_EQ(Form->Caption(), "Transmit J1939 Frames");
        EXPECT_EQ(Form->L_SW_Desc->text(), "Transmit J1939 Frames");
        EXPECT_EQ(Form->Btn_Cancel->Hint(), "Exit without save the 1939 Transmit Frames List");
        EXPECT_EQ(Grid().RowCount(), 513);
        EXPECT_EQ(Grid().Cells(jtx::TP_NByte, 0), "N Bytes");
        QString hint;
        Form->GridHint(&Grid(), 0, jtx::Priority, hint);
        EXPECT_EQ(hint, "Select the Priority of J1939 Frame, from 0 to 7");
        EXPECT_EQ(Form->NUM_BYTE_OUT, 1440);
        // The older mode ticks On Timer alone; the missing count reads 8.
        EXPECT_EQ(Rows(2), "6|0|0xF004|0|8|N|N|Y|100|EEC1\n|||||||||");

        // A second frame typed in row 2; its data page picked from the list.
        Enter(jtx::Priority, 2, "3");
        Pick(jtx::DP, 2, 2);
        Enter(jtx::PGN, 2, "65226");
        Enter(jtx::SA, 2, "1");
        Enter(jtx::TP_NByte, 2, "1433");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error!! Too many bytes of data, the max number is 1440");
        Replace(jtx::TP_NByte, 2, "1432");
        Click(jtx::On_Request, 2);
        EXPECT_EQ(Cell(jtx::On_Request, 2), "Y");
        edited = Rows(2);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(edited, "6|0|0xF004|0|8|N|N|Y|100|EEC1\n3|1|65226|1|1432|Y||||");
    EXPECT_EQ(Dir.Read("J1939_Send_Frames.xml"),
              "<Transmit_J1939><row Priority=\"6\" DP=\"0\" PGN=\"0xF004\" SA=\"0\" TP_NByte=\"8\" On_Request=\"N\" "
              "On_Data_Change=\"N\" On_Timer=\"Y\" SendTimer=\"100\" Mnemonic=\"EEC1\"/>"
              "<row Priority=\"3\" DP=\"1\" PGN=\"65226\" SA=\"1\" TP_NByte=\"1432\" On_Request=\"Y\" "
              "On_Data_Change=\"\" On_Timer=\"\" SendTimer=\"\" Mnemonic=\"\"/></Transmit_J1939>"
              "<!--SW_VERSION = 1.102-->");
    Run([&] {
        EXPECT_EQ(Rows(2), edited);
        Press(Form->Btn_Cancel);
    });
}

TEST_F(NMEAReceiveWindow, TotalFaultNamesNoRowAndRefusedOkWritesNothing)
{
    Dir.Write("NMEA_Rec_Frames.xml", ReadTestData("NMEA_Rec_Frames.xml"));
    const QByteArray before = Dir.Read("NMEA_Rec_Frames.xml");
    const int result = Run([&] {
        EXPECT_EQ(Form->size(), QSize(810, 337));
        EXPECT_EQ(Grid().RowCount(), 63);
        EXPECT_EQ(Form->NUM_BYTE_IN, 512);
        Click(nrx::Mnemonic, 1);
        // 8 + 43 + 1485 bytes: the transport-protocol row passes the 512 of the table.
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error!! Too many bytes of data, the max number is 512");
        Replace(nrx::TP_NByte, 3, "460");  // 8 + 43 + 460 = 511
        Enter(nrx::PGN, 4, "1");
        Enter(nrx::SA, 4, "2");
        Enter(nrx::TP_Start, 4, "3");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error in row 4!! Start Byte and Number Bytes must be both compiled");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_EQ(Dir.Read("NMEA_Rec_Frames.xml"), before);
}

}  // namespace pgn_windows_test


namespace pgn_windows_test {

namespace ntx = fieldbus::transmit_nmea;
using NMEATransmitWindow = SetupWindowTest<TFTransmitNMEA>;

// Every window names itself and its buttons, the transmit windows too.
TEST_F(NMEATransmitWindow, TitleAndButtonsCarryTheirTexts)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Transmit NMEA 2000 Frames");
        EXPECT_EQ(Form->L_SW_Desc->text(), "Transmit NMEA 2000 Frames");
        QStringList captions;
        for (controls::TPicButton* b : {Form->Btn_OK, Form->Btn_Cancel, Form->Btn_DelRow, Form->Btn_InsRow,
                                        Form->Btn_CopyRow, Form->Btn_PasteRow})
            captions.append(b->Caption());
        EXPECT_EQ(captions, QStringList({"OK", "Cancel", "Delete Row", "Insert Row", "Copy Row", "Paste Row"}));
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the NMEA 2000 Transmit Frames List");
        EXPECT_EQ(Form->Btn_PasteRow->Hint(), "Paste the Copied Fields in the Selected Row");
        EXPECT_EQ(Grid().ColCount(), 11);
        EXPECT_EQ(Grid().RowCount(), 63);
        EXPECT_EQ(Form->NUM_BYTE_OUT, 512);
        EXPECT_EQ(Grid().ColWidths(ntx::On_Timer), 64);
        // The column groups' colours ($00BBGGRR): the group's name light cyan, Fast Packet light pink,
        // the count light yellow, the sending pale green, the mnemonic the window's background.
        const QImage shot = Grid().viewport()->grab().toImage();
        auto colour = [&](int realCol) {
            const grid::TRect rc = Grid().CellRect(Grid().RealToDisplCol(realCol), 3);
            // Right of a check box, clear of the cell's edges.
            const QRgb p = shot.pixel(rc.Right - 5, (rc.Top + rc.Bottom) / 2);
            return uint32_t(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
        };
        EXPECT_EQ(colour(ntx::Priority), 16710368u);
        EXPECT_EQ(colour(ntx::SA), 16710368u);
        EXPECT_EQ(colour(ntx::FP), 16045820u);
        EXPECT_EQ(colour(ntx::TP_NByte), 11075583u);
        EXPECT_EQ(colour(ntx::On_Timer), 13303754u);
        EXPECT_EQ(colour(ntx::SendTimer), 13303754u);
        EXPECT_EQ(colour(ntx::Mnemonic), 15595512u);
        Press(Form->Btn_Cancel);
    });
}

}  // namespace pgn_windows_test
