// The PROFINET GSDML generator and its file-name window: the document for the values of
// ParGen.xml, read by xmllint; the name composed and refused; the save command.
#include "controls/buttons_pages/PicButton.h"
#include "description_readers.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "protocols/fieldbus/UProfinetFileName.h"
#include "protocols/fieldbus/UProfinetXML.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "support/Deferred.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace fieldbus::gsdml;
using namespace description_readers;

namespace {

class GsdmlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.Path();
        shell::Set_Files();
    }
    void TearDown() override { shell::App_State = {}; }
    void Par_Gen(const QByteArray& elements) const
    {
        Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen>" + elements + "</Par_Gen><!--SW_VERSION = 1.006-->");
    }
    static GSDML_Values Values() { return Read_Profinet_Parameters(shell::App_State.File_ParGen); }
    // The value of the first attribute of that name in the document.
    static QString Attribute(const QByteArray& xml, const char* element, const char* attribute)
    {
        const QString text = QString::fromLatin1(xml);
        const qsizetype at = text.indexOf(QStringLiteral("<%1 ").arg(QLatin1String(element)));
        if (at < 0)
            return QStringLiteral("<no element>");
        const QString tag = text.mid(at, text.indexOf(QLatin1Char('>'), at) - at);
        const QString key = QLatin1String(attribute) + QStringLiteral("=\"");
        const qsizetype v = tag.indexOf(QLatin1Char(' ') + key);
        if (v < 0)
            return QStringLiteral("<no attribute>");
        const qsizetype start = v + 1 + key.size();
        return tag.mid(start, tag.indexOf(QLatin1Char('"'), start) - start);
    }
    TempDir Dir;
};

// Without PROFINET elements the defaults hold; the document is ISO-8859-1 without a mark, CR LF,
// well-formed, with distinct identifiers for the access point, the module and its submodule.
TEST_F(GsdmlTest, DefaultDocument)
{
    const GSDML_Values values = Values();
    EXPECT_EQ(values.NByte_IN, 1438);
    EXPECT_EQ(values.NByte_OUT, 1438);
    EXPECT_EQ(values.Name_Station, "SERIAL");
    const QByteArray xml = GSDML_Bytes(values);
    EXPECT_TRUE(MatchesGolden(xml, "gsdml_defaults.xml"));
    EXPECT_TRUE(Xmllint_Accepts(xml));
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<!-- A fieldbus integration example. -->\r\n"));
    EXPECT_TRUE(xml.endsWith("</ISO15745Profile>\r\n"));
    EXPECT_EQ(xml.count("\n"), xml.count("\r\n"));
    EXPECT_EQ(Attribute(xml, "DeviceAccessPointItem", "DNS_CompatibleName"), "SERIAL");
    EXPECT_EQ(Attribute(xml, "DeviceAccessPointItem", "ImplementationType"), "SERIAL");
    EXPECT_EQ(Attribute(xml, "DeviceAccessPointItem", "ModuleIdentNumber"), "0x00000001");
    EXPECT_EQ(Attribute(xml, "ModuleItem", "ModuleIdentNumber"), "0x00000002");
    EXPECT_EQ(Attribute(xml, "ModuleItem", "ID"), "IDM_1");
    EXPECT_EQ(Attribute(xml, "ModuleItemRef", "ModuleItemTarget"), "IDM_1");
    EXPECT_EQ(xml.count(" ID=\"IDM_1\""), 1);
    EXPECT_EQ(xml.count(" ID=\"IDSM_1\""), 1);
    EXPECT_EQ(xml.count("<Text "), 40);
    EXPECT_TRUE(xml.contains("<Text Value=\"Continue operation\" TextId=\"IDT_ASSIGN_do_continue_counting\"/>"));
    EXPECT_TRUE(xml.contains("<Text TextId=\"IDT_NAME_M_PB1\" Value=\"ZID Device \"/>"));
}

