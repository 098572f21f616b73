#pragma once
// The meter list editor in a project folder of its own, driven as a user drives it: clicks on the
// tree's items and buttons, text typed into the edits, message boxes answered by a script.
#include "MeterListFixture.h"
#include "controls/buttons_pages/ExtPageControl.h"
#include "controls/buttons_pages/PicButton.h"
#include "controls/tree/StringTree.h"
#include "protocols/mbus/UMeter_Bus.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace meterlist_test {

class MeterEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        Use_Project(Dir);
        Form = std::make_unique<TFMeter_Bus>();
    }
    void TearDown() override
    {
        Form.reset();
        shell::Window_List().Clear();
        shell::App_State = {};
    }
    static void Use_Project(const TempDir& dir)
    {
        shell::App_State.Project_Folder = dir.Path();
        shell::App_State.File_M_Bus = dir.File(QStringLiteral("M_Bus.xml"));
        shell::App_State.File_MQTT_Set_Topic = dir.File(QStringLiteral("MQTT_Set_Topic.xml"));
    }
    void Write_List(const TNodi_List& list) { Write_Meter_List(shell::App_State.File_M_Bus, list); }
    TMeterListRead File_List() { return Read_Meter_List(shell::App_State.File_M_Bus); }

    // Shows the window as the main window does (its show step, then the window itself).
    void Open()
    {
        Form->FormShow();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    void Click_Item(tree::PTreeNode item)
    {
        ASSERT_NE(item, nullptr);
        Form->TW->ScrollIntoView(item, false);
        const QRect r = Form->TW->GetDisplayRect(item, tree::NoColumn, true);
        QTest::mouseClick(Form->TW->viewport(), Qt::LeftButton, {}, r.center());
    }
    void Click_Node(int i) { Click_Item(Form->Node_Item(i)); }
    void Click_Var(int i, int j) { Click_Item(Form->Var_Item(i, j)); }
    void Click_Root() { Click_Item(Form->NODE_ORIG); }
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    static void Press(controls::TPicButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    int Root_Children() { return int(Form->TW->ChildCount(Form->NODE_ORIG)); }
    QString Text_Of(tree::PTreeNode item) { return Form->Item_Text(item); }

    TempDir Dir;
    std::unique_ptr<TFMeter_Bus> Form;
};

}  // namespace meterlist_test
