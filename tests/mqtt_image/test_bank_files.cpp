// Writing bin/bank1.bin and bin/bank2.bin: both whole, or neither.
#include "platform/Exception.h"
#include "support/TempDir.h"
#include "mqtt_image/USaveBincc.h"
#include "test_bank_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace bank_test;
using mqtt_image::TBin_Banks;
using mqtt_image::Write_Bin_Banks;

namespace {

TBin_Banks Sample_Images(uint8_t fill)
{
    TBin_Banks images;
    images.Bank1.assign(2048, fill);
    images.Bank2.assign(300, uint8_t(fill + 1));
    return images;
}

QByteArray As_Bytes(const std::vector<uint8_t>& v) { return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size())); }

// Every entry of the bin folder, hidden ones too, so that a stray temporary file is seen.
std::string Bin_Entries(const TempDir& dir)
{
    return QDir(dir.File("bin"))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)
        .join(' ')
        .toStdString();
}

void Expect_Refused(const TempDir& dir, const TBin_Banks& images, const QString& mustName)
{
    try {
        Write_Bin_Banks(dir.Path(), images);
        ADD_FAILURE() << "the write was not refused";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(mustName)) << e.what();
    }
}

}  // namespace

TEST(BankFiles, CompiledImagesWrittenIntoBinCreatedWhenMissing)
{
    TempDir dir;
    const auto images = mqtt_image::Compile_Bin_Banks(Data_Path("worked_example/ParGen.xml"),
                                                      Data_Path("worked_example/MQTT_Set_Topic.xml"));
    Write_Bin_Banks(dir.Path(), images);
    EXPECT_EQ(dir.Read("bin/bank1.bin"), As_Bytes(Read_Golden("worked_example/bank1.hex")));
    EXPECT_EQ(dir.Read("bin/bank2.bin"), As_Bytes(Read_Golden("worked_example/bank2.hex")));
    EXPECT_EQ(Bin_Entries(dir), "bank1.bin bank2.bin");
    EXPECT_TRUE(QFile::permissions(dir.File("bin/bank1.bin")) & QFileDevice::ReadOther);
}

TEST(BankFiles, ReplacesAnExistingPair)
{
    TempDir dir;
    Write_Bin_Banks(dir.Path(), Sample_Images(1));
    const auto second = Sample_Images(7);
    Write_Bin_Banks(dir.Path(), second);
    EXPECT_EQ(dir.Read("bin/bank1.bin"), As_Bytes(second.Bank1));
    EXPECT_EQ(dir.Read("bin/bank2.bin"), As_Bytes(second.Bank2));
    EXPECT_EQ(Bin_Entries(dir), "bank1.bin bank2.bin");
}

// bank2.bin cannot be replaced (a folder stands in its place) after bank1.bin already was: the old
// bank1.bin comes back, so the pair on disk is never half new.
TEST(BankFiles, SecondFileFailingPutsTheFirstBack)
{
    TempDir dir;
    QDir().mkpath(dir.File("bin/bank2.bin/held"));
    dir.Write("bin/bank1.bin", "old bank 1");
    Expect_Refused(dir, Sample_Images(3), QStringLiteral("bank2.bin"));
    EXPECT_EQ(dir.Read("bin/bank1.bin"), QByteArray("old bank 1"));
    EXPECT_EQ(Bin_Entries(dir), "bank1.bin bank2.bin");

    // Without an old bank1.bin the new one is removed again.
    QFile::remove(dir.File("bin/bank1.bin"));
    Expect_Refused(dir, Sample_Images(3), QStringLiteral("bank2.bin"));
    EXPECT_FALSE(QFile::exists(dir.File("bin/bank1.bin")));
    EXPECT_EQ(Bin_Entries(dir), "bank2.bin");
}

TEST(BankFiles, FirstFileFailingChangesNothing)
{
    TempDir dir;
    QDir().mkpath(dir.File("bin/bank1.bin/held"));
    dir.Write("bin/bank2.bin", "old bank 2");
    Expect_Refused(dir, Sample_Images(3), QStringLiteral("bank1.bin"));
    EXPECT_EQ(dir.Read("bin/bank2.bin"), QByteArray("old bank 2"));
    EXPECT_EQ(Bin_Entries(dir), "bank1.bin bank2.bin");
}

TEST(BankFiles, UnusableFoldersAndIncompleteImagesAreRefused)
{
    {
        TempDir dir;
        const QString gone = dir.File("removed-configuration");
        try {
            Write_Bin_Banks(gone, Sample_Images(1));
            ADD_FAILURE() << "no error";
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains(gone)) << e.what();
        }
        EXPECT_FALSE(QFile::exists(gone));
    }
    {
        TempDir dir;
        dir.Write("bin", "a file where the folder should be");
        Expect_Refused(dir, Sample_Images(1), QStringLiteral("bin"));
        EXPECT_EQ(dir.Read("bin"), QByteArray("a file where the folder should be"));
    }
    {
        TempDir dir;
        auto images = Sample_Images(1);
        images.Bank1.resize(2047);
        EXPECT_THROW(Write_Bin_Banks(dir.Path(), images), platform::Exception);
        images = Sample_Images(1);
        images.Bank2.assign(524289, 0);
        EXPECT_THROW(Write_Bin_Banks(dir.Path(), images), platform::Exception);
        EXPECT_FALSE(QFile::exists(dir.File("bin")));
    }
}