// The values of ParGen.xml: the lengths crosswise into the data items and clamped to what one
// direction carries, the station name kept only when it is a DNS name.
TEST_F(GsdmlTest, ParGenValuesAreCheckedBeforeUse)
{
    struct Case {
        const char* Elements;
        const char* Input_Length;
        const char* Output_Length;
        const char* Station;
    };
    const Case cases[] = {
        {"<PROFINET_NB_IN>100</PROFINET_NB_IN><PROFINET_NB_OUT>200</PROFINET_NB_OUT>", "200", "100", "SERIAL"},
        {"<PROFINET_NB_IN>0</PROFINET_NB_IN><PROFINET_NB_OUT>5000</PROFINET_NB_OUT>", "1438", "1", "SERIAL"},
        {"<PROFINET_NB_IN>-7</PROFINET_NB_IN><PROFINET_NB_OUT>$10</PROFINET_NB_OUT>", "16", "1", "SERIAL"},
        {"<PROFINET_NB_IN>many</PROFINET_NB_IN><PROFINET_NB_OUT>1439</PROFINET_NB_OUT>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA> plc-1.line2 </PROFINET_NAME_STA>", "1438", "1438", "plc-1.line2"},
        {"<PROFINET_NAME_STA>   </PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA>a&amp;b\"&lt;c</PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA>two words</PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA>-lead</PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA>a..b</PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
        {"<PROFINET_NAME_STA>stazione-ü</PROFINET_NAME_STA>", "1438", "1438", "SERIAL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Elements);
        Par_Gen(c.Elements);
        const QByteArray xml = GSDML_Bytes(Values());
        EXPECT_TRUE(Xmllint_Accepts(xml));
        EXPECT_FALSE(xml.startsWith("\xEF\xBB\xBF"));
        EXPECT_EQ(Attribute(xml, "DataItem", "Length"), QLatin1String(c.Input_Length));
        EXPECT_EQ(Attribute(xml, "DataItem", "TextId"), "IDT_Input_1");
        const QString text = QString::fromLatin1(xml);
        const qsizetype output = text.indexOf(QLatin1String("<Output>"));
        EXPECT_EQ(Attribute(xml.mid(output), "DataItem", "Length"), QLatin1String(c.Output_Length));
        EXPECT_EQ(Attribute(xml, "DeviceAccessPointItem", "DNS_CompatibleName"), QLatin1String(c.Station));
        EXPECT_EQ(Attribute(xml, "DeviceAccessPointItem", "ImplementationType"), QLatin1String(c.Station));
    }
    const QString longest = QStringLiteral("%1.%1.%1.%2").arg(QString(63, QLatin1Char('a')), QString(48, QLatin1Char('b')));
    EXPECT_TRUE(Is_DNS_Name(longest));
    EXPECT_FALSE(Is_DNS_Name(longest + QLatin1Char('b')));
    EXPECT_FALSE(Is_DNS_Name(QString(64, QLatin1Char('a'))));
    EXPECT_FALSE(Is_DNS_Name(QStringLiteral("end-")));
}

// The command: the folder of the chosen path with the composed name, whatever name the user
// typed in the dialog; a question before an existing file is replaced; a broken ParGen.xml or a
// failed write shown in an error box.
TEST_F(GsdmlTest, SaveUsesTheFolderChosenAndTheComposedName)
{
    const QString name = QStringLiteral("GSDML-V2.31-Kelvor-KV-PNMQ_line-20240307.xml");
    QDir(Dir.Path()).mkdir(QStringLiteral("out"));
    {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(Dir.File(QStringLiteral("out/other name.xml")));
        Save_PROFINET_XML(name);
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Shown()[0].InitialFolder, Dir.Path());
        EXPECT_EQ(dialogs.Shown()[0].Filter, QStringLiteral("PROFINET XML (*.xml)|") + name);
        EXPECT_EQ(dialogs.Shown()[0].FileName, name);
    }
    EXPECT_EQ(QDir(Dir.File(QStringLiteral("out"))).entryList(QDir::Files), QStringList{name});
    EXPECT_EQ(Dir.Read(QStringLiteral("out/") + name), GSDML_Bytes(GSDML_Values{}));

    Par_Gen("<PROFINET_NB_IN>8</PROFINET_NB_IN>");
    for (const int answer : {int(platform::mrNo), int(platform::mrYes)}) {
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.QueueAnswer(Dir.File(QStringLiteral("out/x.xml")));
        messages.QueueAnswer(answer);
        Save_PROFINET_XML(name);
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), shell::Lang(3411));
        EXPECT_EQ(Attribute(Dir.Read(QStringLiteral("out/") + name).mid(Dir.Read(QStringLiteral("out/") + name).indexOf("<Output>")),
                            "DataItem", "Length") == QLatin1String("8"),
                  answer == platform::mrYes);
    }

    // A broken ParGen.xml, then a folder that cannot be written: each shown in an error box.
    struct Failure {
        const char* ParGen;
        const char* Folder;
        const char* Named;
    };
    for (const Failure& f : {Failure{"<Par_Gen><PROFINET_NB_IN>", "out", "ParGen.xml"},
                             Failure{"<Par_Gen/>", "missing", "missing"}}) {
        SCOPED_TRACE(f.Named);
        Dir.Write(QStringLiteral("ParGen.xml"), f.ParGen);
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.QueueAnswer(Dir.File(QLatin1String(f.Folder) + QStringLiteral("/x.xml")));
        if (QLatin1String(f.Folder) == QLatin1String("out"))
            messages.QueueAnswer(platform::mrYes);
        platform::Guarded([&] { Save_PROFINET_XML(name); });
        ASSERT_FALSE(messages.Shown().empty());
        EXPECT_EQ(messages.Shown().back().Type, platform::TMsgDlgType::mtError);
        EXPECT_TRUE(messages.LastText().contains(QLatin1String(f.Named))) << messages.LastText().toStdString();
    }
    EXPECT_TRUE(Dir.Read(QStringLiteral("out/") + name).contains("Length=\"8\""));
}

