// The CANopen PDO and SDO windows and the DeviceNet network window, driven as a user drives them.
#include "protocols/fieldbus/UDNet.h"
#include "protocols/fieldbus/UDNet_Files.h"
#include "protocols/fieldbus/USet_PDO_Access.h"
#include "protocols/fieldbus/USet_SDO_Client_Access.h"
#include "protocols/fieldbus/USet_SDO_Server_Access.h"
#include "setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QFile>
#include <QTabBar>
#include <QTabWidget>

using namespace fieldbus;

namespace {

// The driver for windows with two tables on tabs: actions on the table of a tab.
template <typename Window>
class TwoTableTest : public SetupWindowTest<Window> {
protected:
    using Base = SetupWindowTest<Window>;
    void Tab(int index)
    {
        QTabBar* bar = this->Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void ClickIn(int t, int col, int row)
    {
        grid::TExtColumnGrid& g = this->Grid(t);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, this->Centre(g, col, row));
    }
    void EnterIn(int t, int col, int row, const QString& text)
    {
        ClickIn(t, col, row);
        Base::Type(text);
        Base::Key(Qt::Key_Return);
    }
    std::string RowsOf(int t, int count)
    {
        QStringList out;
        const shell::Table_Rows rows = this->Form->Rows(t);
        for (int r = 0; r < count && r < int(rows.size()); ++r)
            out.append(rows[size_t(r)].mid(1).join(QLatin1Char('|')));
        return out.join(QLatin1Char('\n')).toStdString();
    }
};

using PDOWindow = TwoTableTest<TFSet_PDO_Access>;
using SDOClientWindow = TwoTableTest<TFSet_SDO_Client_Access>;
using SDOServerWindow = TwoTableTest<TFSet_SDO_Server_Access>;
using DNetWindow = SetupWindowTest<TFDNet>;

QStringList Header_Texts(grid::TExtColumnGrid& g)
{
    QStringList headers;
    for (int c = 0; c < g.ColCount(); ++c)
        headers.append(g.Cells(c, 0));
    return headers;
}

}  // namespace

