#include "platform/Dialogs.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "shell/UAbout.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/USoftOptions.h"
#include "shell/UVersionCheck.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shell;

namespace {

// A LANGUAGE folder of its own, English texts and the option flags off.
class SoftOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        App_State = {};
        App_State.Language_Folder = Dir.Path();
        Load_Default_Language();
    }
    void TearDown() override
    {
        App_State = {};
        Version_Check_Server = Version_Server();
        Load_Default_Language();
    }
    void Language(const QString& name, const QByteArray& contents = "STR300 = x\r\n")
    {
        Dir.Write(name + QStringLiteral(".lng"), contents);
    }
    void Picture(const QString& file, int size)
    {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(Dir.File(file), "BMP"));
    }
    static QStringList SlotNames(const TFSoftOptions& w)
    {
        QStringList names;
        for (QLabel* l : w.L_L)
            if (!l->isHidden())
                names.append(l->text());
        return names;
    }

    TempDir Dir;
    ScriptedMessages Messages;
};

TEST_F(SoftOptions, ThirteenLanguagesFillThreePages)
{
    for (int i = 1; i <= 13; ++i)
        Language(QStringLiteral("Lang%1").arg(i, 2, 10, QLatin1Char('0')));
    TFSoftOptions w;
    w.FormShow();
    EXPECT_EQ(w.Page_Count(), 3);
    EXPECT_EQ(w.L_Page_Lang->text(), QStringLiteral("Page 1 / 3"));
    EXPECT_EQ(SlotNames(w), (QStringList{"Lang01", "Lang02", "Lang03", "Lang04", "Lang05", "Lang06"}));
    EXPECT_TRUE(w.Btn_Prev->isHidden());
    EXPECT_FALSE(w.Btn_Next->isHidden());

    w.Btn_NextClick();
    w.Btn_NextClick();
    EXPECT_EQ(w.Show_Page, 3);
    EXPECT_EQ(w.L_Page_Lang->text(), QStringLiteral("Page 3 / 3"));
    EXPECT_EQ(SlotNames(w), QStringList{"Lang13"});
    EXPECT_TRUE(w.I_L[1]->isHidden());
    EXPECT_TRUE(w.Btn_Next->isHidden());
    EXPECT_FALSE(w.Btn_Prev->isHidden());

    w.Btn_NextClick();  // no page 4
    EXPECT_EQ(w.Show_Page, 3);
    w.Btn_PrevClick();
    EXPECT_EQ(w.Show_Page, 2);
    EXPECT_EQ(SlotNames(w).front(), QStringLiteral("Lang07"));
}

TEST_F(SoftOptions, OnlyPlainWritableLngFilesAreOffered)
{
    Language(QStringLiteral("italiano"));
    Language(QStringLiteral("Deutsch"));
    Language(QStringLiteral("English"));
    Language(QStringLiteral("Locked"));
    QFile::setPermissions(Dir.File(QStringLiteral("Locked.lng")), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QDir().mkdir(Dir.File(QStringLiteral("Folder.lng")));
    QFile::link(Dir.File(QStringLiteral("Deutsch.lng")), Dir.File(QStringLiteral("Linked.lng")));
    Dir.Write(QStringLiteral("Upper.LNG"), "STR1 = x");
    Dir.Write(QStringLiteral("notes.txt"), "");
    TFSoftOptions w;
    w.FormShow();
    EXPECT_EQ(w.SL_Languages, (QStringList{"Deutsch.lng", "English.lng", "italiano.lng", "Upper.LNG"}));
    // The extension's letter case does not matter when the language is loaded either.
    App_State.Language_Name = QStringLiteral("Upper");
    Load_Language();
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("Upper"));
    EXPECT_EQ(Lang(1), QStringLiteral("x"));
}

