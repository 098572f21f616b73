// Files written whole or not at all, alone or as a set.
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using platform::WriteFileAtomic;
using platform::WriteFilesAtomic;

namespace {

// Every entry of the folder, hidden ones too, so that a stray temporary file is seen.
QString Entries(const TempDir& dir)
{
    return QDir(dir.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(' ');
}

QString Refusal(const std::vector<platform::FileContents>& files)
{
    try {
        WriteFilesAtomic(files);
    } catch (const platform::Exception& e) {
        return e.message();
    }
    return {};
}

}  // namespace

TEST(FileUtil, ASetIsReplacedWholeOrNotAtAll)
{
    TempDir dir;
    dir.Write("a", "old a");
    // "c" cannot be replaced: a folder stands in its place. "a" and "b" are replaced before it.
    QDir().mkpath(dir.File("c/held"));
    const QString message = Refusal({{dir.File("a"), "new a"}, {dir.File("b"), "new b"}, {dir.File("c"), "new c"}});
    EXPECT_TRUE(message.contains(dir.File("c"))) << message.toStdString();
    EXPECT_EQ(dir.Read("a"), QByteArray("old a"));
    EXPECT_FALSE(QFile::exists(dir.File("b")));  // it was new: it is removed again
    EXPECT_EQ(Entries(dir), QStringLiteral("a c"));

    QDir(dir.File("c")).removeRecursively();
    WriteFilesAtomic({{dir.File("a"), "new a"}, {dir.File("b"), "new b"}, {dir.File("c"), "new c"}});
    EXPECT_EQ(dir.Read("a"), QByteArray("new a"));
    EXPECT_EQ(dir.Read("b"), QByteArray("new b"));
    EXPECT_EQ(dir.Read("c"), QByteArray("new c"));
    EXPECT_EQ(Entries(dir), QStringLiteral("a b c"));
}

TEST(FileUtil, AFileThatCannotBeWrittenChangesNothing)
{
    TempDir dir;
    dir.Write("a", "old a");
    const QString message = Refusal({{dir.File("a"), "new a"}, {dir.File("missing/b"), "new b"}});
    EXPECT_TRUE(message.contains(dir.File("missing/b"))) << message.toStdString();
    EXPECT_EQ(dir.Read("a"), QByteArray("old a"));
    EXPECT_EQ(Entries(dir), QStringLiteral("a"));
}

// Parts handed over one by one make the file; a producer that fails leaves the old file and no
// temporary one.
TEST(FileUtil, AStreamedFileIsWrittenWholeOrNotAtAll)
{
    TempDir dir;
    dir.Write("s", "old");
    platform::WriteFileAtomicStreamed(dir.File("s"), [](const platform::StreamedWrite& write) {
        write("new ");
        write("parts");
    });
    EXPECT_EQ(dir.Read("s"), QByteArray("new parts"));
    EXPECT_THROW(platform::WriteFileAtomicStreamed(dir.File("s"),
                                                   [](const platform::StreamedWrite& write) {
                                                       write("half");
                                                       throw platform::Exception(QStringLiteral("stop"));
                                                   }),
                 platform::Exception);
    EXPECT_EQ(dir.Read("s"), QByteArray("new parts"));
    EXPECT_EQ(Entries(dir), QStringLiteral("s"));
}

TEST(FileUtil, ReplacingKeepsLinksAndPermissions)
{
    TempDir dir;
    dir.Write("target", "old");
    QFile::setPermissions(dir.File("target"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(QFile::link(dir.File("target"), dir.File("link")));
    WriteFileAtomic(dir.File("link"), "new");
    EXPECT_TRUE(QFileInfo(dir.File("link")).isSymLink());
    EXPECT_EQ(dir.Read("target"), QByteArray("new"));
    const auto unixBits = QFileDevice::Permissions(0x7077);  // owner, group and other
    EXPECT_EQ(QFile::permissions(dir.File("target")) & unixBits, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(Entries(dir), QStringLiteral("link target"));
}

TEST(KeepDamagedFile, KeepsEachDamagedVersionOnceAndNeverOverwrites)
{
    TempDir dir;
    dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><a>1");
    const QString path = dir.File(QStringLiteral("ParGen.xml"));

    EXPECT_EQ(platform::KeepDamagedFile(path), QStringLiteral("The damaged file is kept as \"ParGen.xml.damaged\"."));
    EXPECT_EQ(dir.Read(QStringLiteral("ParGen.xml.damaged")), QByteArray("<Par_Gen><a>1"));
    EXPECT_EQ(dir.Read(QStringLiteral("ParGen.xml")), QByteArray("<Par_Gen><a>1"));

    // The same damage again uses the earlier copy; other damage takes the next free name.
    EXPECT_TRUE(platform::KeepDamagedFile(path).contains(QStringLiteral("\"ParGen.xml.damaged\"")));
    dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><b>");
    EXPECT_TRUE(platform::KeepDamagedFile(path).contains(QStringLiteral("\"ParGen.xml.damaged.2\"")));
    EXPECT_EQ(dir.Read(QStringLiteral("ParGen.xml.damaged")), QByteArray("<Par_Gen><a>1"));
    EXPECT_EQ(dir.Read(QStringLiteral("ParGen.xml.damaged.2")), QByteArray("<Par_Gen><b>"));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files).size(), 3);

    // A folder in the way is stepped over too.
    QDir(dir.Path()).mkdir(QStringLiteral("ParGen.xml.damaged.3"));
    dir.Write(QStringLiteral("ParGen.xml"), "third");
    EXPECT_TRUE(platform::KeepDamagedFile(path).contains(QStringLiteral("\"ParGen.xml.damaged.4\"")));
}

TEST(KeepDamagedFile, SaysSoWhenNoCopyCanBeMade)
{
    TempDir dir;
    const QString note = platform::KeepDamagedFile(dir.File(QStringLiteral("missing.xml")));
    EXPECT_TRUE(note.contains(QStringLiteral("could not be kept"))) << note.toStdString();
    EXPECT_TRUE(QDir(dir.Path()).entryList(QDir::Files).isEmpty());
}
