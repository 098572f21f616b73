// The MQTT topic window and its topic and template editor, driven as a user drives them.
#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/GridEditLayer.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "mqtt_image/UBank2.h"
#include "mqtt_image/UMQTT_Set_Topic.h"
#include "mqtt_image/UTopicTemplate.h"
#include "mqtt_image/topic_editor_driver.h"
#include "platform/Dialogs.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "support/Deferred.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "test_bank_support.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

using namespace mqtt_image;
using grid::TExtColumnGrid;

namespace {

class TopicWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.File_MQTT_Set_Topic = Dir.File("MQTT_Set_Topic.xml");
        // The tables edit with the keyboard and mouse, as the program's do.
        Form = std::make_unique<TFMQTT_Set_Topic>(
            grid::TGridLayers{.Editing = grid::editing::EditingLayer(grid::editing::InputHandling())});
    }
    void TearDown() override
    {
        Form.reset();
        shell::Window_List().Clear();
        shell::App_State = {};
    }

    // Shows the window as the main window does and runs the user's actions inside its loop; the
    // actions end by closing it.
    int Run(std::function<void()> actions)
    {
        return Run_Modal(Form.get(), std::move(actions), [this] { return Messages.LastText(); });
    }
    // Loads the file and shows the window without a loop of its own.
    void Open()
    {
        Form->Load_File();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }

    TExtColumnGrid& Pub() { return *Form->ACG_Pub; }
    TExtColumnGrid& Sub() { return *Form->ACG_Sub; }
    QPoint Centre(TExtColumnGrid& g, int realCol, int row)
    {
        g.ScrollInView(g.RealToDisplCol(realCol), row);
        const grid::TRect rc = g.CellRect(g.RealToDisplCol(realCol), row);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void Click(TExtColumnGrid& g, int realCol, int row)
    {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, Centre(g, realCol, row));
    }
    void DoubleClick(TExtColumnGrid& g, int realCol, int row)
    {
        const QPoint at = Centre(g, realCol, row);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, at);
        // As the window system does when a dialog opened from here closes.
        QApplication::setActiveWindow(Form.get());
    }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Key(Qt::Key k) { QTest::keyClick(Focus(), k); }
    static void Type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(Focus(), ch.toLatin1());
    }
    // Selects a cell and types its text; Enter writes it back.
    void Enter(TExtColumnGrid& g, int realCol, int row, const QString& text)
    {
        Click(g, realCol, row);
        Type(text);
        Key(Qt::Key_Return);
    }
    // Opens a list cell with F2 and steps down to an item: from an empty cell the first Down
    // picks the first item.
    void Pick(TExtColumnGrid& g, int realCol, int row, int downs)
    {
        Click(g, realCol, row);
        Key(Qt::Key_F2);
        for (int i = 0; i < downs; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    }
    static void Press(controls::TPicButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    void Tab(int index)
    {
        QTabBar* bar = Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    bool Written() const { return QFile::exists(shell::App_State.File_MQTT_Set_Topic); }

    TempDir Dir;
    ScriptedMessages Messages;
    std::unique_ptr<TFMQTT_Set_Topic> Form;
};

// The first rows of a table as the file keeps them: the stored columns, one line a row.
std::string Stored(const TTopic_Rows& rows, TTopic_Side side, int count)
{
    QStringList out;
    for (int r = 0; r < count && r < int(rows.size()); ++r) {
        QStringList cells;
        for (int c = 0; c < int(Topic_Columns(side).size()); ++c)
            if (!Topic_Columns(side)[size_t(c)].Attribute.isEmpty())
                cells.append(rows[size_t(r)].value(c));
        out.append(cells.join(QLatin1Char('|')));
    }
    return out.join(QLatin1Char('\n')).toStdString();
}

QStringList Display_Headers(TExtColumnGrid& g)
{
    QStringList headers;
    for (int d = 0; d < g.ColCount(); ++d)
        headers.append(g.Cells(g.RealColIndex(d), 0));
    return headers;
}

TEST_F(TopicWindow, TablesShowTheirColumnsAndNumberedEmptyRows)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("a", {{"IPAddress", "10.1.1.1"}})}, {}));
    Open();
    EXPECT_EQ(Form->Caption(), "Set MQTT Topics");
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_MQTT_Publish);
    EXPECT_EQ(Form->PageControl1->tabText(0), "MQTT Publish");
    EXPECT_EQ(Form->PageControl1->tabText(1), "MQTT Subscribe");
    EXPECT_EQ(Display_Headers(Pub()), QStringList({"N", "Topic", "Retained", "QoS", "Data Type", "Dimension", "Position",
                                                   "Template", "OnChange", "OnCMD", "OnTimer", "Time(ms)", "Mnemonic"}));
    EXPECT_EQ(Display_Headers(Sub()),
              QStringList({"N", "Topic", "QoS", "Data Type", "Dimension", "Position", "Template", "Mnemonic"}));
    for (TExtColumnGrid* g : {&Pub(), &Sub()}) {
        EXPECT_EQ(g->RowCount(), 1025);
        EXPECT_EQ(g->Cells(0, 1), "1");
        EXPECT_EQ(g->Cells(0, 1024), "1024");
        EXPECT_EQ(g->ColWidths(0), 40);
        EXPECT_EQ(g->ColWidths(1), 300);
    }
    // A hidden column keeps what the file holds; the rows the file does not fill are empty.
    EXPECT_EQ(Pub().Cells(pub::IPAddress, 1), "10.1.1.1");
    EXPECT_EQ(Pub().Cells(pub::Topic, 2), "");
    EXPECT_EQ(Pub().Cells(pub::OnChange, 2), "");
    // Hints of the headers follow the real column under the mouse.
    QString hint = "own";
    Pub().OnGridHint(&Pub(), 0, Pub().RealToDisplCol(pub::Template), hint);
    EXPECT_EQ(hint, "Insert the Template");
    hint = "own";
    Sub().OnGridHint(&Sub(), 0, Sub().RealToDisplCol(sub::Mnemonic), hint);
    EXPECT_EQ(hint, "Description of MQTT Topic");
    hint = "own";
    Pub().OnGridHint(&Pub(), 1, 1, hint);
    EXPECT_EQ(hint, "own");
}