// ---- The file-name window ---------------------------------------------------------------------

class FileNameWindow : public GsdmlTest {
protected:
    void SetUp() override
    {
        GsdmlTest::SetUp();
        Form = std::make_unique<TFProfinetFileName>();
        Form->Set_Date(QDate(2024, 3, 7));
    }
    void TearDown() override
    {
        Form.reset();
        GsdmlTest::TearDown();
    }
    // Types the user part into the edit box and presses OK with the mouse.
    void Type_And_OK(const QString& user)
    {
        Form->E_XML_User->setFocus();
        Form->E_XML_User->selectAll();
        QTest::keyClick(Form->E_XML_User, Qt::Key_Delete);
        QTest::keyClicks(Form->E_XML_User, user);
        QTest::mouseClick(Form->Btn_OK, Qt::LeftButton, {}, Form->Btn_OK->rect().center());
    }
    std::unique_ptr<TFProfinetFileName> Form;
};

TEST_F(FileNameWindow, ComposesTheStandardName)
{
    EXPECT_EQ(Form->Caption(), "PROFINET XML File Name");
    EXPECT_EQ(Form->L_XML_Fix1->text(), "GSDML-V2.31-Kelvor-KV-PNMQ");
    EXPECT_EQ(Form->L_XML_Fix2->text(), "-20240307.xml");
    EXPECT_EQ(Form->width(), 540);
    EXPECT_EQ(Form->height(), 205);
    const std::pair<const char*, const char*> cases[] = {
        {"", "GSDML-V2.31-Kelvor-KV-PNMQ-20240307.xml"},
        {"  ", "GSDML-V2.31-Kelvor-KV-PNMQ-20240307.xml"},
        {"abc", "GSDML-V2.31-Kelvor-KV-PNMQ_abc-20240307.xml"},
        {"_abc", "GSDML-V2.31-Kelvor-KV-PNMQ_abc-20240307.xml"},
        {" a b", "GSDML-V2.31-Kelvor-KV-PNMQ_ a b-20240307.xml"},
        {"..x", "GSDML-V2.31-Kelvor-KV-PNMQ_..x-20240307.xml"},
    };
    for (const auto& [user, name] : cases) {
        SCOPED_TRACE(user);
        const int result = Run_Modal(Form.get(), [&] { Type_And_OK(QLatin1String(user)); });
        EXPECT_EQ(result, platform::mrOk);
        EXPECT_EQ(Form->Name_File_XML, QLatin1String(name));
    }
    // The user part stays from one opening to the next; Cancel closes with Cancel.
    const int result = Run_Modal(Form.get(), [&] {
        EXPECT_EQ(Form->E_XML_User->text(), "..x");
        QTest::mouseClick(Form->Btn_Cancel, Qt::LeftButton, {}, Form->Btn_Cancel->rect().center());
    });
    EXPECT_EQ(result, platform::mrCancel);
}

// A user part that would leave the folder or that file names forbid: an error box naming the
// character, and the window stays open.
TEST_F(FileNameWindow, RefusesSeparatorsAndReservedCharacters)
{
    for (const char* user : {"../up", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        SCOPED_TRACE(user);
        ScriptedMessages messages;
        Form->Name_File_XML.clear();
        const int result = Run_Modal(Form.get(), [&] {
            Type_And_OK(QLatin1String(user));
            EXPECT_TRUE(Form->isVisible());
            EXPECT_EQ(messages.Shown().size(), 1u);
            QTest::mouseClick(Form->Btn_Cancel, Qt::LeftButton, {}, Form->Btn_Cancel->rect().center());
        });
        EXPECT_EQ(result, platform::mrCancel);
        EXPECT_TRUE(Form->Name_File_XML.isEmpty());
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        const QChar bad = QLatin1String(user)[1] == QLatin1Char('.') ? QLatin1Char('/') : QLatin1String(user)[1];
        EXPECT_TRUE(messages.LastText().contains(QStringLiteral("\"%1\"").arg(bad))) << messages.LastText().toStdString();
    }
    // Control characters cannot be typed into the box, but may be pasted.
    EXPECT_EQ(TFProfinetFileName::Forbidden_Character(QStringLiteral("a\tb")), QChar(u'\t'));
    EXPECT_EQ(TFProfinetFileName::Forbidden_Character(QStringLiteral("plant 1_\u00e4.v2")), std::nullopt);
}

}  // namespace
