#include "test_boot_fixture.h"
#include "platform/PlainText.h"
#include "shell/UWindowLook.h"

#include <QApplication>
#include <QTest>

using shell::Lang;

namespace {
class BootWindow : public BootFixture {};
}  // namespace

TEST_F(BootWindow, EthernetLayoutShowsAddressAndOptions)
{
    Boot.FormShow();
    EXPECT_EQ(Boot.size(), QSize(449, 230));
    EXPECT_TRUE(Boot.P_IP_Address->isVisibleTo(&Boot));
    EXPECT_TRUE(Boot.P_Options->isVisibleTo(&Boot));
    EXPECT_FALSE(Boot.P_Serial->isVisibleTo(&Boot));
    EXPECT_FALSE(Boot.P_Search->isVisibleTo(&Boot));
    // Stacked: title, address, options, buttons.
    EXPECT_EQ(Boot.P_IP_Address->geometry(), QRect(0, 69, 449, 49));
    EXPECT_EQ(Boot.P_Options->geometry(), QRect(0, 118, 449, 72));
    EXPECT_EQ(Boot.P_Buttons->geometry(), QRect(0, 190, 449, 40));
    EXPECT_EQ(Boot.Caption(), Lang(1002));
    EXPECT_EQ(Boot.L_SW_Desc->text(), Lang(1003));
    EXPECT_EQ(Boot.L_SW_Code->text(), shell::SW_Code_Value);
    EXPECT_EQ(Boot.focusWidget(), Boot.E_IP1);
}

TEST_F(BootWindow, SerialLayoutShowsPortsAndOptions)
{
    Boot.Form_Type = 0;
    Boot.FormShow();
    EXPECT_EQ(Boot.size(), QSize(449, 69 + 51 + 72 + 40));
    EXPECT_TRUE(Boot.P_Serial->isVisibleTo(&Boot));
    EXPECT_TRUE(Boot.P_Options->isVisibleTo(&Boot));
    EXPECT_FALSE(Boot.P_IP_Address->isVisibleTo(&Boot));
    EXPECT_EQ(Boot.Caption(), Lang(1000));
    EXPECT_EQ(Boot.L_SW_Desc->text(), Lang(1001));
    for (int i = 0; i < Boot.CB_COM_Port->count(); ++i)
        EXPECT_TRUE(Boot.CB_COM_Port->itemText(i).startsWith(QLatin1String("COM")));
}

TEST_F(BootWindow, TextsComeFromTheTable)
{
    Boot.Form_Type = 2;
    Boot.Set_Lang();
    EXPECT_EQ(Boot.Caption(), Lang(1004));
    EXPECT_EQ(Boot.L_SW_Desc->text(), Lang(1005));
    EXPECT_EQ(Boot.L_IP_Address->text(), Lang(1006));
    EXPECT_EQ(Boot.L_Update_Option->text(), Lang(1014));
    ASSERT_EQ(Boot.CB_Update_Options->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Boot.CB_Update_Options->itemText(i), Lang(1015 + i));
    EXPECT_EQ(Boot.CB_Update_Option_Read_Back->text(), Lang(1018));
    EXPECT_EQ(Boot.Btn_Cancel->Caption(), Lang(1019));
    EXPECT_EQ(Boot.Btn_Update->Caption(), Lang(1020));
    EXPECT_EQ(Boot.E_IP4->toolTip(), platform::PlainHint(Lang(1024)));
    // The built-in English texts at the indices the window uses.
    const std::pair<int, const char*> english[] = {
        {1000, "Update Device by Serial"},
        {1002, "Update Device by Ethernet (UDP)"},
        {1003, "Update Device Using the Ethernet Port"},
        {1006, "Insert the IP Address of Device"},
        {1014, "Select Update Options"},
        {1015, "Firmware + Configuration"},
        {1016, "Firmware"},
        {1017, "Configuration"},
        {1018, "Read Back"},
        {1020, "Execute Update Firmware"},
        {1021, "Insert first byte of IP Address"},
        {1035, "Start the update of Device"},
        {1036, "Device Not Found!"},
        {1037, "Error!!! Check the Ip Address"},
    };
    for (const auto& [index, text] : english)
        EXPECT_EQ(Lang(index), QString::fromLatin1(text)) << index;
    // Every text the window uses exists in the built-in table.
    for (int index : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022,
                      1023, 1024, 1032, 1033, 1034, 1035, 1036, 1037})
        EXPECT_FALSE(Lang(index).trimmed().isEmpty()) << index;
}

TEST_F(BootWindow, ShowingTakesTheRememberedOptions)
{
    struct Case {
        int Option;
        bool ReadBack;
        int Shown;
    };
    for (const Case& c : {Case{2, false, 2}, Case{1, true, 1}, Case{7, false, 0}, Case{-1, true, 0}}) {
        shell::App_State.Update_Option = c.Option;
        shell::App_State.Update_Read_Back = c.ReadBack;
        Boot.FormShow();
        EXPECT_EQ(Boot.CB_Update_Options->currentIndex(), c.Shown) << c.Option;
        EXPECT_EQ(Boot.CB_Update_Option_Read_Back->isChecked(), c.ReadBack) << c.Option;
    }
}