// The window's texts in English, and again after a language change replaced them.
TEST_F(TopicWindow, TextsFollowTheLanguage)
{
    struct Button_Texts {
        controls::TPicButton* Button;
        const char* Caption;
        const char* Hint;
    };
    const Button_Texts buttons[] = {
        {Form->Btn_OK, "OK", "Confirm and save the MQTT Set Topics List"},
        {Form->Btn_Cancel, "Cancel", "Exit without save the MQTT Set Topics List"},
        {Form->Btn_DelRow, "Delete Row", "Delete the Selected Row in the table"},
        {Form->Btn_InsRow, "Insert Row", "Insert a Row in the Table"},
        {Form->Btn_CopyRow, "Copy Row", "Copy all Fields of the Selected Row"},
        {Form->Btn_PasteRow, "Paste Row", "Paste the Copied Fields in the Selected Row"},
    };
    for (const Button_Texts& b : buttons) {
        EXPECT_EQ(b.Button->Caption(), b.Caption);
        EXPECT_EQ(b.Button->Hint(), b.Hint);
    }

    // Every text of the window's own table range, replaced by its index.
    for (int i = 700; i <= 734; ++i)
        shell::List_Lang[i] = QStringLiteral("#%1").arg(i);
    Form->Set_Lang();
    EXPECT_EQ(Form->Caption(), "#700");
    EXPECT_EQ(Form->L_SW_Desc->text(), "#701");
    for (int b = 0; b < int(std::size(buttons)); ++b) {
        EXPECT_EQ(buttons[b].Button->Caption(), QStringLiteral("#%1").arg(702 + b));
        EXPECT_EQ(buttons[b].Button->Hint(), QStringLiteral("#%1").arg(708 + b));
    }
    EXPECT_EQ(Form->PageControl1->tabText(0), "#733");
    EXPECT_EQ(Form->PageControl1->tabText(1), "#734");
    EXPECT_EQ(Pub().Cells(pub::Topic, 0), "#715");
    EXPECT_EQ(Sub().Cells(sub::Mnemonic, 0), "#728");
    QString hint;
    Pub().OnGridHint(&Pub(), 0, Pub().RealToDisplCol(pub::Topic), hint);
    EXPECT_EQ(hint, "#719");
    Sub().OnGridHint(&Sub(), 0, Sub().RealToDisplCol(sub::Mnemonic), hint);
    EXPECT_EQ(hint, "#732");
    shell::Load_Default_Language();
}

