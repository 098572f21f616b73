// The Modbus master and Modbus TCP master access windows: their files read and written back byte
// for byte through the window, the checks' messages, topics kept by index, hostile files.
#include "protocols/fieldbus/UModbus_TCP_Master_Set_Access.h"
#include "protocols/fieldbus/USetAccess.h"
#include "setup_window_driver.h"
#include "topic_file_fixture.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QTabWidget>
#include <QWheelEvent>

namespace modbus_tests {

namespace mm = fieldbus::modbus_master;
namespace rtu = fieldbus::set_access;
namespace tcp = fieldbus::tcp_set_access;

namespace {

const QStringList Topics = {"plant/a", "plant/b", "plant/a"};

template <typename Window>
class ModbusWindow : public SetupWindowTest<Window> {
protected:
    std::string Read_Rows(int count)
    {
        QStringList out;
        const shell::Table_Rows rows = this->Form->Rows(0);
        for (int r = 0; r < count; ++r)
            out.append(rows[size_t(r)].mid(1).join(QLatin1Char('|')));
        return out.join(QLatin1Char('\n')).toStdString();
    }
};

using RtuWindow = ModbusWindow<TFSetAccess>;
using TcpWindow = ModbusWindow<TFModbus_TCP_Master_Set_Access>;

}  // namespace

// ---- Golden files: read by the window and written back with OK, byte for byte -----------------

TEST_F(RtuWindow, GoldenFileReadShownAndWrittenBackByteForByte)
{
    Write_Topic_File(Topics);
    const QByteArray golden = ReadTestData("ModbusM_SetAccess.xml");
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write("ModbusM_SetAccess.xml", golden);
    EXPECT_EQ(Run([&] {
                  EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
                  EXPECT_EQ(Form->Caption(), "Set Modbus Access");
                  EXPECT_EQ(Form->size(), QSize(956, 337));
                  // Only the read table is on screen, without its Position and Start Bit columns.
                  EXPECT_FALSE(Form->PageControl1->isTabVisible(1));
                  EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
                  EXPECT_TRUE(Grid().IsHiddenColumn(rtu::rd::Position));
                  EXPECT_TRUE(Grid().IsHiddenColumn(rtu::rd::Bit));
                  EXPECT_FALSE(Grid().IsHiddenColumn(rtu::rd::Topic));
                  EXPECT_EQ(Grid().RowCount(), 513);
                  EXPECT_EQ(Form->Read_Topics.Topics(), QStringList({"1 - plant/a", "2 - plant/b", "3 - plant/a"}));
                  EXPECT_EQ(Grid().Columns()[rtu::rd::Topic]->ComboItems, Form->Read_Topics.Topics());
                  EXPECT_EQ(Form->NByte_OUT, 1500);
                  const QStringList& positions = Grid(1).Columns()[rtu::wr::Position]->ComboItems;
                  ASSERT_EQ(positions.size(), 1500);
                  EXPECT_EQ(positions.first(), "0");
                  EXPECT_EQ(positions.last(), "1499");
                  EXPECT_EQ(Read_Rows(4),
                            "Y|1|Holding Register|0|125|1000|0|10|0|N|Y|2 - plant/b|Pump & valve <1>\n"
                            "y|$F7|Coil Status|65536|2001|5|-3|1499|7|Y|N||Zähler «B»\n"
                            "Y| 0x10|Input Status|$FFFF|2000|100000000|100000000|||N|N|3 - plant/a|\n"
                            "Y||||||||||||");
                  EXPECT_EQ(Form->Read_Topics.Remembered(3), 2);
                  // The header hints skip the hidden columns.
                  QString hint;
                  Form->GridHint(&Grid(), 0, Grid().RealToDisplCol(rtu::rd::Topic), hint);
                  EXPECT_EQ(hint, "Select the Topic from the List");
                  // The column groups' colours ($00BBGGRR), seen in an empty row.
                  const QImage shot = Grid().viewport()->grab().toImage();
                  auto colour = [&](int realCol) {
                      const grid::TRect rc = Grid().CellRect(Grid().RealToDisplCol(realCol), 4);
                      const QRgb p = shot.pixel(rc.Left + 3, rc.Top + 3);
                      return uint32_t(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
                  };
                  EXPECT_EQ(colour(rtu::rd::Enable), 11589887u);
                  EXPECT_EQ(colour(rtu::rd::NPoint), 16710368u);
                  EXPECT_EQ(colour(rtu::rd::MaxError), 11075496u);
                  EXPECT_EQ(colour(rtu::rd::SwapWord), 11075583u);
                  EXPECT_EQ(colour(rtu::rd::Topic), 16766421u);
                  EXPECT_EQ(colour(rtu::rd::Mnemonic), 0xFFFFFFu);
                  Press(Form->Btn_OK);
              }),
              platform::mrOk)
        << Messages.LastText().toStdString();
    // The disabled row is written as typed; the third rule keeps the second "plant/a", index 2.
    EXPECT_EQ(Dir.Read("ModbusM_SetAccess.xml"), golden);
}

TEST_F(TcpWindow, GoldenFileWithoutVersionCommentAndDuplicateTopicsKeptByIndex)
{
    Write_Topic_File(Topics);
    const QByteArray golden = ReadTestData("ModbusTCPM_SetAccess.xml");
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_TRUE(golden.endsWith("</ZAVIRAVI_Dovuve_ra_Varira_DOV_Izuvev>"));
    Dir.Write("ModbusTCPM_SetAccess.xml", golden);
    EXPECT_EQ(Run([&] {
                  EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
                  EXPECT_EQ(Form->size(), QSize(1150, 337));
                  EXPECT_EQ(Form->Read_Topics.Topics(), Topics);
                  EXPECT_TRUE(Grid().IsHiddenColumn(tcp::rd::Position));
                  EXPECT_TRUE(Grid().IsHiddenColumn(tcp::rd::Bit));
                  EXPECT_FALSE(Form->PageControl1->isTabVisible(1));
                  EXPECT_EQ(Read_Rows(3),
                            "Y|192.168.1.125|502|1|Input Register|0|125|1000|0|0|0|N|N|plant/a|Second \"a\"\n"
                            "Y| 10.0.0.$FF|$FFFF|247|Coil Status|1|2000|2000|5|||Y|Y|plant/a|First a\n"
                            "N|999.1.1|70000|0||||||||N|N|plant/b|off");
                  EXPECT_EQ(Form->Btn_CopyRow->Caption(), "Copy Row");
                  Press(Form->Btn_OK);
              }),
              platform::mrOk)
        << Messages.LastText().toStdString();
    // The first rule named the second "plant/a" (index 2): it still does.
    EXPECT_EQ(Dir.Read("ModbusTCPM_SetAccess.xml"), golden);
}

// ---- The checks, with the windows' texts ----------------------------------------------------

namespace {

struct Rule_Case {
    bool Tcp;
    int Table;
    std::vector<std::pair<int, const char*>> Cells;  // real column, text
    const char* Message;  // after the row prefix and row 1; "" passes
};

QStringList Valid_Row(bool tcp, int table)
{
    if (!tcp)
        return table == 0 ? QStringList{"1", "Y", "1", "Holding Register", "0", "10", "1000", "0", "", "", "N", "N",
                                        "1 - t", ""}
                          : QStringList{"1", "Y", "1", "Holding Register", "0", "10", "0", "N", "N", "0", "0", "0",
                                        "N", "N", ""};
    return table == 0 ? QStringList{"1", "Y", "192.168.1.125", "502", "1", "Holding Register", "0", "10", "1000", "0",
                                    "", "", "N", "N", "t", ""}
                      : QStringList{"1", "Y", "192.168.1.125", "502", "1", "Holding Register", "0", "10", "0", "N",
                                    "N", "0", "0", "0", "N", "N", ""};
}

class ModbusChecks : public ::testing::TestWithParam<Rule_Case> {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

}  // namespace

TEST_P(ModbusChecks, FirstFaultWithItsMessage)
{
    const Rule_Case& c = GetParam();
    std::vector<shell::Table_Check_Input> tables = {{{Valid_Row(c.Tcp, 0)}, {}}, {{Valid_Row(c.Tcp, 1)}, {}}};
    for (const auto& [column, text] : c.Cells)
        tables[size_t(c.Table)].Rows[0][column] = QString::fromUtf8(text);
    int faultTable = -1;
    const std::optional<QString> fault =
        c.Tcp ? tcp::Check(tables, mm::Data_Array_Size, &faultTable) : rtu::Check(tables, mm::Data_Array_Size, &faultTable);
    const QString expected = QString::fromUtf8(c.Message);
    if (expected.isEmpty()) {
        EXPECT_EQ(fault, std::nullopt);
        return;
    }
    EXPECT_EQ(fault.value_or(QString()), (c.Tcp ? "Error row 1" : "Error row 1") + expected);
    EXPECT_EQ(faultTable, c.Table);
}

// Data below an empty key of the write table is a fault of the write table, which must be shown.
TEST_F(ModbusChecks, RowsBelowAnEmptyKeyOfTheWriteTableAreItsFault)
{
    QStringList empty = Valid_Row(false, 1);
    empty[rtu::wr::Slave_ID] = " ";
    QStringList below = Valid_Row(false, 1);
    below[0] = "2";
    std::vector<shell::Table_Check_Input> tables = {{{Valid_Row(false, 0)}, {}}, {{empty, below}, {}}};
    int faultTable = -1;
    EXPECT_EQ(rtu::Check(tables, mm::Data_Array_Size, &faultTable).value_or(QString()),
              "Error row 1!! Slave ID of row 1 is empty: the table ends there and this row would not be saved");
    EXPECT_EQ(faultTable, 1);
    tables[1].Rows = {Valid_Row(false, 1)};
    EXPECT_EQ(rtu::Check(tables, mm::Data_Array_Size, &faultTable), std::nullopt);
    EXPECT_EQ(faultTable, -1);
}

namespace r = rtu::rd;
namespace w = rtu::wr;
namespace tr = tcp::rd;
namespace tw = tcp::wr;

INSTANTIATE_TEST_SUITE_P(
    Rules, ModbusChecks,
    ::testing::Values(
        Rule_Case{false, 0, {}, ""},
        Rule_Case{false, 0, {{r::Slave_ID, "0"}}, "!! [Modbus Read] Slave ID must be between 1 and 247"},
        Rule_Case{false, 0, {{r::Slave_ID, "$F8"}}, "!! [Modbus Read] Slave ID must be between 1 and 247"},
        Rule_Case{false, 0, {{r::Slave_ID, "1 "}}, "!! [Modbus Read] Slave ID must be between 1 and 247"},
        Rule_Case{false, 0, {{r::Type, ""}},
                   "!! [Modbus Read] Type must be Coil Status or Input Status or Holding Register or Input Register"},
        Rule_Case{false, 0, {{r::Address, "65536"}}, "!! [Modbus Read] Address must be between 0 and 65535"},
        Rule_Case{false, 0, {{r::Type, "Input Register"}, {r::NPoint, "126"}},
                   "!! [Modbus Read] NPoint must be between 1 and 125"},
        Rule_Case{false, 0, {{r::Type, "Coil Status"}, {r::NPoint, "2000"}}, ""},
        Rule_Case{false, 0, {{r::Type, "input status"}, {r::NPoint, "2001"}},
                   "!! [Modbus Read] NPoint must be between 1 and 2000"},
        Rule_Case{false, 0, {{r::NPoint, "0"}}, "!! [Modbus Read] NPoint must be between 1 and 125"},
        Rule_Case{false, 0, {{r::PollTime, "999"}}, "!! [Modbus Read] Poll Time must be between 1000 and 100000000"},
        Rule_Case{false, 0, {{r::MaxError, "100000001"}},
                   "!! [Modbus Read] Max Error must be between 0 and 100000000"},
        Rule_Case{false, 0, {{r::Topic, " "}}, "!! [Modbus Read] Select a Topic"},
        Rule_Case{false, 0, {{r::Topic, "<topic 7: not in the topic table>"}}, "!! [Modbus Read] Select a Topic"},
        // A disabled rule, even one enabled in small letters, is not checked.
        Rule_Case{false, 0, {{r::Enable, "y"}, {r::Slave_ID, "999"}}, ""},
        Rule_Case{false, 1, {{w::Slave_ID, "248"}}, "!! [Modbus Write] Slave ID must be between 1 and 247"},
        Rule_Case{false, 1, {{w::Type, ""}}, "!! [Modbus Write] Type must be Coil Status or Holding Register"},
        Rule_Case{false, 1, {{w::Address, "-1"}}, "!! [Modbus Write] Address must be between 0 and 65535"},
        Rule_Case{false, 1, {{w::NPoint, "124"}}, "!! [Modbus Write] NPoint must be between 1 and 123"},
        Rule_Case{false, 1, {{w::Type, "Coil Status"}, {w::NPoint, "1969"}},
                   "!! [Modbus Write] NPoint must be between 1 and 1968"},
        Rule_Case{false, 1, {{w::PollTime, "100000001"}}, "!! [Modbus Write] Poll Time must be between 0 and 100000000"},
        Rule_Case{false, 1, {{w::MaxError, "x"}}, "!! [Modbus Write] Max Error must be between 0 and 100000000"},
        Rule_Case{false, 1, {{w::Position, "1500"}}, "!! [Modbus Write] Position must be between 0 and 1499"},
        Rule_Case{false, 1, {{w::Position, "1490"}, {w::NPoint, "5"}}, ""},
        Rule_Case{false, 1, {{w::Position, "1490"}, {w::NPoint, "6"}},
                   "!! [Modbus Write] Too many bytes to read starting from the Position indicate"},
        Rule_Case{false, 1, {{w::Type, "Coil Status"}, {w::Position, "1499"}, {w::Bit, "7"}, {w::NPoint, "2"}},
                   "!! [Modbus Write] Too many bytes to read starting from the Position indicate"},
        Rule_Case{false, 1, {{w::Type, "Coil Status"}, {w::Position, "1499"}, {w::Bit, "7"}, {w::NPoint, "1"}}, ""},
        Rule_Case{false, 1, {{w::Type, "Coil Status"}, {w::Bit, ""}}, "!! [Modbus Write] Bit must be between 0 and 7"},
        // The message names 0 .. 7: a start bit beyond it fails too.
        Rule_Case{false, 1, {{w::Type, "Coil Status"}, {w::Bit, "8"}}, "!! [Modbus Write] Bit must be between 0 and 7"},
        // A register rule needs no start bit.
        Rule_Case{false, 1, {{w::Bit, "x"}}, ""},
        Rule_Case{true, 0, {}, ""},
        Rule_Case{true, 0, {{tr::IP_Address, " 192.168.1.125"}}, ""},
        Rule_Case{true, 0, {{tr::IP_Address, "192.168.1.$FF"}}, ""},
        Rule_Case{true, 0, {{tr::IP_Address, "192.168.1"}},
                   "!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        Rule_Case{true, 0, {{tr::IP_Address, "192.168.1.256"}},
                   "!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        Rule_Case{true, 0, {{tr::IP_Address, "192.168.1.1.1"}},
                   "!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        Rule_Case{true, 0, {{tr::IP_Address, "192.168.1.125 "}},
                   "!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        Rule_Case{true, 0, {{tr::Port, "65536"}}, "!! [Modbus Read] Port must be between 0 and 65535"},
        Rule_Case{true, 0, {{tr::Slave_ID, "0"}}, "!! [Modbus Read] Slave ID must be between 1 and 247"},
        Rule_Case{true, 0, {{tr::Type, ""}},
                   "!! [Modbus Read] Type must be Coil Status or Input Status or Holding Register or Input Register"},
        Rule_Case{true, 0, {{tr::Address, "70000"}}, "!! [Modbus Read] Address must be between 0 and 65535"},
        Rule_Case{true, 0, {{tr::NPoint, "126"}}, "!! [Modbus Read] NPoint must be between 1 and 125"},
        Rule_Case{true, 0, {{tr::PollTime, "999"}}, "!! [Modbus Read] Poll Time must be between 1000 and 100000000"},
        Rule_Case{true, 0, {{tr::MaxError, "-1"}}, "!! [Modbus Read] Max Error must be between 0 and 100000000"},
        Rule_Case{true, 0, {{tr::Topic, ""}}, "!! [Modbus Read] Select a Topic"},
        Rule_Case{true, 1, {{tw::IP_Address, "a.b.c.d"}},
                   "!! [Modbus Write] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        Rule_Case{true, 1, {{tw::Port, "-1"}}, "!! [Modbus Write] Port must be between 0 and 65535"},
        Rule_Case{true, 1, {{tw::Slave_ID, "248"}}, "!! [Modbus Write] Slave ID must be between 1 and 247"},
        Rule_Case{true, 1, {{tw::Type, ""}}, "!! [Modbus Write] Type must be Coil Status or Holding Register"},
        Rule_Case{true, 1, {{tw::Address, "65536"}}, "!! [Modbus Write] Address must be between 0 and 65535"},
        Rule_Case{true, 1, {{tw::Type, "Coil Status"}, {tw::NPoint, "1969"}},
                   "!! [Modbus Write] NPoint must be between 1 and 1968"},
        Rule_Case{true, 1, {{tw::PollTime, "-1"}}, "!! [Modbus Write] Poll Time must be between 0 and 100000000"},
        Rule_Case{true, 1, {{tw::MaxError, "100000001"}}, "!! [Modbus Write] Max Error must be between 0 and 100000000"},
        Rule_Case{true, 1, {{tw::Position, "None"}}, "!! [Modbus Write] Position must be between 0 and 1499"},
        Rule_Case{true, 1, {{tw::Type, "Coil Status"}, {tw::Bit, ""}}, "!! [Modbus Write] Bit must be between 0 and 7"},
        Rule_Case{true, 1, {{tw::Position, "1499"}, {tw::NPoint, "1"}},
                   "!! [Modbus Write] Too many bytes to read starting from the Position indicate"}));

// ---- Topics kept by index, hostile files, the hidden write table -----------------------------

// Topics deleted since the rules were saved: a rule whose index now lies beyond the topic table is
// shown marked, reported when the window opens and saved with its index, never as -1.
TEST_F(RtuWindow, AnIndexBeyondTheTopicsIsKeptMarkedAndReported)
{
    Write_Topic_File({"plant/a", "plant/b"});
    const QByteArray file =
        "<RuzirOviRI_da_Zuzize><Modbus_Read>"
        "<row Enable=\"N\" Slave_ID=\"1\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" PollTime=\"1000\" "
        "MaxError=\"0\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"3\" Mnemonic=\"gone\"/>"
        "<row Enable=\"Y\" Slave_ID=\"2\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" PollTime=\"1000\" "
        "MaxError=\"0\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"1\" Mnemonic=\"b\"/>"
        "</Modbus_Read><Modbus_Write/></RuzirOviRI_da_Zuzize><!--SW_VERSION = 1.110-->";
    Dir.Write("ModbusM_SetAccess.xml", file);
    EXPECT_EQ(Run([&] {
                  ASSERT_EQ(Messages.Shown().size(), 1u);
                  EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
                  EXPECT_TRUE(Messages.LastText().contains("rows 1 name topics that the topic table does not hold"))
                      << Messages.LastText().toStdString();
                  EXPECT_EQ(Cell(rtu::rd::Topic, 1), "<topic 3: not in the topic table>");
                  EXPECT_EQ(Cell(rtu::rd::Topic, 2), "2 - plant/b");
                  // Enabled, the rule must be given a topic first.
                  Click(rtu::rd::Enable, 1);
                  Press(Form->Btn_OK);
                  EXPECT_EQ(Messages.LastText(), "Error row 1!! [Modbus Read] Select a Topic");
                  Click(rtu::rd::Enable, 1);
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_EQ(Dir.Read("ModbusM_SetAccess.xml"), file);
}

TEST_F(RtuWindow, NoTopicFileOffersNoTopicsAndKeepsTheSavedIndices)
{
    const QByteArray file =
        "<RuzirOviRI_da_Zuzize><Modbus_Read>"
        "<row Enable=\"N\" Slave_ID=\"1\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" PollTime=\"1000\" "
        "MaxError=\"0\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"0\" Mnemonic=\"\"/>"
        "</Modbus_Read><Modbus_Write/></RuzirOviRI_da_Zuzize><!--SW_VERSION = 1.110-->";
    Dir.Write("ModbusM_SetAccess.xml", file);
    Run([&] {
        EXPECT_TRUE(Form->Read_Topics.Topics().isEmpty());
        EXPECT_EQ(Messages.Shown().size(), 1u);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Dir.Read("ModbusM_SetAccess.xml"), file);
}

// A topic picked from the list is stored by its index, also when another topic has the same text.
TEST_F(TcpWindow, APickedTopicIsStoredByItsIndex)
{
    Write_Topic_File(Topics);
    Run([&] {
        Enter(tcp::rd::IP_Address, 1, "10.0.0.1");
        Enter(tcp::rd::Port, 1, "502");
        Enter(tcp::rd::Slave_ID, 1, "1");
        Pick(tcp::rd::Type, 1, 1);
        Enter(tcp::rd::Address, 1, "0");
        Enter(tcp::rd::NPoint, 1, "8");
        Enter(tcp::rd::PollTime, 1, "1000");
        Enter(tcp::rd::MaxError, 1, "0");
        // The wheel steps through the open list to the third item, the second "plant/a".
        Click(tcp::rd::Topic, 1);
        Key(Qt::Key_F2);
        for (int i = 0; i < 3; ++i) {
            QWheelEvent wheel(QPointF(5, 5), Focus()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                              {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(Focus(), &wheel);
        }
        Key(Qt::Key_Return);
        EXPECT_EQ(Cell(tcp::rd::Topic, 1), "plant/a");
        Press(Form->Btn_OK);
    });
    EXPECT_TRUE(Dir.Read("ModbusTCPM_SetAccess.xml").contains("Index_Topic=\"2\""))
        << Dir.Read("ModbusTCPM_SetAccess.xml").toStdString();
}

// The write table is not on screen in this layout; its fault shows its tab so it can be mended.
TEST_F(RtuWindow, AFaultInTheHiddenWriteTableShowsItsTab)
{
    Dir.Write("ModbusM_SetAccess.xml",
              "<RuzirOviRI_da_Zuzize><Modbus_Read/><Modbus_Write>"
              "<row Enable=\"Y\" Slave_ID=\"1\" Type=\"Holding Register\" Address=\"0\" NPoint=\"6\" PollTime=\"0\" "
              "OnChange=\"N\" OnCMD=\"N\" MaxError=\"0\" Position=\"1490\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" "
              "Mnemonic=\"\"/></Modbus_Write></RuzirOviRI_da_Zuzize>");
    Run([&] {
        EXPECT_FALSE(Form->PageControl1->isTabVisible(1));
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "Error row 1!! [Modbus Write] Too many bytes to read starting from the Position indicate");
        EXPECT_TRUE(Form->PageControl1->isTabVisible(1));
        EXPECT_EQ(Form->PageControl1->currentIndex(), 1);
        EXPECT_EQ(Form->Active_Table(), Form->ACG_Modbus_Write);
        Press(Form->Btn_Cancel);
    });
    // The next show hides it again.
    Run([&] {
        EXPECT_FALSE(Form->PageControl1->isTabVisible(1));
        Press(Form->Btn_Cancel);
    });
}

// A read row lacking a required attribute: the rows before it are shown, the fault reported, and
// saving over the file asks first.
TEST_F(RtuWindow, ARowLackingARequiredAttributeKeepsTheRowsBeforeIt)
{
    Write_Topic_File(Topics);
    const QByteArray file =
        "<RuzirOviRI_da_Zuzize><Modbus_Read>"
        "<row Enable=\"Y\" Slave_ID=\"1\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" PollTime=\"1000\" "
        "MaxError=\"0\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"0\" Mnemonic=\"a\"/>"
        "<row Enable=\"Y\" Slave_ID=\"2\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" PollTime=\"1000\" "
        "MaxError=\"0\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"1\"/>"
        "</Modbus_Read><Modbus_Write/></RuzirOviRI_da_Zuzize><!--SW_VERSION = 1.110-->";
    Dir.Write("ModbusM_SetAccess.xml", file);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        ASSERT_FALSE(Messages.Shown().empty());
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Messages.Shown()[0].Text.contains("could not be read whole"));
        EXPECT_TRUE(Messages.Shown()[0].Text.contains("Mnemonic")) << Messages.Shown()[0].Text.toStdString();
        EXPECT_EQ(Cell(rtu::rd::Topic, 1), "1 - plant/a");
        EXPECT_EQ(Cell(rtu::rd::Mnemonic, 1), "a");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("ModbusM_SetAccess.xml"), file);
}

// A file that is not well formed: a message, the rows before the fault, the file kept aside.
TEST_F(TcpWindow, ABrokenFileIsReportedAndKeptAside)
{
    const QByteArray broken =
        "<ZAVIRAVI_Dovuve_ra_Varira_DOV_Izuvev><Modbus_Read>"
        "<row Enable=\"N\" IP_Address=\"1.2.3.4\" Port=\"502\" Slave_ID=\"1\" Type=\"\" Address=\"\" NPoint=\"\" "
        "PollTime=\"\" MaxError=\"\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"-1\" Mnemonic=\"x\"/>"
        "<row Enable=\"N\" IP_Address=\"5.6";
    Dir.Write("ModbusTCPM_SetAccess.xml", broken);
    Run([&] {
        ASSERT_FALSE(Messages.Shown().empty());
        EXPECT_TRUE(Messages.Shown()[0].Text.contains("ModbusTCPM_SetAccess.xml.damaged"))
            << Messages.Shown()[0].Text.toStdString();
        EXPECT_EQ(Cell(tcp::rd::IP_Address, 1), "1.2.3.4");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("ModbusTCPM_SetAccess.xml"), broken);
}

TEST_F(TcpWindow, CopyAndPasteCaptionsStayEnglishAndTheReadTableHasNoHeaderHintsNorEnterJumps)
{
    Run([&] {
        EXPECT_EQ(Form->Btn_DelRow->Caption(), "Delete Row");
        EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
        EXPECT_FALSE(bool(Form->ACG_Modbus_Read->OnGridHint));
        EXPECT_TRUE(bool(Form->ACG_Modbus_Write->OnGridHint));
        // Enter stays in the read table's cell whatever the program's Enter option says.
        shell::App_State.Opt_Jump_Field_Tables = true;
        Click(tcp::rd::Port, 1);
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid().RealCol(), tcp::rd::Port);
        EXPECT_EQ(Grid().Row(), 1);
        Press(Form->Btn_Cancel);
    });
}

}  // namespace modbus_tests
