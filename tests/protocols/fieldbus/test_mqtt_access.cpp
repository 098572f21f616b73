// The MQTT access window: its file read and written back byte for byte, the checks' messages,
// topics kept by index (unresolved, duplicate texts), the template editor on a Template cell.
#include "mqtt_image/UTopicTemplate.h"
#include "mqtt_image/topic_editor_driver.h"
#include "protocols/fieldbus/UMQTT_Set_Access.h"
#include "setup_window_driver.h"
#include "topic_file_fixture.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace mqtt_access_tests {

namespace ma = fieldbus::mqtt_access;

namespace {

const QStringList Publish = {"plant/a", "plant/b", "plant/a"};
const QStringList Subscribe = {"cmd/x", "cmd/y"};

class MqttAccessWindow : public SetupWindowTest<TFMQTT_Set_Access> {
protected:
    void Tab(int index)
    {
        QTabBar* bar = Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void DoubleClick(int realCol, int row)
    {
        QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, Centre(Grid(), realCol, row));
    }
    QByteArray File() { return Dir.Read("MQTT_Set_Access.xml"); }
};

}  // namespace

// ---- The file: read, shown by topic text and written back byte for byte -----------------------

TEST_F(MqttAccessWindow, GoldenFileReadShownAndWrittenBackByteForByte)
{
    Write_Topic_File(Publish, Subscribe);
    const QByteArray golden = ReadTestData("MQTT_Set_Access.xml");
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write("MQTT_Set_Access.xml", golden);
    EXPECT_EQ(Run([&] {
                  EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
                  EXPECT_EQ(Form->Caption(), "MQTT Set Access");
                  EXPECT_EQ(Form->size(), QSize(760, 337));
                  EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
                  EXPECT_EQ(Form->PageControl1->tabText(1), "MQTT Subscribe");
                  EXPECT_EQ(Grid().Columns()[ma::Topic]->ComboItems, Publish);
                  EXPECT_EQ(Grid(1).Columns()[ma::Topic]->ComboItems, Subscribe);
                  EXPECT_EQ(Rows(4), "Y|plant/b|Int|2|0|$VALUE$|Pump & valve <1>\n"
                                     "y|plant/a|Float|4|1436|{\"v\": $VALUE$}|Zähler «B»\n"
                                     "N|plant/a|String|0|-5||\n"
                                     "Y|plant/a|Int|8|1432|$VALUE$|same text, own topic");
                  EXPECT_EQ(Grid(1).Cells(ma::Topic, 1), "cmd/y");
                  // Cleared rows below show enabled, as every show clears the tables.
                  EXPECT_EQ(Cell(ma::Enable, 5), "Y");
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_EQ(File().toStdString(), golden.toStdString());
}

// A row without Enable loads disabled, though a cleared row shows enabled.
TEST_F(MqttAccessWindow, AFileRowWithoutEnableLoadsDisabled)
{
    Write_Topic_File(Publish, Subscribe);
    Dir.Write("MQTT_Set_Access.xml", "<MQTT_Set_Access><MQTT_Publish><row Index_Topic=\"0\"/></MQTT_Publish>"
                                     "<MQTT_Subscribe/></MQTT_Set_Access>");
    Run([&] {
        EXPECT_EQ(Rows(1), "N|plant/a|||||");
        Press(Form->Btn_Cancel);
    });
}

// A file cut short: the rows before the cut are shown, the cut is reported, and OK asks before
// replacing the file; No keeps it as it was.
TEST_F(MqttAccessWindow, ACutFileShowsItsWholeRowsAndAsksBeforeItIsReplaced)
{
    Write_Topic_File(Publish, Subscribe);
    const QByteArray golden = ReadTestData("MQTT_Set_Access.xml");
    const QByteArray cut = golden.left(golden.indexOf("<row Enable=\"N\""));
    Dir.Write("MQTT_Set_Access.xml", cut);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Messages.LastText().contains("could not be read whole")) << Messages.LastText().toStdString();
        EXPECT_EQ(Rows(3), "Y|plant/b|Int|2|0|$VALUE$|Pump & valve <1>\n"
                           "y|plant/a|Float|4|1436|{\"v\": $VALUE$}|Zähler «B»\n"
                           "Y||||||");
        Press(Form->Btn_OK);
        ASSERT_EQ(Messages.Shown().size(), 2u);
        EXPECT_EQ(Messages.Shown()[1].Type, platform::TMsgDlgType::mtConfirmation);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(File(), cut);
}

// ---- The checks ------------------------------------------------------------------------------

struct Rule_Case {
    int Table;
    QString Enable, Type, Dimension, Position;
    QString Message;  // empty: passes
};

class MqttAccessChecks : public ::testing::TestWithParam<Rule_Case> {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

TEST_P(MqttAccessChecks, FirstFaultWithItsMessage)
{
    const Rule_Case& c = GetParam();
    std::vector<shell::Table_Check_Input> tables(2);
    tables[size_t(c.Table)].Rows.push_back({"1", c.Enable, "topic", c.Type, c.Dimension, c.Position, "", ""});
    const std::optional<QString> fault = ma::Check(tables);
    if (c.Message.isEmpty())
        EXPECT_FALSE(fault) << fault->toStdString();
    else
        EXPECT_EQ(fault.value_or("passed"), "Error row 1" + c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MqttAccessChecks,
    ::testing::Values(
        Rule_Case{0, "Y", "Int", "3", "0", "!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        Rule_Case{0, "Y", "Float", "2", "0", "!! [MQTT Publish] Dimension must be equal to 4 or 8"},
        Rule_Case{0, "Y", "String", "0", "0", "!! [MQTT Publish] Dimension must be major of 0"},
        Rule_Case{0, "Y", "String", "250", "0", ""},
        Rule_Case{0, "Y", " ", "2", "0", "!! [MQTT Publish] Data Type must be selected"},
        Rule_Case{0, "y", "int", "2", "x", "!! [MQTT Publish] Position must be beetween 0 and 1439"},
        Rule_Case{0, "Y", "Int", "1", "1439", ""},
        Rule_Case{0, "Y", "Int", "1", "1440", "!! [MQTT Publish] Position must be beetween 0 and 1439"},
        Rule_Case{0, "N", "Int", "3", "1440", ""},
        // A value must fit the exchange area whole.
        Rule_Case{0, "Y", "Float", "8", "1433",
                  "!! [MQTT Publish] Position + Dimension must not pass the end of the 1440-byte exchange area"},
        Rule_Case{0, "Y", "Float", "8", "1432", ""},
        Rule_Case{1, "Y", "String", "251", "1190",
                  "!! [MQTT Subscribe] Position + Dimension must not pass the end of the 1440-byte exchange area"},
        Rule_Case{1, "Y", "", "2", "0", "!! [MQTT Subscribe] Data Type must be selected"},
        Rule_Case{1, "Y", "Int", "16", "0", "!! [MQTT Subscribe] Dimension must be equal to 1 or 2 or 4 or 8"},
        Rule_Case{1, "Y", "Float", "1", "0", "!! [MQTT Subscribe] Dimension must be equal to 4 or 8"},
        Rule_Case{1, "Y", "String", "-1", "0", "!! [MQTT Subscribe] Dimension must be major of 0"},
        Rule_Case{1, "Y", "Int", "4", "-1", "!! [MQTT Subscribe] Position must be beetween 0 and 1439"}));

// The checks and the writer end a table at the same row: a disabled row without a topic ends it,
// and rules below it are a fault rather than silently dropped.
TEST_F(MqttAccessChecks, RowsBelowADisabledRowWithoutTopicAreAFault)
{
    std::vector<shell::Table_Check_Input> tables(2);
    tables[0].Rows = {{"1", "N", "", "", "", "", "", ""}, {"2", "Y", "topic", "Int", "2", "0", "", ""}};
    EXPECT_EQ(ma::Check(tables).value_or("passed"),
              "Error row 2!! Topic of row 1 is empty: the table ends there and this row would not be saved");
}

// ---- Topics kept by index ---------------------------------------------------------------------

// Without a topic file no saved rule is lost: each keeps its index, marked; the open warns and OK
// asks before saving them so.
TEST_F(MqttAccessWindow, NoTopicFileKeepsTheRulesMarkedWarnsAndAsksBeforeSaving)
{
    const QByteArray golden = ReadTestData("MQTT_Set_Access.xml");
    Dir.Write("MQTT_Set_Access.xml", golden);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Messages.QueueAnswer(platform::mrYes);
    EXPECT_EQ(Run([&] {
                  ASSERT_EQ(Messages.Shown().size(), 1u);
                  EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
                  EXPECT_TRUE(Messages.LastText().contains("publish rows 1, 2, 3, 4; subscribe row 1"))
                      << Messages.LastText().toStdString();
                  EXPECT_EQ(Cell(ma::Topic, 1), "<topic 1: not in the topic table>");
                  // Refused: the window stays open, nothing written.
                  Press(Form->Btn_OK);
                  ASSERT_EQ(Messages.Shown().size(), 2u);
                  EXPECT_EQ(Messages.Shown()[1].Type, platform::TMsgDlgType::mtConfirmation);
                  EXPECT_TRUE(Form->isVisible());
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_EQ(File().toStdString(), golden.toStdString());
}

// A topic deleted since: the rule's index now lies beyond the table, kept and marked.
TEST_F(MqttAccessWindow, AnIndexBeyondTheTopicsIsReportedWithItsRow)
{
    Write_Topic_File({"plant/a"}, Subscribe);
    Dir.Write("MQTT_Set_Access.xml", ReadTestData("MQTT_Set_Access.xml"));
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_TRUE(Messages.LastText().contains("(1 publish and 2 subscribe topics)"));
        EXPECT_TRUE(Messages.LastText().contains(": publish rows 1, 3, 4. They keep"))
            << Messages.LastText().toStdString();
        EXPECT_EQ(Cell(ma::Topic, 2), "plant/a");
        EXPECT_EQ(Cell(ma::Topic, 4), "<topic 2: not in the topic table>");
        Press(Form->Btn_Cancel);
    });
}

// The file keeps topic numbers only; a topic deleted from the topic table since the rules were
// saved moves the later topics up, and the next show names each rule that now points elsewhere.
TEST_F(MqttAccessWindow, ARuleWhoseIndexNowNamesAnotherTopicIsPointedOut)
{
    Write_Topic_File({"plant/a", "plant/b", "plant/c"}, Subscribe);
    Run([&] {
        Pick(ma::Topic, 1, 2);
        Pick(ma::DataType, 1, 1);
        Enter(ma::Dimension, 1, "2");
        Enter(ma::Position, 1, "0");
        Pick(ma::Topic, 2, 1);
        Pick(ma::DataType, 2, 1);
        Enter(ma::Dimension, 2, "2");
        Enter(ma::Position, 2, "2");
        Press(Form->Btn_OK);
    });
    const QByteArray saved = File();
    ASSERT_TRUE(saved.contains("Index_Topic=\"1\"")) << saved.toStdString();
    EXPECT_TRUE(QFile::exists(Dir.Path() + "/MQTT_Set_Access.topics.xml"));

    Write_Topic_File({"plant/a", "plant/c"}, Subscribe);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
        EXPECT_EQ(Messages.LastText(), "The topic table has changed since these rules were saved. The rules keep topic "
                                       "numbers, so these now name other topics:\n"
                                       "publish row 1: saved for \"plant/b\", now \"plant/c\"\n"
                                       "Check them before saving.");
        EXPECT_EQ(Cell(ma::Topic, 2), "plant/a");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(File(), saved);

    // A damaged record says nothing rather than something wrong.
    Dir.Write("MQTT_Set_Access.topics.xml", "<Saved_Topics><MQTT_Publish><row Topic=\"pl");
    Messages.Clear();
    Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        Press(Form->Btn_Cancel);
    });
}

// A topic picked anew is stored by its index; a second rule on the same text keeps its own index.
TEST_F(MqttAccessWindow, TypedRuleWithAPickedTopicIsSavedByIndex)
{
    Write_Topic_File(Publish, Subscribe);
    Run([&] {
        Pick(ma::Topic, 1, 2);
        Pick(ma::DataType, 1, 2);
        Enter(ma::Dimension, 1, "4");
        Enter(ma::Position, 1, "12");
        Enter(ma::Mnemonic, 1, "flow");
        Tab(1);
        Pick(ma::Topic, 1, 1);
        Pick(ma::DataType, 1, 3);
        Enter(ma::Dimension, 1, "16");
        Enter(ma::Position, 1, "1424");
        EXPECT_EQ(Grid(1).Cells(ma::Topic, 1), "cmd/x");
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(File().toStdString(), "<MQTT_Set_Access><MQTT_Publish><row Enable=\"Y\" Index_Topic=\"1\" DataType=\"Float\" "
                      "Dimension=\"4\" Position=\"12\" Template=\"\" Mnemonic=\"flow\"/></MQTT_Publish>"
                      "<MQTT_Subscribe><row Enable=\"Y\" Index_Topic=\"0\" DataType=\"String\" Dimension=\"16\" "
                      "Position=\"1424\" Template=\"\" Mnemonic=\"\"/></MQTT_Subscribe></MQTT_Set_Access>"
                      "<!--SW_VERSION = 1.110-->");
}

// Picked with the keyboard, the second of two equal topic texts keeps its own index.
TEST_F(MqttAccessWindow, AKeyboardPickAmongEqualTopicTextsKeepsItsIndex)
{
    Write_Topic_File(Publish, Subscribe);
    Run([&] {
        Pick(ma::Topic, 1, 3);
        Pick(ma::DataType, 1, 1);
        Enter(ma::Dimension, 1, "2");
        Enter(ma::Position, 1, "0");
        EXPECT_EQ(Cell(ma::Topic, 1), "plant/a");
        Press(Form->Btn_OK);
    });
    EXPECT_TRUE(File().contains("Index_Topic=\"2\"")) << File().toStdString();
}

// ---- Rows and the template editor ---------------------------------------------------------------

// An inserted row starts unchecked and is skipped by the checks until it is ticked.
TEST_F(MqttAccessWindow, AnInsertedRowStartsUncheckedAndIsSkippedUntilTicked)
{
    Write_Topic_File(Publish, Subscribe);
    Run([&] {
        Click(ma::Mnemonic, 1);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Cell(ma::Enable, 1), "");
        Pick(ma::Topic, 1, 1);
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.Shown().empty());
    });
    EXPECT_TRUE(File().contains("<row Enable=\"\" Index_Topic=\"0\" DataType=\"\""));
}

TEST_F(MqttAccessWindow, DoubleClickOnATemplateCellEditsItInTheTopicEditor)
{
    Write_Topic_File(Publish, Subscribe);
    Dir.Write("MQTT_Set_Access.xml", ReadTestData("MQTT_Set_Access.xml"));
    Run([&] {
        bool opened = false;
        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) {
            opened = true;
            EXPECT_EQ(editor->TopicTemplate, 1);
            EXPECT_EQ(editor->RE_TopicTemplate->toPlainText(), "$VALUE$");
            QTest::keyClick(editor->RE_TopicTemplate, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(editor->RE_TopicTemplate, " at $TIME$");
            Press(editor->Btn_OK);
        });
        Click(ma::Template, 1);
        DoubleClick(ma::Template, 1);
        QApplication::setActiveWindow(Form.get());
        EXPECT_TRUE(opened);
        EXPECT_EQ(Cell(ma::Template, 1), "$VALUE$ at $TIME$");
        // Cancelled, the cell keeps its text.
        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) {
            QTest::keyClicks(editor->RE_TopicTemplate, "lost");
            Press(editor->Btn_Cancel);
        });
        Click(ma::Template, 2);
        DoubleClick(ma::Template, 2);
        QApplication::setActiveWindow(Form.get());
        EXPECT_EQ(Cell(ma::Template, 2), "{\"v\": $VALUE$}");
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        Press(Form->Btn_Cancel);
    });
}

}  // namespace mqtt_access_tests
