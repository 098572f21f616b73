// The DeviceNet "Define Offset" window driven as a user drives it: a click on a slave shows its
// bytes, offsets are picked from the lists, OK checks and writes the file.
#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/GridEditLayer.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "platform/Dialogs.h"
#include "protocols/fieldbus/UDefOffset.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using grid::TExtColumnGrid;

namespace {

const QByteArray Net_File = "<DNET_Net><row ID=\"5\" NB_IN=\"2\" NB_OUT=\"2\" Mnemonic=\"drive\"/>"
                            "<row ID=\"7\" NB_IN=\"1\" NB_OUT=\"3\" Mnemonic=\"valve\"/></DNET_Net>";

class DefOffsetWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.File_DNETM_Net = Dir.File("DNETM_Net.xml");
        shell::App_State.File_DNETM_DefOff = Dir.File("DNETM_DefOff.xml");
        Form = std::make_unique<TFDefOffset>(
            grid::TGridLayers{.Editing = grid::editing::EditingLayer(grid::editing::InputHandling())});
    }
    void TearDown() override
    {
        Form.reset();
        shell::Window_List().Clear();
        shell::App_State = {};
    }
    void Open()
    {
        Form->FormShow();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    QPoint Centre(TExtColumnGrid& g, int col, int row)
    {
        g.ScrollInView(col, row);
        const grid::TRect rc = g.CellRect(col, row);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void Click(TExtColumnGrid& g, int col, int row)
    {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, Centre(g, col, row));
    }
    static void Key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    // Opens the offset list of a byte with F2 and steps down through the items.
    void Pick(TExtColumnGrid& g, int row, int downs)
    {
        Click(g, 1, row);
        Key(Qt::Key_F2);
        for (int i = 0; i < downs; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    }
    void Type_Mnemonic(TExtColumnGrid& g, int row, const char* text)
    {
        Click(g, 2, row);
        for (const char* p = text; *p; ++p)
            QTest::keyClick(QApplication::focusWidget(), *p);
        Key(Qt::Key_Return);
    }
    void Tab(int index)
    {
        QTabBar* bar = Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    static void Press(controls::TPicButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }
    static QStringList Column(TExtColumnGrid& g, int col)
    {
        QStringList out;
        for (int r = 1; r < g.RowCount(); ++r)
            out.append(g.Cells(col, r));
        return out;
    }

    TempDir Dir;
    ScriptedMessages Messages;
    std::unique_ptr<TFDefOffset> Form;
};

TEST_F(DefOffsetWindow, SlavesSelectTheirBytesAndEditsSurviveSwitching)
{
    Dir.Write("DNETM_Net.xml", Net_File);
    Open();
    EXPECT_EQ(Form->Caption(), "Define Offset");
    EXPECT_EQ(Form->Btn_OK->Caption(), "OK");
    EXPECT_EQ(Form->Btn_Cancel->Caption(), "Cancel");
    EXPECT_EQ(Form->Label3->text(), "The item None leaves the DeviceNet byte out of the MQTT array.");
    EXPECT_EQ(Form->P_Title->height(), 69);
    TExtColumnGrid& slaves = *Form->ACG_DN_Slaves;
    ASSERT_EQ(slaves.RowCount(), 3);
    EXPECT_EQ(slaves.Cells(0, 0), "ID Slave");
    EXPECT_EQ(slaves.Cells(3, 2), "valve");
    // The first slave is shown, every byte unmapped.
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 0), QStringList({"0", "1"}));
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 1), QStringList({"None", "None"}));
    EXPECT_EQ(Column(*Form->ACG_ByteOUT, 1), QStringList({"None", "None"}));

    Pick(*Form->ACG_ByteIN, 2, 4);  // None, 0, 1, 2, 3
    EXPECT_EQ(Form->ACG_ByteIN->Cells(1, 2), "3");
    Type_Mnemonic(*Form->ACG_ByteIN, 2, "speed");
    Click(slaves, 1, 2);
    EXPECT_EQ(Form->Slave_Before_Select, 1);
    EXPECT_EQ(Column(*Form->ACG_ByteOUT, 0), QStringList({"0", "1", "2"}));
    Tab(1);
    Pick(*Form->ACG_ByteOUT, 3, 2);
    EXPECT_EQ(Form->ACG_ByteOUT->Cells(1, 3), "1");
    Click(slaves, 0, 1);
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 1), QStringList({"None", "3"}));
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 2), QStringList({"", "speed"}));

    Press(Form->Btn_OK);
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    EXPECT_EQ(QString::fromUtf8(Dir.Read("DNETM_DefOff.xml")),
              "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"None\" Mnemonic=\"\"/><row Offset=\"3\" Mnemonic=\"speed\"/>"
              "</ByteIN><ByteOUT><row Offset=\"None\" Mnemonic=\"\"/><row Offset=\"None\" Mnemonic=\"\"/></ByteOUT>"
              "</Nodo_DNET><Nodo_DNET><ByteIN><row Offset=\"None\" Mnemonic=\"\"/></ByteIN><ByteOUT><row Offset=\"None\" "
              "Mnemonic=\"\"/><row Offset=\"None\" Mnemonic=\"\"/><row Offset=\"1\" Mnemonic=\"\"/></ByteOUT></Nodo_DNET>"
              "</Define_Offset><!--SW_VERSION = 1.000-->");

    // Reopened, the window shows what was saved.
    Form->hide();
    Open();
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 1), QStringList({"None", "3"}));
}