// Both tables filled with the keyboard and the mouse, saved, opened again: the same cells, and
// the device image carries exactly these topics.
TEST_F(TopicWindow, FilledSavedAndReopenedTablesMatchAndBuildTheImage)
{
    std::string publish, subscribe;
    const int result = Run([&] {
        Enter(Pub(), pub::Topic, 1, "plant/temp");
        Click(Pub(), pub::Retained, 1);                  // ticks it
        Enter(Pub(), pub::QoS, 1, "1");                  // a typed character picks the item
        Pick(Pub(), pub::DataType, 1, 3);
        Enter(Pub(), pub::Dimension, 1, "4");
        Enter(Pub(), pub::Position, 1, "100");
        Click(Pub(), pub::OnTimer, 1);
        Enter(Pub(), pub::Time, 1, "5000");
        Enter(Pub(), pub::Mnemonic, 1, "Temperature");
        When_Topic_Editor_Shown([](TFTopicTemplate* editor) {
            EXPECT_EQ(editor->Caption(), "Set Template");
            EXPECT_TRUE(editor->RE_TopicTemplate->hasFocus());
            QTest::keyClicks(editor->RE_TopicTemplate, "{\"t\": $VALUE$,");
            QTest::keyClick(editor->RE_TopicTemplate, Qt::Key_Return);
            QTest::keyClicks(editor->RE_TopicTemplate, " \"at\": $TIME$}");
            Press(editor->Btn_OK);
        });
        DoubleClick(Pub(), pub::Template, 1);
        EXPECT_EQ(Pub().Cells(pub::Template, 1), "{\"t\": $VALUE$,\n \"at\": $TIME$}");

        Enter(Pub(), pub::Topic, 2, "plant/<b>state</b>");
        Pick(Pub(), pub::QoS, 2, 1);
        Pick(Pub(), pub::DataType, 2, 2);
        Enter(Pub(), pub::Dimension, 2, "3");
        Enter(Pub(), pub::Position, 2, "0x10");
        Click(Pub(), pub::OnChange, 2);

        Tab(1);
        Enter(Sub(), sub::Topic, 1, "cmd/#");
        Pick(Sub(), sub::QoS, 1, 3);
        Pick(Sub(), sub::DataType, 1, 1);
        Enter(Sub(), sub::Dimension, 1, "2");
        Enter(Sub(), sub::Position, 1, "1438");
        Enter(Sub(), sub::Template, 1, "$VALUE$");
        Enter(Sub(), sub::Mnemonic, 1, "Command");
        publish = Stored(Form->Rows(Topic_Publish), Topic_Publish, 3);
        subscribe = Stored(Form->Rows(Topic_Subscribe), Topic_Subscribe, 2);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_EQ(publish, "plant/temp|Y|1|Float|4|100||||{\"t\": $VALUE$,\n \"at\": $TIME$}|||Y|5000|Temperature\n"
                       "plant/<b>state</b>||0|SInt|3|0x10|||||Y||||\n"
                       "||||||||||||||");
    EXPECT_EQ(subscribe, "cmd/#||2|Int|2|1438||||||$VALUE$|Command\n||||||||||||");

    Run([&] {
        EXPECT_EQ(Stored(Form->Rows(Topic_Publish), Topic_Publish, 3), publish);
        EXPECT_EQ(Stored(Form->Rows(Topic_Subscribe), Topic_Subscribe, 2), subscribe);
        Press(Form->Btn_Cancel);
    });

    TMQTT image;
    Init_MQTT_Defaults(image);
    image.Mode = 2;
    Load_Topics_For_Bank2(image, shell::App_State.File_MQTT_Set_Topic);
    ASSERT_EQ(image.Publish_Data.size(), 2u);
    EXPECT_EQ(image.Publish_Data[0].Publish_Topic.CString, "plant/temp");
    EXPECT_EQ(image.Publish_Data[0].QoS, 1);
    EXPECT_EQ(image.Publish_Data[0].Retained, 1);
    EXPECT_EQ(image.Publish_Data[0].Position, 100u);
    EXPECT_EQ(image.Publish_Data[0].Length, 4u);
    EXPECT_EQ(image.Publish_Data[0].Timer, 5000u);
    EXPECT_EQ(image.Publish_Data[0].Description.Text, "Temperature");
    EXPECT_EQ(image.Publish_Data[1].Publish_Topic.CString, "plant/<b>state</b>");
    EXPECT_EQ(image.Publish_Data[1].Position, 16u);
    ASSERT_EQ(image.Topic_Filters.size(), 1u);
    EXPECT_EQ(image.Topic_Filters[0].CString, "cmd/#");
    EXPECT_EQ(image.Topic_Filter_QoS[0], 2);
    EXPECT_EQ(image.Subscribe_Data[0].Position, 1438u);
}

// The first fault is shown with its row and the file is left alone; Cancel writes nothing.
TEST_F(TopicWindow, RefusedOkAndCancelWriteNothing)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("a")}, {}));
    const QByteArray before = Dir.Read("MQTT_Set_Topic.xml");
    const int result = Run([&] {
        Enter(Pub(), pub::Position, 1, "1440");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439");
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(result, platform::mrCancel);
    EXPECT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Dir.Read("MQTT_Set_Topic.xml"), before);

    // The next show reads the file again: the cancelled edit is gone.
    Run([&] {
        EXPECT_EQ(Pub().Cells(pub::Position, 1), "0");
        Enter(Pub(), pub::Topic, 1, "changed");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("MQTT_Set_Topic.xml"), before);
}

// A file that cannot be written is reported and the window stays open with its tables.
TEST_F(TopicWindow, UnwritableFileKeepsTheWindowOpen)
{
    shell::App_State.File_MQTT_Set_Topic = Dir.File("no such folder/MQTT_Set_Topic.xml");
    Run([&] {
        const QStringList row = {"1", "t", "N", "0", "Int", "2", "0", "", "N", "", "", "N", "N", "N", "", "", "N", "N", "m"};
        for (int c = 1; c < row.size(); ++c)
            Pub().SetCells(c, 1, row[c]);
        Press(Form->Btn_OK);
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(Pub().Cells(pub::Topic, 1), "t");
        Press(Form->Btn_Cancel);
    });
    EXPECT_FALSE(QFile::exists(shell::App_State.File_MQTT_Set_Topic));
}

// OK pressed while a cell's editor is still open saves what was typed there.
TEST_F(TopicWindow, OkTakesTheTextOfAnOpenEditor)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("a")}, {}));
    Run([&] {
        Click(Pub(), pub::Mnemonic, 1);
        Key(Qt::Key_F2);
        Type("Boiler");
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    EXPECT_TRUE(Dir.Read("MQTT_Set_Topic.xml").contains("Mnemonic=\"Boiler\"")) << Dir.Read("MQTT_Set_Topic.xml").toStdString();
}

// A file that could not be read whole is reported when the window opens, and OK asks before
// replacing it.
TEST_F(TopicWindow, PartlyReadFileIsReportedAndReplacedOnlyWhenTheUserAgrees)
{
    Dir.Write("MQTT_Set_Topic.xml",
              bank_test::Topic_Xml({bank_test::Publish_Row("a"), bank_test::Publish_Row("b", {{"QoS", bank_test::Missing}})},
                                   {}));
    const QByteArray before = Dir.Read("MQTT_Set_Topic.xml");
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(Messages.LastText().contains("Row 2 of \"MQTT_Publish\" lacks \"QoS\"")) << Messages.LastText().toStdString();
        EXPECT_EQ(Pub().Cells(pub::Topic, 2), "b");
        Enter(Pub(), pub::QoS, 2, "1");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_TRUE(Form->isVisible());
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    EXPECT_NE(Dir.Read("MQTT_Set_Topic.xml"), before);
    EXPECT_TRUE(Dir.Read("MQTT_Set_Topic.xml").contains("Topic=\"b\" Retained=\"N\" QoS=\"1\""));

    // A file that is not XML: kept aside under a name that says so, the rows before the fault
    // shown, and the same question on OK.
    const QByteArray broken = "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"x\" QoS=\"0\" DataType=\"Int\" "
                              "Dimension=\"1\" Position=\"0\"/></MQTT_Publish>";
    Dir.Write("MQTT_Set_Topic.xml", broken);
    Messages.Clear();
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        EXPECT_TRUE(Messages.LastText().contains("MQTT_Set_Topic.xml.damaged")) << Messages.LastText().toStdString();
        EXPECT_EQ(Pub().Cells(pub::Topic, 1), "x");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().size(), 2u);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("MQTT_Set_Topic.xml"), broken);
    EXPECT_EQ(Dir.Read("MQTT_Set_Topic.xml.damaged"), broken);
}

