// The scanner's three small dialogs: the wireless key, the start register and the per-meter start
// address table, each checked through its OK button as a user presses it.
#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "protocols/mbus/UInsertKeyWireless.h"
#include "protocols/mbus/UModbusStartAdd_SD.h"
#include "protocols/mbus/UScanModbusStart.h"
#include "platform/TCanvas.h"
#include "shell/ULanguage.h"
#include "support/ScriptedMessages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::mrNone;
using platform::mrOk;

TEST(ScannerKeyDialog, OKChecksLengthFirstThenDigits)
{
    shell::Load_Default_Language();  // with no language loaded every text is empty
    struct Case {
        const char* Typed;
        int Message;  // 0: accepted
    } cases[] = {
        {"000102030405060708090A0B0C0D0E0", 3004},   // 31 characters, before any digit is looked at
        {"G00102030405060708090A0B0C0D0E0F", 3003},  // 32 characters, one of them G
        {"", 3004},
        {"000102030405060708090a0b0c0d0e0f", 0},     // typed in lower case, taken in upper case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        TFInsertKeyWireless dialog;
        dialog.E_Key->clear();
        QTest::keyClicks(dialog.E_Key, QString::fromLatin1(c.Typed));
        ScriptedMessages messages;
        dialog.Btn_OK->Click();
        if (c.Message == 0) {
            EXPECT_TRUE(messages.Shown().empty());
            EXPECT_EQ(dialog.ModalResult(), mrOk);
            EXPECT_EQ(dialog.E_Key->text(), QStringLiteral("000102030405060708090A0B0C0D0E0F"));
        } else {
            ASSERT_EQ(messages.Shown().size(), 1u);
            EXPECT_EQ(messages.LastText(), shell::Lang(c.Message));
            EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
            EXPECT_EQ(dialog.ModalResult(), mrNone);
        }
    }
}

TEST(ScannerKeyDialog, TakesAtMost32CharactersAndCutsThemIntoSixteenBytes)
{
    TFInsertKeyWireless dialog;
    QTest::keyClicks(dialog.E_Key, QStringLiteral("0f0e0d0c0b0a09080706050403020100FFFF"));
    EXPECT_EQ(dialog.E_Key->text(), QStringLiteral("0F0E0D0C0B0A09080706050403020100"));
    const std::array<uint8_t, 16> key = Key_Bytes(dialog.E_Key->text());
    EXPECT_EQ(key[0], 0x0F);
    EXPECT_EQ(key[15], 0x00);
    EXPECT_EQ(key[7], 0x08);
}

TEST(ScannerStartRegisterDialog, AcceptsOneTo65535)
{
    shell::Load_Default_Language();  // with no language loaded every text is empty
    struct Case {
        const char* Text;
        int Expected;  // -1: refused
    } cases[] = {{"0", -1}, {"65536", -1}, {"a", -1}, {"", -1}, {"1", 1}, {"65535", 65535}, {"0x10", 16}, {"$20", 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        TFScanModbusStart dialog;
        dialog.StartModAdd = 7;
        dialog.E_StartModAdd->setText(QString::fromLatin1(c.Text));
        ScriptedMessages messages;
        dialog.Btn_OK->Click();
        if (c.Expected < 0) {
            EXPECT_EQ(messages.LastText(), shell::Lang(3206));
            EXPECT_EQ(dialog.ModalResult(), mrNone);
            EXPECT_EQ(dialog.StartModAdd, 7);
        } else {
            EXPECT_TRUE(messages.Shown().empty());
            EXPECT_EQ(dialog.ModalResult(), mrOk);
            EXPECT_EQ(dialog.StartModAdd, c.Expected);
        }
    }
}

TEST(ScannerStartAddressTable, ChecksEveryRowAndNamesTheFirstBadOne)
{
    shell::Load_Default_Language();  // with no language loaded every text is empty
    struct Case {
        std::vector<const char*> Column1;
        QString Message;  // empty: accepted
        std::vector<int> Read;
    } cases[] = {
        {{}, {}, {}},
        {{"1", "0x10", "59999"}, {}, {1, 16, 59999}},
        {{"1", "2", "60000"}, shell::Lang(3108) + "3" + shell::Lang(3110), {1, 2, 60000}},
        {{"1", "", "5"}, shell::Lang(3108) + "2" + shell::Lang(3109), {1, 1, 5}},
        {{"5", "6", "7", "x"}, shell::Lang(3108) + "4" + shell::Lang(3110), {5, 6, 7, 1}},
    };
    for (const Case& c : cases) {
        TFModbusStartAdd_SD dialog;
        dialog.sga->SetRowCount(int(c.Column1.size()) + 1);
        for (size_t i = 0; i < c.Column1.size(); ++i) {
            dialog.sga->SetCells(0, int(i) + 1, QString::number(i));
            dialog.sga->SetCells(1, int(i) + 1, QString::fromLatin1(c.Column1[i]));
        }
        ScriptedMessages messages;
        dialog.Btn_OK->Click();
        EXPECT_EQ(messages.LastText(), c.Message);
        EXPECT_EQ(dialog.ModalResult(), c.Message.isEmpty() ? mrOk : mrNone);
        EXPECT_EQ(dialog.Start_Addresses(), c.Read);
    }
}

TEST(ScannerStartAddressTable, LayoutAndTexts)
{
    shell::Load_Default_Language();  // with no language loaded every text is empty
    TFModbusStartAdd_SD dialog;
    EXPECT_EQ(dialog.sga->RowCount(), 31);
    EXPECT_EQ(dialog.sga->Cells(0, 0), shell::Lang(3104));
    EXPECT_EQ(dialog.sga->Cells(1, 0), shell::Lang(3105));
    EXPECT_EQ(dialog.sga->Columns()[1]->Color(), platform::RGBToColor(224, 250, 254));
    EXPECT_EQ(dialog.sga->Columns()[0]->Width(), 200);
    EXPECT_FALSE(dialog.CB_En_NodeState->isChecked());
    EXPECT_EQ(dialog.width(), 511);
}

}  // namespace
