// Copy and paste in the meter list editor: variables into any node, nodes with their variables as
// new nodes whose identity the paste dialog asks and checks, within one list and into another
// configuration's list.
#include "MeterEditorFixture.h"
#include "protocols/mbus/UNewIDNode.h"
#include "support/Deferred.h"

#include <QRadioButton>

using namespace meterlist_test;
using platform::mrYes;
using shell::Lang;

namespace meterlist_paste_test {

class MeterListPaste : public MeterEditor {
protected:
    // Runs the paste of a node; the dialog gets each ID text in turn and OK after each, and the
    // test fails when the dialog is still open after the last.
    void Paste_Node_With(std::vector<std::function<void(TFNewIDNode*)>> entries)
    {
        TFNewIDNode* dialog = FNewIDNode();
        WhenShown(dialog, [dialog, entries] {
            for (const auto& entry : entries) {
                entry(dialog);
                QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton);
            }
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the paste dialog stayed open";
                dialog->SetModalResult(platform::mrCancel);
            }
        });
        Form->PasteNode1->trigger();
    }
    static std::function<void(TFNewIDNode*)> Primary(const char* id)
    {
        return [id](TFNewIDNode* d) {
            d->RB_ID_Primary->setChecked(true);
            Type(d->E_New_Node_ID_Pri, QLatin1String(id));
        };
    }
    static std::function<void(TFNewIDNode*)> Address(const char* address)
    {
        return [address](TFNewIDNode* d) { Type(d->E_wMBus_Add, QLatin1String(address)); };
    }
};

TEST_F(MeterListPaste, PasteItemsWaitForACopy)
{
    Write_List(Sample_List());
    Open();
    EXPECT_FALSE(Form->PasteVariable1->isEnabled());
    EXPECT_FALSE(Form->PasteNode1->isEnabled());
    ScriptedMessages messages;
    Click_Root();
    Form->CopyVariable1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(890));
    Click_Node(0);
    Form->CopyVariable1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(889));
    Form->PasteVariable1->trigger();  // disabled: nothing happens
    EXPECT_EQ(messages.Shown().size(), 2u);
    Click_Root();
    Form->CopyNode1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(891));
    EXPECT_FALSE(Form->PasteNode1->isEnabled());
    EXPECT_FALSE(Form->Is_Change);
}

TEST_F(MeterListPaste, TheTreesMenuActsOnTheNodeUnderThePointer)
{
    Write_List(Sample_List());
    Open();
    const QRect r = Form->TW->GetDisplayRect(Form->Node_Item(1), tree::NoColumn, true);
    QTest::mouseClick(Form->TW->viewport(), Qt::RightButton, {}, r.center());
    ASSERT_TRUE(Form->PM_CopyPaste->isVisible());
    EXPECT_EQ(Form->IND_NODO, 1) << "a right click selects";
    QTest::mouseClick(Form->PM_CopyPaste, Qt::LeftButton, {},
                      Form->PM_CopyPaste->actionGeometry(Form->CopyNode1).center());
    ASSERT_TRUE(Form->Copy_Node.has_value());
    EXPECT_EQ(Form->Copy_Node->Description, "Water");
    EXPECT_TRUE(Form->PasteNode1->isEnabled());
}

TEST_F(MeterListPaste, AVariablePastedTwiceGivesTwoEqualVariables)
{
    Write_List(Sample_List());
    Open();
    Click_Var(0, 1);
    Form->CopyVariable1->trigger();
    EXPECT_TRUE(Form->PasteVariable1->isEnabled());
    ScriptedMessages messages;
    Click_Root();
    Form->PasteVariable1->trigger();
    EXPECT_EQ(messages.LastText(), Lang(894)) << "no node to paste into";
    Click_Node(2);
    Form->PasteVariable1->trigger();
    Click_Var(2, 0);  // a variable selected: its node takes the paste
    Form->PasteVariable1->trigger();
    const auto& vars = Form->Nodi_List[2].Var_List;
    ASSERT_EQ(vars.size(), 3u);
    EXPECT_EQ(vars[1], Sample_List()[0].Var_List[1]);
    EXPECT_EQ(vars[2], vars[1]);
    EXPECT_EQ(Form->TW->ChildCount(Form->Node_Item(2)), 3u);
    EXPECT_EQ(Text_Of(Form->Var_Item(2, 2)), "VAR - Volume");
    EXPECT_TRUE(Form->Is_Change);
}

TEST_F(MeterListPaste, AWiredNodeNeedsAFreeIdOfItsType)
{
    TNodi_List list = Sample_List();
    list[1].Node_ID_Secondary = 6;  // secondary 6 does not block primary 6 here
    Write_List(list);
    Open();
    Click_Var(0, 1);  // a variable of the node: the copy takes the node
    Form->CopyNode1->trigger();
    ASSERT_TRUE(Form->PasteNode1->isEnabled());
    ScriptedMessages messages;
    QString offered;
    Paste_Node_With({[&](TFNewIDNode* d) { offered = d->E_New_Node_ID_Pri->text(); }, Primary("256"), Primary("6")});
    EXPECT_EQ(offered, "5") << "the dialog offers the copy's ID";
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].Text, Lang(883)) << "5 is used";
    EXPECT_EQ(messages.Shown()[1].Text, Lang(1207));
    ASSERT_EQ(Form->Nodi_List.size(), 4u);
    const TNodo& pasted = Form->Nodi_List[3];
    EXPECT_EQ(pasted.Node_ID_Primary, 6);
    EXPECT_EQ(pasted.Node_ID_Type, 0);
    EXPECT_EQ(pasted.Description, list[0].Description);
    EXPECT_EQ(pasted.Var_List, list[0].Var_List);
    EXPECT_EQ(pasted.Node_State, 7);
    EXPECT_EQ(pasted.Cut_After, 2);
    EXPECT_EQ(Text_Of(Form->Node_Item(3)), "ID 6 - Heat meter <cellar> & \"boiler\"");
    EXPECT_EQ(Form->TW->ChildCount(Form->Node_Item(3)), 2u);
    EXPECT_TRUE(Form->Is_Change);
}