TEST_F(TopicWindow, RowButtonsActOnTheActiveTable)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("p1"), bank_test::Publish_Row("p2")},
                                                        {bank_test::Subscribe_Row("s1"), bank_test::Subscribe_Row("s2")}));
    Run([&] {
        // A row copied in the publish table cannot be pasted in the subscribe table.
        Click(Pub(), pub::Topic, 2);
        Press(Form->Btn_CopyRow);
        Tab(1);
        Click(Sub(), sub::Topic, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), shell::Lang(1102));
        EXPECT_EQ(Sub().Cells(sub::Topic, 2), "s2");

        // Insert on the subscribe tab: the subscribe table moves down, the publish table stays.
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Sub().Cells(sub::Topic, 2), "");
        EXPECT_EQ(Sub().Cells(sub::Topic, 3), "s2");
        EXPECT_EQ(Pub().Cells(pub::Topic, 2), "p2");

        // Delete asks with the row number; No keeps the row.
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 2");
        EXPECT_EQ(Sub().Cells(sub::Topic, 3), "s2");
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Sub().Cells(sub::Topic, 2), "s2");

        // Copied and pasted within the subscribe table.
        Press(Form->Btn_CopyRow);
        Click(Sub(), sub::Topic, 3);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Sub().Cells(sub::Topic, 3), "s2");
        EXPECT_EQ(Sub().Cells(sub::Mnemonic, 3), Sub().Cells(sub::Mnemonic, 2));
        Press(Form->Btn_Cancel);
    });
}