TEST_F(PDOWindow, ShowsItsLayout)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Set PDO Access");
        EXPECT_EQ(Form->size(), QSize(798, 337));
        EXPECT_EQ(Form->PageControl1->tabText(0), "Receive PDO");
        EXPECT_EQ(Form->PageControl1->tabText(1), "Transmit PDO");
        EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
        EXPECT_EQ(Grid(0).objectName(), "sga");
        EXPECT_EQ(Header_Texts(Grid(0)), QStringList({"N", "COB-ID", "Dimension", "Add B1", "Add B2", "Add B3", "Add B4",
                                                 "Add B5", "Add B6", "Add B7", "Add B8", "TimeOut", "Mnemonic"}));
        EXPECT_EQ(Header_Texts(Grid(1)).mid(11), QStringList({"Send Time", "On Change", "Mnemonic"}));
        EXPECT_EQ(Grid(0).RowCount(), 31);
        EXPECT_EQ(Grid(1).ColWidths(pdo_tx::Mnemonic), 105);
        EXPECT_EQ(Grid(0).Columns()[pdo_rx::COB_ID]->Color(), 16710368u);
        EXPECT_EQ(Grid(0).Columns()[pdo_rx::Add_B1]->Color(), 16045820u);
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the CANopen PDOs List");
        QString hint;
        Form->GridHint(&Grid(1), 0, pdo_tx::On_Change, hint);
        EXPECT_EQ(hint, "Enable or Disable the possibility to send the CANopen PDO Frame if a Data Byte changes");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(PDOWindow, EditedSavedAndReopened)
{
    Dir.Write("PDO_CANopen.xml", ReadTestData("PDO_CANopen.xml"));
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(RowsOf(1, 1), "$201|1|0x10||||||||1000|Y|out \"A\" & B");
        // A receive row typed in row 3, one of its positions out of the area.
        EnterIn(0, pdo_rx::COB_ID, 3, "0x7FF");
        EnterIn(0, pdo_rx::Dimension, 3, "2");
        EnterIn(0, pdo_rx::Add_B1, 3, "1439");
        EnterIn(0, pdo_rx::Add_B1 + 1, 3, "1440");
        EnterIn(0, pdo_rx::TimeOut, 3, "0");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 3!! [Receive PDO] Address Byte2 must be between 0 and 1439");
        Replace(pdo_rx::Add_B1 + 1, 3, "$5A");
        // The transmit table: the check box of its first row cleared by a click, a row copied
        // into the second row.
        Tab(1);
        ClickIn(1, pdo_tx::On_Change, 1);
        EXPECT_EQ(Grid(1).Cells(pdo_tx::On_Change, 1), "N");
        ClickIn(1, pdo_tx::COB_ID, 1);
        Press(Form->Btn_CopyRow);
        ClickIn(1, pdo_tx::COB_ID, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(RowsOf(1, 2), "$201|1|0x10||||||||1000|N|out \"A\" & B\n$201|1|0x10||||||||1000|N|out \"A\" & B");
        // A row copied in the transmit table is refused in the receive table.
        Tab(0);
        ClickIn(0, pdo_rx::COB_ID, 4);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), "Error!!! Copy a valid row before Paste it");
        EXPECT_EQ(RowsOf(0, 4).substr(RowsOf(0, 4).rfind('\n') + 1), "|||||||||||");
        Messages.Clear();
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    const QString file = QString::fromUtf8(Dir.Read("PDO_CANopen.xml"));
    EXPECT_TRUE(file.contains("<row COB-ID=\"0x7FF\" Dimension=\"2\" Address_B1=\"1439\" Address_B2=\"$5A\" Address_B3=\"\" "
                              "Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" "
                              "TimeOut=\"0\" Mnemonic=\"\"/></Receive_PDO>"))
        << file.toStdString();
    EXPECT_TRUE(file.endsWith("</Transmit_PDO></PDO_CANopen><!--SW_VERSION = 1.000-->")) << file.toStdString();

    // Reopened: the same rows.
    Run([&] {
        EXPECT_EQ(RowsOf(0, 3).substr(RowsOf(0, 3).rfind('\n') + 1), "0x7FF|2|1439|$5A|||||||0|");
        EXPECT_EQ(RowsOf(1, 2), "$201|1|0x10||||||||1000|N|out \"A\" & B\n$201|1|0x10||||||||1000|N|out \"A\" & B");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(PDOWindow, AMissingContainerIsAnEmptyTableWithAWarning)
{
    Dir.Write("PDO_CANopen.xml", "<PDO_CANopen><Transmit_PDO><row COB-ID=\"1\" Dimension=\"1\" Address_B1=\"0\" "
                                 "Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" "
                                 "Address_B7=\"\" Address_B8=\"\" Send_Time=\"0\" On_Change=\"N\" Mnemonic=\"t\"/>"
                                 "</Transmit_PDO></PDO_CANopen>");
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_TRUE(Messages.LastText().contains("has no element \"Receive_PDO\"; its table starts empty"))
            << Messages.LastText().toStdString();
        EXPECT_EQ(RowsOf(0, 1), "|||||||||||");
        EXPECT_EQ(RowsOf(1, 1), "1|1|0||||||||0|N|t");
        // Saving over the file asks first; No keeps the file and the window.
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_TRUE(Form->isVisible());
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(QString::fromUtf8(Dir.Read("PDO_CANopen.xml")).left(40), "<PDO_CANopen><Receive_PDO/><Transmit_PDO");
}

TEST_F(SDOClientWindow, WriteRowFaultNamesItsRowAndByte)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Set SDO Client Access");
        EXPECT_EQ(Grid(0).RowCount(), 257);
        EXPECT_EQ(Header_Texts(Grid(1)), QStringList({"N", "ID Device", "Index", "SubIndex", "N Byte", "Poll Time",
                                                 "On Change", "Add Byte1", "Add Byte2", "Add Byte3", "Add Byte4",
                                                 "Mnemonic"}));
        Tab(1);
        for (int r = 1; r <= 5; ++r) {
            EnterIn(1, sdo_wr::Device_ID, r, "1");
            EnterIn(1, sdo_wr::Index, r, "0x2000");
            EnterIn(1, sdo_wr::SubIndex, r, QString::number(r));
            EnterIn(1, sdo_wr::NByte, r, "2");
            EnterIn(1, sdo_wr::Poll_Time, r, "0");
            EnterIn(1, sdo_wr::Add_B1, r, QString::number(2 * r));
            EnterIn(1, sdo_wr::Add_B1 + 1, r, r == 5 ? "1440" : QString::number(2 * r + 1));
        }
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 5!! [SDO Write] Address Byte2 must be between 0 and 1439");
        Press(Form->Btn_Cancel);
    });
    EXPECT_FALSE(QFile::exists(Form->File_Path()));
}