TEST_F(SoftOptions, NoLanguageFilesShowNoSlotAndNoPaging)
{
    TFSoftOptions w;
    w.FormShow();
    EXPECT_TRUE(SlotNames(w).isEmpty());
    EXPECT_EQ(w.L_Page_Lang->text(), QStringLiteral("Page 1 / 0"));
    EXPECT_EQ(w.L_Sel_Lang->text(), QStringLiteral("Selected Language : English"));
    EXPECT_TRUE(w.Btn_Prev->isHidden());
    EXPECT_TRUE(w.Btn_Next->isHidden());
    w.Language_Click(1);
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(SoftOptions, FlagPictureFallsBackToTheDefaultFlag)
{
    Language(QStringLiteral("Alpha"));
    Language(QStringLiteral("Beta"));
    Picture(QStringLiteral("Alpha.bmp"), 8);
    {
        TFSoftOptions w;
        w.FormShow();
        EXPECT_FALSE(w.I_L[0]->isHidden());
        EXPECT_EQ(w.I_L[0]->pixmap().size(), QSize(8, 8));
        EXPECT_TRUE(w.I_L[1]->isHidden());  // neither its own flag nor a default one
        EXPECT_FALSE(w.L_L[1]->isHidden());
    }
    Picture(QStringLiteral("DefaultFlag.bmp"), 4);
    Dir.Write(QStringLiteral("Beta.bmp"), "not a picture");
    TFSoftOptions w;
    w.FormShow();
    EXPECT_EQ(w.I_L[0]->pixmap().size(), QSize(8, 8));
    EXPECT_FALSE(w.I_L[1]->isHidden());
    EXPECT_EQ(w.I_L[1]->pixmap().size(), QSize(4, 4));
}

TEST_F(SoftOptions, PickingALanguageAppliesItsTextsAtOnceButKeepsTheSettingUntilOk)
{
    Language(QStringLiteral("Deutsch"), "STR300 = Optionen\r\nSTR304 = \xC2\xB6Sprache : \xC2\xB6\r\n"
                                        "STR305 = \xC2\xB6Seite \xC2\xB6\r\n");
    Language(QStringLiteral("Zulu"));
    TFSoftOptions w;
    int applied = 0;
    w.On_Language_Changed = [&] {
        ++applied;
        w.Set_Lang();
    };
    w.FormShow();

    Messages.QueueAnswer(platform::mrNo);
    w.Language_Click(1);
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.LastText(), QStringLiteral("Do you want to change the Language from English to Deutsch?"));
    EXPECT_EQ(Messages.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(Lang(300), QStringLiteral("Software Options"));

    Messages.QueueAnswer(platform::mrYes);
    w.Language_Click(1);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(w.Language_In_Use, QStringLiteral("Deutsch"));
    EXPECT_EQ(Lang(300), QStringLiteral("Optionen"));
    EXPECT_EQ(w.Caption(), QStringLiteral("Optionen"));
    EXPECT_EQ(w.L_Sel_Lang->text(), QStringLiteral("Sprache : Deutsch"));
    EXPECT_EQ(w.L_Page_Lang->text(), QStringLiteral("Seite 1 / 1"));
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));  // Cancel would keep it

    w.Btn_OKClick();
    EXPECT_EQ(w.ModalResult(), platform::mrOk);
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("Deutsch"));
}

TEST_F(SoftOptions, WithoutACallbackTheWindowItselfTakesTheNewTexts)
{
    Language(QStringLiteral("Deutsch"), "STR300 = Optionen\r\n");
    TFSoftOptions w;
    w.FormShow();
    Messages.QueueAnswer(platform::mrYes);
    w.Language_Click(1);
    EXPECT_EQ(w.Caption(), QStringLiteral("Optionen"));
}

TEST_F(SoftOptions, ConnectionChoicesFollowEachOtherAndReachTheFlagsOnOk)
{
    App_State.Opt_Enable_Internet = true;
    App_State.Opt_Enable_Update = true;
    App_State.Opt_Double_Click_Auto_Size = true;
    TFSoftOptions w;
    w.FormShow();
    EXPECT_EQ(w.PC_Options->currentWidget(), w.TS_Language);
    EXPECT_TRUE(w.LL_Check_Update->isHidden());
    EXPECT_TRUE(w.CB_En_Con->isChecked());
    EXPECT_TRUE(w.CB_Update->isEnabled());
    EXPECT_TRUE(w.Btn_Check_Update->isEnabled());
    EXPECT_FALSE(w.CB_Soft_Set_Jump_Table->isChecked());
    EXPECT_TRUE(w.CB_DoubleClick_Auto_Size->isChecked());

    w.CB_En_Con->click();
    EXPECT_FALSE(w.CB_Update->isEnabled());
    EXPECT_TRUE(w.CB_Update->isChecked());  // disabled, but its check stays
    EXPECT_FALSE(w.Btn_Check_Update->isEnabled());
    w.CB_En_Con->click();
    w.CB_Update->click();
    EXPECT_TRUE(w.CB_Update->isEnabled());
    EXPECT_FALSE(w.Btn_Check_Update->isEnabled());
    w.CB_Update->click();
    w.CB_En_Con->click();
    w.CB_Soft_Set_Jump_Table->click();

    w.Btn_OKClick();
    EXPECT_FALSE(App_State.Opt_Enable_Internet);
    EXPECT_TRUE(App_State.Opt_Enable_Update);
    EXPECT_TRUE(App_State.Opt_Jump_Field_Tables);
    EXPECT_TRUE(App_State.Opt_Double_Click_Auto_Size);
}