// Only the template cells open the editor; its keywords follow the table.
TEST_F(TopicWindow, DoubleClickOpensTheEditorOnTemplateCellsOnly)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("p")}, {bank_test::Subscribe_Row("s")}));
    QStringList publishKeywords, subscribeKeywords;
    Run([&] {
        DoubleClick(Pub(), pub::Topic, 1);
        EXPECT_FALSE(shell::Window_List().Find<TFTopicTemplate>() && FTopicTemplate()->isVisible());

        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) {
            for (int r = 1; r < editor->ESG_Keywords->RowCount(); ++r)
                publishKeywords.append(editor->ESG_Keywords->Cells(0, r));
            QTest::keyClicks(editor->RE_TopicTemplate, "$");
            Press(editor->Btn_Cancel);
        });
        DoubleClick(Pub(), pub::Template, 1);
        EXPECT_EQ(Pub().Cells(pub::Template, 1), "$VALUE$");  // cancelled: unchanged

        Tab(1);
        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) {
            for (int r = 1; r < editor->ESG_Keywords->RowCount(); ++r)
                subscribeKeywords.append(editor->ESG_Keywords->Cells(0, r));
            Press(editor->Btn_Cancel);
        });
        DoubleClick(Sub(), sub::Template, 1);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(publishKeywords, QStringList({"$VALUE$", "$DESC$", "$TIME$"}));
    EXPECT_EQ(subscribeKeywords, QStringList({"$VALUE$"}));
}