TEST_F(BootWindow, RememberedAddressFillsTheBoxesOnlyWhenValid)
{
    struct Case {
        const char* Remembered;
        QStringList Boxes;
    };
    const QStringList untouched{"9", "8", "7", "6"};
    const Case cases[] = {
        {"10.1.2.3", {"10", "1", "2", "3"}},
        {" 192.168.1.10 ", {"192", "168", "1", "10"}},
        {"010.000.1.255", {"10", "0", "1", "255"}},
        {"192.168.1", untouched},
        {"1.2.3.4.5", untouched},
        {"256.1.1.1", untouched},
        {"1.2.3.-4", untouched},
        {"0x0A.1.2.3", untouched},
        {"gateway.local", untouched},
        {"", untouched},
    };
    for (const Case& c : cases) {
        SetBoxes(untouched[0], untouched[1], untouched[2], untouched[3]);
        shell::App_State.Device_IP_Address = QString::fromLatin1(c.Remembered);
        Boot.FormShow();
        const QStringList shown{Boot.E_IP1->text(), Boot.E_IP2->text(), Boot.E_IP3->text(), Boot.E_IP4->text()};
        EXPECT_EQ(shown, c.Boxes) << c.Remembered;
    }
}

TEST_F(BootWindow, DotMovesToTheNextBoxAndIsNeverTyped)
{
    Boot.FormShow();
    Boot.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Boot));
    SetBoxes({}, {}, {}, {});

    Boot.E_IP1->setFocus();
    QTest::keyClicks(Boot.E_IP1, QStringLiteral("192."));
    EXPECT_EQ(Boot.E_IP1->text(), QStringLiteral("192"));
    EXPECT_EQ(QApplication::focusWidget(), Boot.E_IP2);

    QTest::keyClicks(Boot.E_IP2, QStringLiteral("168."));
    QTest::keyClicks(Boot.E_IP3, QStringLiteral("2."));
    EXPECT_EQ(QApplication::focusWidget(), Boot.E_IP4);
    QTest::keyClicks(Boot.E_IP4, QStringLiteral("20.5"));
    EXPECT_EQ(Boot.E_IP4->text(), QStringLiteral("205"));
    EXPECT_EQ(QApplication::focusWidget(), Boot.E_IP4);
    EXPECT_EQ(Boot.IP_Boxes_Address(), std::optional<quint32>(0xC0A802CD));

    // A disabled next box does not take the focus; the dot is still swallowed.
    Boot.E_IP2->setEnabled(false);
    Boot.E_IP1->setFocus();
    QTest::keyClick(Boot.E_IP1, '.');
    EXPECT_EQ(QApplication::focusWidget(), Boot.E_IP1);
    EXPECT_EQ(Boot.E_IP1->text(), QStringLiteral("192"));
    Boot.hide();
}

TEST_F(BootWindow, TypingADottedAddressOverFilledBoxesReplacesEachByte)
{
    shell::App_State.Device_IP_Address = QStringLiteral("192.168.2.205");
    Boot.FormShow();
    Boot.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Boot));
    Boot.E_IP1->setFocus(Qt::TabFocusReason);
    Boot.E_IP1->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("127."));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0."));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0."));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1"));
    const QStringList shown{Boot.E_IP1->text(), Boot.E_IP2->text(), Boot.E_IP3->text(), Boot.E_IP4->text()};
    EXPECT_EQ(shown, (QStringList{"127", "0", "0", "1"}));
    EXPECT_EQ(Boot.IP_Boxes_Address(), std::optional<quint32>(0x7F000001));
    Boot.hide();
}

TEST_F(BootWindow, BoxesAreReadAsFourDecimalBytes)
{
    struct Case {
        QStringList Boxes;
        std::optional<quint32> Address;
    };
    const Case cases[] = {
        {{"192", "168", "2", "205"}, 0xC0A802CD},
        {{" 10", "001", "0", "7 "}, 0x0A010007},
        {{"255", "255", "255", "255"}, 0xFFFFFFFF},
        {{"0", "0", "0", "0"}, 0},
        {{"", "1", "1", "1"}, std::nullopt},
        {{"256", "1", "1", "1"}, std::nullopt},
        {{"1", "-1", "1", "1"}, std::nullopt},
        {{"1", "+1", "1", "1"}, std::nullopt},
        {{"1", "1", "0x1", "1"}, std::nullopt},
        {{"1", "1", "1", "1.2"}, std::nullopt},
        {{"1", "1", "1", "1000"}, std::nullopt},
        {{"1", "1", "1", "a"}, std::nullopt},
        {{"1", "1", "1", "\u0661"}, std::nullopt},  // a non-ASCII digit
    };
    for (const Case& c : cases) {
        SetBoxes(c.Boxes[0], c.Boxes[1], c.Boxes[2], c.Boxes[3]);
        EXPECT_EQ(Boot.IP_Boxes_Address(), c.Address) << c.Boxes.join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(BootWindow, TakesTheProgramsWindowLook)
{
    Boot.FormShow();
    Boot.show();
    Boot.Btn_Cancel->clearFocus();
    Boot.Btn_Update->clearFocus();
    const QImage shot = Boot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Light background, white title strip, the buttons' face inside gray edges.
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 2, shot.height() - 2)), shell::Window_Background);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 2, 2)), QColor(Qt::white));
    const QPoint cancel = Boot.Btn_Cancel->mapTo(&Boot, QPoint(0, 0));
    EXPECT_EQ(QColor(shot.pixel(cancel)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(shot.pixel(cancel + QPoint(2, 2))), QColor(0xF8, 0xF7, 0xED));
    EXPECT_FALSE(Boot.Btn_Cancel->Glyph().isNull());
    EXPECT_TRUE(Boot.EscapeCloses());
    Boot.hide();
}