TEST_F(DefOffsetWindow, AnOutputPositionUsedTwiceKeepsTheWindowOpenAndWritesNothing)
{
    Dir.Write("DNETM_Net.xml", Net_File);
    Dir.Write("DNETM_DefOff.xml", "<Define_Offset><Nodo_DNET><ByteIN/><ByteOUT><row Offset=\"100\" Mnemonic=\"\"/>"
                                  "</ByteOUT></Nodo_DNET></Define_Offset>");
    Open();
    // Byte counts that differ from the slave's are reported when the window opens.
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains("offsets belong to slaves by their order")) << Messages.LastText().toStdString();
    Messages.Clear();
    Click(*Form->ACG_DN_Slaves, 0, 2);
    Tab(1);
    Pick(*Form->ACG_ByteOUT, 3, 101);  // None, 0 .. 100
    ASSERT_EQ(Form->ACG_ByteOUT->Cells(1, 3), "100");
    Press(Form->Btn_OK);
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.LastText(), "Error in ByteOUT! The same byte of MQTT is used in two bytes DeviceNet.\n\r"
                                   "( First ID = 5 Byte = 0, Second ID = 7 Byte = 2)");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Dir.Read("DNETM_DefOff.xml").contains("Offset=\"None\""));
}

TEST_F(DefOffsetWindow, ADamagedOffsetsFileIsKeptAsideReportedAndAskedAbout)
{
    Dir.Write("DNETM_Net.xml", Net_File);
    Dir.Write("DNETM_DefOff.xml", "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"12\" Mnemonic=\"kept\"/><row Off");
    Open();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains("is not valid XML")) << Messages.LastText().toStdString();
    EXPECT_TRUE(Messages.LastText().contains("DNETM_DefOff.xml.damaged")) << Messages.LastText().toStdString();
    EXPECT_TRUE(QFile::exists(Dir.File("DNETM_DefOff.xml.damaged")));
    // The offset read before the fault is shown.
    EXPECT_EQ(Column(*Form->ACG_ByteIN, 1), QStringList({"12", "None"}));
    // OK asks before replacing the file; No keeps it and the window.
    Messages.QueueAnswer(platform::mrNo);
    Press(Form->Btn_OK);
    EXPECT_TRUE(Messages.LastText().contains("Save anyway?")) << Messages.LastText().toStdString();
    EXPECT_TRUE(Dir.Read("DNETM_DefOff.xml").endsWith("<row Off"));
    Messages.QueueAnswer(platform::mrYes);
    Press(Form->Btn_OK);
    EXPECT_TRUE(Dir.Read("DNETM_DefOff.xml").startsWith("<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"12\" Mnemonic=\"kept\"/>"));
}

TEST_F(DefOffsetWindow, NoNetworkFileLeavesEmptyGridsAndOkWritesTheRootAlone)
{
    Open();
    EXPECT_EQ(Form->ACG_DN_Slaves->RowCount(), 1);
    EXPECT_EQ(Form->ACG_ByteIN->RowCount(), 1);
    EXPECT_EQ(Form->ACG_ByteOUT->RowCount(), 1);
    Press(Form->Btn_OK);
    EXPECT_EQ(QString::fromUtf8(Dir.Read("DNETM_DefOff.xml")), "<Define_Offset/><!--SW_VERSION = 1.000-->");
}

}  // namespace