TEST_F(SDOServerWindow, AnObjectOfferedTwiceIsRefusedAndRow500IsSaved)
{
    QByteArray xml = "<SDO_Server_CANopen><SDO_Read>";
    for (int r = 0; r < 500; ++r)
        xml += "<row Index=\"" + QByteArray::number(0x2000 + r / 256) + "\" SubIndex=\"" + QByteArray::number(r % 256) +
               "\" NByte=\"1\" Address_B1=\"" + QByteArray::number(r) +
               "\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"\"/>";
    Dir.Write("SDO_Server_CANopen.xml", xml + "</SDO_Read><SDO_Write/></SDO_Server_CANopen>");
    const int result = Run([&] {
        EXPECT_EQ(Form->size(), QSize(749, 337));
        EXPECT_EQ(Form->L_SW_Desc->text(), "Set SDO Server Access");
        EXPECT_EQ(Form->Btn_DelRow->Caption(), "Delete Row");
        EXPECT_EQ(Grid(0).RowCount(), 501);
        EXPECT_EQ(Grid(0).Cells(sdo_srv::Index, 500), "8193");
        // The write table offers object 0x2000 sub 5 again.
        Tab(1);
        EnterIn(1, sdo_srv::Index, 1, "0x2000");
        EnterIn(1, sdo_srv::SubIndex, 1, "5");
        EnterIn(1, sdo_srv::NByte, 1, "1");
        EnterIn(1, sdo_srv::Add_B1, 1, "600");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "Error row 1!! [SDO in Write] Index 0x2000 SubIndex 0x05 is already used in row 6 of [SDO in Read]");
        // Header hints follow the table under the mouse.
        QString hint;
        Form->GridHint(&Grid(1), 0, sdo_srv::Add_B1, hint);
        EXPECT_EQ(hint, "Insert the position of array where write the byte 1 of CANopen SDO Request");
        EnterIn(1, sdo_srv::Index, 1, "0x3000");
        Tab(0);
        EnterIn(0, sdo_srv::Mnemonic, 500, "last");
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    const QString file = QString::fromUtf8(Dir.Read("SDO_Server_CANopen.xml"));
    EXPECT_EQ(file.count("<row "), 501);
    EXPECT_TRUE(file.contains("Address_B1=\"499\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"last\"/>"
                              "</SDO_Read><SDO_Write><row Index=\"0x3000\" SubIndex=\"5\" NByte=\"1\" "
                              "Address_B1=\"600\""))
        << file.right(400).toStdString();
}

TEST_F(DNetWindow, BlankIdIsContentAndFailsItsCheck)
{
    Dir.Write("DNETM_Net.xml", ReadTestData("DNETM_Net.xml"));
    const int result = Run([&] {
        EXPECT_EQ(Form->Caption(), "DeviceNet Network");
        EXPECT_EQ(Form->size(), QSize(745, 337));
        EXPECT_EQ(Grid().RowCount(), 65);
        EXPECT_EQ(Header_Texts(Grid()), QStringList({"N", "ID Slave", "Num Byte In", "Num Byte Out", "Mnemonic"}));
        EXPECT_FALSE(Grid().Options & grid::goColSizing);
        // Every button has its caption.
        EXPECT_EQ(Form->Btn_OK->Caption(), "OK");
        EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
        EXPECT_EQ(Rows(2), "5|2|1|drive & pump\n$3F|0|3|");
        Enter(dnet::ID, 3, " ");
        Enter(dnet::NB_IN, 3, "1");
        Enter(dnet::NB_OUT, 3, "1");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error in row 3!! ID must be 0 or 63");
        Replace(dnet::ID, 3, "63");
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(QString::fromUtf8(Dir.Read("DNETM_Net.xml")),
              "<DNET_Net><row ID=\"5\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"drive &amp; pump\"/>"
              "<row ID=\"$3F\" NB_IN=\"0\" NB_OUT=\"3\" Mnemonic=\"\"/><row ID=\"63\" NB_IN=\"1\" NB_OUT=\"1\" "
              "Mnemonic=\"\"/></DNET_Net><!--SW_VERSION = 1.000-->");
}