// Escape with no cell editor open keeps the window and every edit; an open editor takes the
// Escape for itself.
TEST_F(TopicWindow, EscapeNeverThrowsTheTablesAway)
{
    Run([&] {
        Enter(Pub(), pub::Topic, 1, "kept");
        Tab(1);
        Enter(Sub(), sub::Topic, 1, "also kept");
        Key(Qt::Key_Escape);
        ASSERT_TRUE(Form->isVisible());
        Click(Sub(), sub::Mnemonic, 1);
        Key(Qt::Key_F2);
        Type("x");
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(Sub().Cells(sub::Mnemonic, 1), "");
        EXPECT_EQ(Sub().Cells(sub::Topic, 1), "also kept");
        EXPECT_EQ(Pub().Cells(pub::Topic, 1), "kept");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Form->ModalResult(), platform::mrCancel);
}

// A double click on the Template cell that is already current opens the editor too. The mouse
// goes where the window system sends it: to whatever lies under it at each step (the in-place
// editor that the first press opened, or its open list).
TEST_F(TopicWindow, DoubleClickOnTheCurrentTemplateCellOpensTheEditor)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("p")}, {}));
    Run([&] {
        Click(Pub(), pub::Template, 1);
        const QPoint at = Centre(Pub(), pub::Template, 1);
        auto under = [&]() -> std::pair<QWidget*, QPoint> {
            const QPoint global = Pub().viewport()->mapToGlobal(at);
            if (QWidget* popup = QApplication::activePopupWidget())
                return {popup, popup->mapFromGlobal(global)};
            QWidget* w = Pub().viewport()->childAt(at);
            if (!w)
                return {Pub().viewport(), at};
            if (QWidget* inner = w->childAt(w->mapFromGlobal(global)))
                w = inner;
            return {w, w->mapFromGlobal(global)};
        };
        bool opened = false;
        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) {
            opened = true;
            QTest::keyClick(editor->RE_TopicTemplate, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(editor->RE_TopicTemplate, "$DESC$");
            Press(editor->Btn_OK);
        });
        auto [first, p1] = under();
        QTest::mouseClick(first, Qt::LeftButton, {}, p1);
        auto [second, p2] = under();
        QTest::mouseDClick(second, Qt::LeftButton, {}, p2);
        QApplication::setActiveWindow(Form.get());
        EXPECT_TRUE(opened);
        EXPECT_EQ(Pub().Cells(pub::Template, 1), "$VALUE$$DESC$");
        if (!opened && FTopicTemplate()->isVisible())
            FTopicTemplate()->SetModalResult(platform::mrCancel);
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        Press(Form->Btn_Cancel);
    });
}

// After the template editor or a refused OK, a list cell confirmed with Enter leaves the keys
// with the table: Right steps to the next cell, never to the tab bar or OK. Clicks and keys go to
// the window as the window system sends them, and the window is left inactive after the dialog:
// keys still reach its focus widget.
TEST_F(TopicWindow, KeysStayWithTheTableAfterTheEditorAndAfterAMessage)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("p")}, {}));
    QWindow* window = nullptr;
    auto at = [&](int realCol, int row) { return Pub().viewport()->mapTo(Form.get(), Centre(Pub(), realCol, row)); };
    auto key = [&](Qt::Key k) { QTest::keyClick(window, k); };
    // F2 on QoS of row 1, the first item with Down, Enter, then Right.
    auto pickQoSThenRight = [&] {
        QTest::mouseClick(window, Qt::LeftButton, {}, at(pub::QoS, 1));
        key(Qt::Key_F2);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        key(Qt::Key_Right);
    };
    auto name = [](QWidget* w) { return w ? w->objectName().toStdString() + " " + w->metaObject()->className() : "none"; };
    Run([&] {
        window = Form->windowHandle();
        When_Topic_Editor_Shown([&](TFTopicTemplate* editor) { Press(editor->Btn_OK); });
        QTest::mouseClick(window, Qt::LeftButton, {}, at(pub::Template, 1));
        QTest::mouseDClick(window, Qt::LeftButton, {}, at(pub::Template, 1));
        QApplication::setActiveWindow(nullptr);
        pickQoSThenRight();
        EXPECT_EQ(Form->focusWidget(), &Pub()) << name(Form->focusWidget());
        EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
        EXPECT_EQ(Pub().Cells(pub::QoS, 1), "1");
        EXPECT_EQ(Pub().RealCol(), pub::DataType);

        QApplication::setActiveWindow(Form.get());
        Enter(Pub(), pub::Position, 1, "5000");
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().contains("Position")) << Messages.LastText().toStdString();
        QApplication::setActiveWindow(nullptr);
        pickQoSThenRight();
        EXPECT_EQ(Form->focusWidget(), &Pub()) << name(Form->focusWidget());
        EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
        EXPECT_EQ(Pub().RealCol(), pub::DataType);
        QApplication::setActiveWindow(Form.get());
        Press(Form->Btn_Cancel);
    });
    EXPECT_FALSE(Written() && Dir.Read("MQTT_Set_Topic.xml").contains("5000"));
}

