#include "support/TempDir.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace shell;

namespace {
struct LineCase {
    const char* Line;
    int Index;            // entry to look at
    const char* Expected; // nullptr: the entry keeps its built-in text
};

class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
    QString WriteFile(const QByteArray& bytes)
    {
        Dir.Write(QStringLiteral("Test.lng"), bytes);
        return Dir.File(QStringLiteral("Test.lng"));
    }
    TempDir Dir;
};
}  // namespace

TEST(BuiltinTexts, TableHasEveryIndexAndTheMainWindowTexts)
{
    Load_Default_Language();
    ASSERT_EQ(List_Lang.size(), Lang_Table_Size);
    EXPECT_EQ(Lang(0), QStringLiteral("Begin"));
    EXPECT_EQ(Lang(9), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(Lang(18), QStringLiteral("Error! Project not Valid"));
    EXPECT_EQ(Lang(72), QStringLiteral("Select the DALI Devices Present in Network"));
    EXPECT_EQ(Lang(99), QStringLiteral(" "));  // an index no window uses
    EXPECT_EQ(Lang_Max_Index, 5100);
    EXPECT_TRUE(Lang(-1).isEmpty());
    EXPECT_TRUE(Lang(Lang_Table_Size).isEmpty());
}

TEST_F(LanguageFile, LinesSetEntriesByTheirNumber)
{
    const QString builtin12 = Lang(12);
    const QString builtin3 = Lang(3);
    const LineCase cases[] = {
        {"STR12 = Hello", 12, "Hello"},
        {"STR12=Hello", 12, "Hello"},  // no blank before "=" still names entry 12
        {"   STR12 = Hello", 12, "Hello"},
        {"str12 = Hello", 12, nullptr},
        {"STR007 = x", 7, "x"},
        {"STR5099 = Hello", 5099, "Hello"},
        {"STR5100 = Hello", 5100, nullptr},
        {"STR5231 = Hello", 5231, nullptr},
        {"STR-1 = Hello", 0, nullptr},
        {"STRx = Hello", 0, nullptr},
        {"STR12 Hello", 12, nullptr},
        {"STR3 = a=b", 3, "a=b"},
        {"STR3 = ", 3, nullptr},
        {"STR3 = /#/ note", 3, nullptr},
        {"STR3 = Hello /#/ note", 3, "Hello"},
        {"STR9 = \xC2\xB6Nothing open \xC2\xB6", 9, "Nothing open "},
        {"STR9 = \xC2\xB6" "abc", 9, "abc"},
        {"STR9 = abc\xC2\xB6" "def", 9, "abc"},
        {"STR9 = \xC2\xB6\xC2\xB6", 9, ""},
    };
    for (const LineCase& c : cases) {
        Load_Default_Language();
        const QString before = Lang(c.Index);
        ASSERT_TRUE(Load_Language_File(WriteFile(QByteArray("\xEF\xBB\xBF") + c.Line + "\r\n")));
        if (c.Expected)
            EXPECT_EQ(Lang(c.Index), QString::fromUtf8(c.Expected)) << c.Line;
        else
            EXPECT_EQ(Lang(c.Index), before) << c.Line;
        if (c.Index != 12)
            EXPECT_EQ(Lang(12), builtin12) << c.Line;
        if (c.Index != 3)
            EXPECT_EQ(Lang(3), builtin3) << c.Line;
    }
}

TEST_F(LanguageFile, EncodingsAndLineEndings)
{
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    const QString text = QStringLiteral("STR1 = Schritt \u00FC\r\nSTR2 = Zwei\rSTR4 = Vier\n");
    QByteArray utf16le("\xFF\xFE", 2);
    QByteArray utf16be("\xFE\xFF", 2);
    for (QChar ch : text) {
        const char lo = char(ch.unicode() & 0xFF), hi = char(ch.unicode() >> 8);
        utf16le.append(lo).append(hi);
        utf16be.append(hi).append(lo);
    }
    const Case cases[] = {
        {"utf-8 with mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"utf-8 without mark", text.toUtf8()},
        {"utf-16le", utf16le},
        {"utf-16be", utf16be},
        {"ansi", text.toLatin1()},
    };
    for (const Case& c : cases) {
        Load_Default_Language();
        ASSERT_TRUE(Load_Language_File(WriteFile(c.Bytes))) << c.Name;
        EXPECT_EQ(Lang(1), QStringLiteral("Schritt \u00FC")) << c.Name;
        EXPECT_EQ(Lang(2), QStringLiteral("Zwei")) << c.Name;
        EXPECT_EQ(Lang(4), QStringLiteral("Vier")) << c.Name;
    }
}

TEST_F(LanguageFile, UnreadableOrUndecodableFilesChangeNothing)
{
    const QStringList before = List_Lang;
    EXPECT_FALSE(Load_Language_File(Dir.File(QStringLiteral("Missing.lng"))));
    // A UTF-16 file cut in the middle of a character cannot be decoded.
    EXPECT_FALSE(Load_Language_File(WriteFile(QByteArray("\xFF\xFES\0T\0R\0" "1\0 \0=\0 \0x", 17))));
    EXPECT_EQ(List_Lang, before);
}

TEST_F(LanguageFile, LoadLanguageFallsBackToEnglish)
{
    App_State.Language_Folder = Dir.Path();
    Dir.Write(QStringLiteral("Deutsch.lng"), "STR0 = Anfang\n");

    App_State.Language_Name = QStringLiteral("Deutsch");
    Load_Language();
    EXPECT_EQ(Lang(0), QStringLiteral("Anfang"));

    // Another language first restores every built-in text.
    App_State.Language_Name = QStringLiteral("Missing");
    Load_Language();
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(Lang(0), QStringLiteral("Begin"));

    Dir.Write(QStringLiteral("English.lng"), "STR0 = Start\n");
    App_State.Language_Name = QStringLiteral("../Deutsch");
    Load_Language();
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(Lang(0), QStringLiteral("Start"));
}

TEST_F(LanguageFile, LanguageFileMatchesTheNameAsWrittenAndTheExtensionInAnyCase)
{
    App_State.Language_Folder = Dir.Path();
    for (const char* file : {"Deutsch.lng", "Upper.LNG", "Br[1].Lng", "Two.Lng", "Two.LNG", "Deutsch.lng.bak"})
        Dir.Write(QString::fromUtf8(file), "STR0 = x\n");
    QDir().mkdir(Dir.File(QStringLiteral("Folder.LNG")));
    const struct {
        const char* Name;
        const char* Found;  // nullptr: none
    } cases[] = {
        {"Deutsch", "Deutsch.lng"},
        {"Upper", "Upper.LNG"},
        {"upper", nullptr},
        {"Br[1]", "Br[1].Lng"},  // brackets are characters, not a pattern
        {"Up*", nullptr},
        {"Up?er", nullptr},
        {"Two", "Two.LNG"},  // the first in name order
        {"Folder", nullptr},
        {"", nullptr},
        {"../Deutsch", nullptr},
    };
    for (const auto& c : cases) {
        const QString expected = c.Found ? Dir.File(QString::fromUtf8(c.Found)) : QString();
        EXPECT_EQ(Language_File(QString::fromUtf8(c.Name)), expected) << c.Name;
    }
}