TEST_F(SoftOptions, CancelLeavesTheFlagsAndShowingAgainReloadsThem)
{
    TFSoftOptions w;
    QTimer::singleShot(0, &w, [&] {
        w.CB_En_Con->click();
        w.CB_Soft_Set_Jump_Table->click();
        w.Btn_Cancel->Click();
    });
    EXPECT_EQ(w.ShowModal(), platform::mrCancel);
    EXPECT_FALSE(App_State.Opt_Enable_Internet);
    EXPECT_FALSE(App_State.Opt_Jump_Field_Tables);

    QTimer::singleShot(0, &w, [&] {
        EXPECT_FALSE(w.CB_En_Con->isChecked());
        EXPECT_FALSE(w.CB_Soft_Set_Jump_Table->isChecked());
        w.CB_En_Con->click();
        w.Btn_OK->Click();
    });
    EXPECT_EQ(w.ShowModal(), platform::mrOk);
    EXPECT_TRUE(App_State.Opt_Enable_Internet);
}

TEST_F(SoftOptions, CheckButtonShowsTheLinkOrNoUpdate)
{
    TFSoftOptions w;
    QStringList opened;
    w.Link_Opener = [&](const QString& link) {
        opened.append(link);
        return true;
    };
    w.FormShow();
    {
        LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nVER. 1.007");
        Version_Check_Server.Host = QStringLiteral("127.0.0.1");
        Version_Check_Server.Port = server.Port();
        w.Btn_Check_UpdateClick();
        EXPECT_FALSE(w.LL_Check_Update->isHidden());
        EXPECT_TRUE(w.LL_Check_Update->text().contains(Lang(314)));
        EXPECT_TRUE(w.LL_Check_Update->text().contains(QStringLiteral("<a href=")));
        emit w.LL_Check_Update->linkActivated(Version_Page_Link());
        EXPECT_EQ(opened, QStringList{Version_Page_Link()});
    }
    {
        LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nVER. 1.006");
        Version_Check_Server.Port = server.Port();
        w.Btn_Check_UpdateClick();
        EXPECT_EQ(w.LL_Check_Update->text(), QStringLiteral("No Update Available"));
        EXPECT_EQ(w.LL_Check_Update->textFormat(), Qt::PlainText);
    }
    Version_Check_Server.Port = LoopbackHttpServer::RefusedPort();
    w.Btn_Check_UpdateClick();
    EXPECT_EQ(w.LL_Check_Update->text(), QStringLiteral("No Update Available"));
    EXPECT_TRUE(Messages.Shown().empty());  // a failed check is not reported
    EXPECT_EQ(w.Conv_Version(QStringLiteral("VER. 1.007")), 1007);
}

TEST_F(SoftOptions, InformationWindowKeepsItsEnglishTextsAndShowsTheComparedVersion)
{
    TFAbout about;
    QStringList opened;
    about.Link_Opener = [&](const QString& link) {
        opened.append(link);
        return true;
    };
    Language(QStringLiteral("Deutsch"), "STR0 = Anfang\r\nSTR300 = Optionen\r\n");
    App_State.Language_Name = QStringLiteral("Deutsch");
    Load_Language();
    ASSERT_EQ(Lang(0), QStringLiteral("Anfang"));
    about.FormShow();
    EXPECT_EQ(about.Caption(), QStringLiteral("About..."));
    EXPECT_EQ(about.Label1->text(), QStringLiteral("Software Bricolator "));
    EXPECT_EQ(about.Label3->text(), QStringLiteral("Version :"));
    EXPECT_EQ(about.Label10->text(), SW_Version);
    EXPECT_EQ(Conv_Version(about.Label10->text()), 1006);
    EXPECT_EQ(about.Label9->text(), SW_Code_Value);
    EXPECT_EQ(about.Label2->text(), QStringLiteral("Rodudi RAZ Adezo / VEZE - Revazorov"));
    EXPECT_EQ(about.Label12->text(), Manual_Document_Code);
    EXPECT_EQ(about.size(), QSize(425, 148));
    about.Label4Click();
    EXPECT_EQ(opened, QStringList{Maker_Home_Page});

    QTimer::singleShot(0, &about, [&] { about.PicButton1->Click(); });
    EXPECT_EQ(about.ShowModal(), platform::mrOk);
}

}  // namespace