// Every show starts at the top left of both tables, wherever the last show left them.
TEST_F(TopicWindow, EveryShowStartsAtTheFirstCell)
{
    Run([&] {
        Click(Pub(), pub::Topic, 1);
        for (int i = 0; i < 20; ++i)
            Key(Qt::Key_PageDown);
        Key(Qt::Key_End);
        Tab(1);
        Click(Sub(), sub::Topic, 1);
        Key(Qt::Key_End);
        for (int i = 0; i < 5; ++i)
            Key(Qt::Key_PageDown);
        EXPECT_GT(Pub().TopRow(), 100);
        EXPECT_GT(Pub().LeftCol(), 1);
        EXPECT_GT(Sub().TopRow(), 6);
        Press(Form->Btn_Cancel);
    });
    Run([&] {
        for (TExtColumnGrid* g : {&Pub(), &Sub()}) {
            EXPECT_EQ(g->TopRow(), 1);
            EXPECT_EQ(g->LeftCol(), 1);
            EXPECT_EQ(g->Row(), 1);
            EXPECT_EQ(g->Col(), 1);
        }
        Press(Form->Btn_Cancel);
    });
}

// A value longer than a line box holds by default comes back whole from F2 and Escape, and from
// F2 and Enter when nothing was typed.
TEST_F(TopicWindow, LongValuesSurviveAnEditThatChangedNothing)
{
    const QString topic = QString(40000, QLatin1Char('t')) + QStringLiteral("/end");
    const QString mnemonic = QString(33000, QLatin1Char('m'));
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row(topic, {{"Mnemonic", mnemonic}})}, {}));
    Run([&] {
        Click(Pub(), pub::Topic, 1);
        Key(Qt::Key_F2);
        Key(Qt::Key_Escape);
        EXPECT_EQ(Pub().Cells(pub::Topic, 1).size(), topic.size());
        Click(Pub(), pub::Mnemonic, 1);
        Key(Qt::Key_F2);
        Key(Qt::Key_Return);
        EXPECT_EQ(Pub().Cells(pub::Mnemonic, 1).size(), mnemonic.size());
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    TTopic_Tables tables;
    Read_Topic_File(shell::App_State.File_MQTT_Set_Topic, &tables, nullptr);
    ASSERT_FALSE(tables[Topic_Publish].empty());
    EXPECT_TRUE(tables[Topic_Publish][0].value(pub::Topic) == topic);
    EXPECT_TRUE(tables[Topic_Publish][0].value(pub::Mnemonic) == mnemonic);
}

// Mark-up in a topic is shown as the characters typed: "<b></b>" leaves ink in its cell.
TEST_F(TopicWindow, TopicsShowAsTyped)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("<b></b>"), bank_test::Publish_Row("")}, {}));
    Open();
    auto ink = [&](int row) {
        const grid::TRect rc = Pub().CellRect(pub::Topic, row);
        const QImage image = Pub().viewport()->grab(QRect(rc.Left + 2, rc.Top + 2, 80, rc.Bottom - rc.Top - 4)).toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_EQ(ink(2), 0);
    EXPECT_GT(ink(1), 10);
}