TEST_F(MeterListPaste, ASecondaryIdIsCheckedAgainstSecondaryIds)
{
    Write_List(Sample_List());
    Open();
    Click_Node(1);  // secondary 99999999
    Form->CopyNode1->trigger();
    ScriptedMessages messages;
    Paste_Node_With({[](TFNewIDNode* d) { EXPECT_TRUE(d->RB_ID_Secondary->isChecked()); },
                     [](TFNewIDNode* d) { Type(d->E_New_Node_ID_Sec, QStringLiteral("100000000")); },
                     [](TFNewIDNode* d) { Type(d->E_New_Node_ID_Sec, QStringLiteral("5")); }});
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].Text, Lang(883));
    EXPECT_EQ(messages.Shown()[1].Text, Lang(1208));
    ASSERT_EQ(Form->Nodi_List.size(), 4u);
    EXPECT_EQ(Form->Nodi_List[3].Node_ID_Secondary, 5);
    EXPECT_EQ(Form->Nodi_List[3].Node_ID_Type, 1);
    EXPECT_FALSE(Form->Nodi_List[3].Enable) << "copied";
}

TEST_F(MeterListPaste, AWirelessNodeAsksForAnAddress)
{
    Write_List(Sample_List());
    Open();
    Click_Node(2);
    Form->CopyNode1->trigger();
    ScriptedMessages messages;
    bool ids_hidden = false;
    Paste_Node_With({[&](TFNewIDNode* d) {
                         ids_hidden = !d->RB_ID_Primary->isVisible() && !d->E_New_Node_ID_Sec->isVisible() &&
                                      d->E_wMBus_Add->isVisible() && d->E_wMBus_Add->pos() == QPoint(152, 115);
                         Type(d->E_wMBus_Add, QStringLiteral("4294967296"));
                     },
                     Address("0xFFFFFFFF")});
    EXPECT_TRUE(ids_hidden);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Text, Lang(1210));
    EXPECT_TRUE(Lang(1210).endsWith("0xFFFFFFFF"));
    ASSERT_EQ(Form->Nodi_List.size(), 4u);
    const TNodo& pasted = Form->Nodi_List[3];
    EXPECT_EQ(pasted.wMBus_Add, "0xFFFFFFFF");
    EXPECT_EQ(pasted.wMBus_ManID, "0x2C2D");
    EXPECT_EQ(pasted.wMBus_DevType, "$03");
    EXPECT_EQ(pasted.wMBus_En_Key, 1);
    EXPECT_EQ(pasted.wMBus_Key, Sample_List()[2].wMBus_Key);
    EXPECT_EQ(pasted.wMBus_RSSI, 0) << "not copied";
    EXPECT_EQ(pasted.wMBus_RSSI_Topic, 0) << "not copied";
    EXPECT_EQ(Text_Of(Form->Node_Item(3)), "wM-Bus Node - Address 0xFFFFFFFF - Radio gas meter");
}

TEST_F(MeterListPaste, CancelInTheDialogPastesNothing)
{
    Write_List(Sample_List());
    Open();
    Click_Node(0);
    Form->CopyNode1->trigger();
    TFNewIDNode* dialog = FNewIDNode();
    WhenShown(dialog, [dialog] { QTest::mouseClick(dialog->Btn_Cancel, Qt::LeftButton); });
    Form->PasteNode1->trigger();
    EXPECT_EQ(Form->Nodi_List.size(), 3u);
    EXPECT_EQ(Root_Children(), 3);
    EXPECT_FALSE(Form->Is_Change);
}

TEST_F(MeterListPaste, ANodeCopiedInOneConfigurationIsPastedIntoAnother)
{
    Write_List(Sample_List());
    EXPECT_EQ(Run_Modal(Form.get(), [&] {
                  Click_Node(0);
                  Form->CopyNode1->trigger();
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);

    TempDir other;
    Use_Project(other);  // another configuration, with no meter list yet
    ScriptedMessages messages;
    EXPECT_EQ(Run_Modal(Form.get(), [&] {
                  EXPECT_TRUE(Form->PasteNode1->isEnabled()) << "the copy outlives the window's closing";
                  EXPECT_EQ(Root_Children(), 0);
                  Paste_Node_With({Primary("5")});
                  Press(Form->Btn_OK);
              }),
              platform::mrOk);
    EXPECT_TRUE(messages.Shown().empty()) << messages.LastText().toStdString();
    const TMeterListRead read = File_List();
    ASSERT_TRUE(read.Complete());
    ASSERT_EQ(read.Nodes.size(), 1u);
    TNodo expected = Sample_List()[0];
    EXPECT_EQ(read.Nodes[0], expected);
    // The first configuration's list is as it was written.
    EXPECT_EQ(Read_Meter_List(Dir.File(QStringLiteral("M_Bus.xml"))).Nodes.size(), 3u);
}

}  // namespace meterlist_paste_test
