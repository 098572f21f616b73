// The DMX default values window, driven as a user drives it.
#include "protocols/fieldbus/UDMXDefVal.h"
#include "setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

namespace dmx = fieldbus::dmx;

namespace {

using DmxWindow = SetupWindowTest<TFDMXDefVal>;

QByteArray ParGen(const QByteArray& channels)
{
    return "<Par_Gen><Select_Device>0</Select_Device><DMX_Num_Channels>" + channels +
           "</DMX_Num_Channels></Par_Gen><!--SW_VERSION = 1.006-->";
}

// A file of n channels whose levels are their numbers.
QByteArray Channels(int n)
{
    QByteArray xml = "<DMX_Default_Values>";
    for (int c = 1; c <= n; ++c)
        xml += "<Row Default_Value=\"" + QByteArray::number(c % 256) + "\" Mnemonic=\"c" + QByteArray::number(c) + "\"/>";
    return xml + "</DMX_Default_Values><!--SW_VERSION = 1.000-->";
}

}  // namespace

TEST_F(DmxWindow, WithoutParGenEveryOneOf512ChannelsStartsAtZero)
{
    Run([&] {
        EXPECT_TRUE(Messages.Shown().empty());
        EXPECT_EQ(Form->Caption(), "DMX Default Value");
        EXPECT_EQ(Form->size(), QSize(475, 337));
        EXPECT_EQ(Form->Btn_DelRow, nullptr);
        EXPECT_EQ(Form->Btn_PasteRow, nullptr);
        EXPECT_EQ(Form->Btn_Cancel->geometry(), QRect(134, 6, 110, 28));
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the DMX Default Values");
        EXPECT_EQ(Grid().Cells(0, 0), "Channel");
        EXPECT_EQ(Grid().Cells(1, 0), "Default Value");
        EXPECT_EQ(Grid().Cells(2, 0), "Mnemonic");
        EXPECT_EQ(Grid().ColWidths(0), 100);
        EXPECT_EQ(Grid().RowCount(), 513);
        EXPECT_EQ(Cell(0, 512), "512");
        EXPECT_EQ(Rows(2), "0|\n0|");
        // A click on a channel number selects its row whole.
        Click(0, 7);
        EXPECT_EQ(Grid().Selection(), (grid::TGridRect{1, 7, 2, 7}));
        Press(Form->Btn_OK);
    });
    const QByteArray written = Dir.Read("DMX_Default_Values.xml");
    EXPECT_EQ(written.count("<Row Default_Value=\"0\" Mnemonic=\"\"/>"), 512);
    EXPECT_TRUE(written.startsWith("<DMX_Default_Values><Row "));
}

TEST_F(DmxWindow, ChannelCountFromParGenEditedSavedAndReopened)
{
    Dir.Write("ParGen.xml", ParGen("24"));
    Dir.Write("DMX_Default_Values.xml", ReadTestData("DMX_Default_Values.xml"));
    const int result = Run([&] {
        EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
        EXPECT_EQ(Grid().RowCount(), 25);
        EXPECT_EQ(Form->Channels(), 24);
        EXPECT_EQ(Rows(6), "0|Dimmer 1\n$FF|\n0x80|Pan <fine>\n255|Tilt\n0|\n0|");
        Replace(dmx::Default_Value, 5, "256");
        Enter(dmx::Mnemonic, 5, "Colour");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 5!! Default Value must be between 0 and 255");
        Replace(dmx::Default_Value, 5, "0x10");
        Replace(dmx::Default_Value, 24, "7");
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    const QByteArray written = Dir.Read("DMX_Default_Values.xml");
    EXPECT_TRUE(written.startsWith("<DMX_Default_Values><Row Default_Value=\"0\" Mnemonic=\"Dimmer 1\"/>"
                                   "<Row Default_Value=\"$FF\" Mnemonic=\"\"/><Row Default_Value=\"0x80\" "
                                   "Mnemonic=\"Pan &lt;fine>\"/><Row Default_Value=\"255\" Mnemonic=\"Tilt\"/>"
                                   "<Row Default_Value=\"0x10\" Mnemonic=\"Colour\"/>"));
    EXPECT_TRUE(written.endsWith("<Row Default_Value=\"7\" Mnemonic=\"\"/></DMX_Default_Values><!--SW_VERSION = 1.000-->"));
    EXPECT_EQ(written.count("<Row "), 24);

    Messages.Clear();
    Run([&] {
        EXPECT_EQ(Rows(5), "0|Dimmer 1\n$FF|\n0x80|Pan <fine>\n255|Tilt\n0x10|Colour");
        EXPECT_EQ(Cell(dmx::Default_Value, 24), "7");
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty());
}

// Fewer channels than the file holds: said when the window opens, and the file is cut only when
// the user agrees.
TEST_F(DmxWindow, ShrinkingTheChannelCountNeverCutsTheFileSilently)
{
    Dir.Write("ParGen.xml", ParGen("24"));
    Dir.Write("DMX_Default_Values.xml", Channels(512));
    const QByteArray before = Dir.Read("DMX_Default_Values.xml");
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_TRUE(Messages.LastText().contains("holds 512 rows; only the first 24 are read"))
            << Messages.LastText().toStdString();
        EXPECT_EQ(Cell(dmx::Mnemonic, 24), "c24");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("DMX_Default_Values.xml"), before);

    Messages.Clear();
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrYes);
    EXPECT_EQ(Run([&] { Press(Form->Btn_OK); }), platform::mrOk);
    EXPECT_EQ(Dir.Read("DMX_Default_Values.xml"), Channels(24));
}

TEST_F(DmxWindow, ACountOutside1To512IsClampedWithAWarning)
{
    Dir.Write("ParGen.xml", ParGen("600"));
    Messages.QueueAnswer(platform::mrOk);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
        EXPECT_EQ(Messages.LastText(), "ParGen.xml sets the number of DMX channels to 600; a table holds 1 to 512 "
                                       "channels. The table has 512 channels.");
        EXPECT_EQ(Grid().RowCount(), 513);
        Press(Form->Btn_Cancel);
    });
    Dir.Write("ParGen.xml", ParGen("0"));
    Messages.Clear();
    Messages.QueueAnswer(platform::mrOk);
    Run([&] {
        EXPECT_EQ(Grid().RowCount(), 2);
        Press(Form->Btn_Cancel);
    });
}