// The topic tables keep the grid's clipboard keys off (rows travel with Copy Row and Paste Row):
// Ctrl+V and Ctrl+C neither reach the clipboard nor type into a cell, even with the program's data
// operations at hand.
TEST_F(TopicWindow, ClipboardKeysStayOffInTheTables)
{
    Form = std::make_unique<TFMQTT_Set_Topic>(grid::TGridLayers{
        .Editing = grid::editing::EditingLayer(grid::editing::InputHandling()), .DataOps = grid::dataops::DataOperations()});
    Open();
    TExtColumnGrid& g = Pub();
    const int topic = g.RealToDisplCol(pub::Topic);
    g.SetFocus();
    g.MoveColRow(topic, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("plant/a\tY\t1\r\n"));
    QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g.Cells(pub::Topic, 3), QString());
    EXPECT_FALSE(g.EditMode());
    QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("plant/a\tY\t1\r\n"));
}

// ---------------------------------------------------------------------------------------------
// The editor on its own

struct TKeywordCase {
    int Working_Mode, TopicTemplate, Pub_Sub;
    const char* Caption;
    QStringList Keywords;
    const char* First_Description;
};

TEST(TopicTemplateEditor, KeywordsAndCaptionFollowTheContext)
{
    shell::Load_Default_Language();
    const TKeywordCase cases[] = {
        {1, 1, 0, "Set Template", {"$VALUE$", "$DESC$", "$TIME$"}, "Modbus TCP Values of Registers/Status"},
        {1, 1, 1, "Set Template", {"$VALUE$"}, "Modbus TCP Values of Registers/Status"},
        {1, 0, 0, "Set Topic", {""}, ""},
        {0, 1, 0, "Set Template", {"$SOURCE$", "$TRAN_ID$", "$FC$", "$VALUE$", "$DATA$", "$DESC$", "$TIME$"},
         "Modbus TCP Slave Address"},
        {0, 0, 0, "Set Topic", {"$SOURCE$", "$FC$"}, "Modbus TCP Slave Address"},
        {0, 1, 1, "Set Template", {""}, ""},
    };
    TFTopicTemplate editor;
    for (const TKeywordCase& k : cases) {
        SCOPED_TRACE(testing::Message() << k.Working_Mode << k.TopicTemplate << k.Pub_Sub);
        editor.Working_Mode = k.Working_Mode;
        editor.TopicTemplate = k.TopicTemplate;
        editor.Pub_Sub = k.Pub_Sub;
        WhenShown(&editor, [&] { editor.SetModalResult(platform::mrCancel); });
        editor.ShowModal();
        EXPECT_EQ(editor.Caption(), k.Caption);
        EXPECT_EQ(editor.L_SW_Desc->text(), k.Caption);
        QStringList keywords;
        for (int r = 1; r < editor.ESG_Keywords->RowCount(); ++r) {
            keywords.append(editor.ESG_Keywords->Cells(0, r));
            EXPECT_FALSE(editor.ESG_Keywords->GetReadOnly(0, r));
            EXPECT_TRUE(editor.ESG_Keywords->GetReadOnly(1, r));
        }
        EXPECT_EQ(keywords, k.Keywords);
        EXPECT_EQ(editor.ESG_Keywords->Cells(1, 1), k.First_Description);
    }
    EXPECT_EQ(editor.ESG_Keywords->Cells(1, 0), "Description of Keyword");
    // Both columns in view, the keywords first.
    const grid::TRect keyword = editor.ESG_Keywords->CellRect(0, 1);
    const grid::TRect description = editor.ESG_Keywords->CellRect(1, 1);
    EXPECT_EQ(keyword.Right - keyword.Left, 200);
    EXPECT_EQ(description.Right - description.Left, 380);
    EXPECT_LT(keyword.Left, description.Left);
}

}  // namespace
