#include "platform/Exception.h"
#include "support/TempDir.h"
#include "mqtt_image/UUpdateJob.h"

#include <QFile>
#include <gtest/gtest.h>

using mqtt_image::Update_Job;

namespace {

QByteArray ReadGolden(const QString& name)
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Update_Job DemoJob(const QString& ip, int option, bool readBack)
{
    Update_Job job;
    job.IP_Address = ip;
    job.Option = option;
    job.Read_Back = readBack;
    job.Master_Folder = QStringLiteral("Program/MASTER");
    job.Project_Folder = QStringLiteral("Program/PROJECTS/Demo");
    return job;
}

struct JobCase {
    const char* Golden;
    const char* Ip;
    int Option;
    bool ReadBack;
};

class UpdateJobGolden : public ::testing::TestWithParam<JobCase> {};

}  // namespace

// Byte-exact against hand-written files: element order, the three operation kinds, read-back and
// "go to application" only on the last operation.
TEST_P(UpdateJobGolden, MatchesGoldenFile)
{
    const JobCase& c = GetParam();
    const QByteArray golden = ReadGolden(QString::fromLatin1(c.Golden));
    ASSERT_FALSE(golden.isEmpty()) << c.Golden;
    EXPECT_EQ(mqtt_image::Update_Job_Bytes(DemoJob(QString::fromLatin1(c.Ip), c.Option, c.ReadBack)).toStdString(),
              golden.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Options, UpdateJobGolden,
                         ::testing::Values(JobCase{"job_option0_readback.xml", "192.168.2.205", 0, true},
                                           JobCase{"job_option1_no_readback.xml", "10.0.0.7", 1, false},
                                           JobCase{"job_option2_readback.xml", "172.16.254.1", 2, true}),
                         [](const auto& info) { return "Option" + std::to_string(info.param.Option); });

TEST(UpdateJob, NamesTheFilesOfEachOptionInWriteOrder)
{
    const QString fw = QStringLiteral("Program/MASTER/") + mqtt_image::Firmware_Image_Name;
    const QString b1 = QStringLiteral("Program/PROJECTS/Demo/bin/bank1.bin");
    const QString b2 = QStringLiteral("Program/PROJECTS/Demo/bin/bank2.bin");
    EXPECT_EQ(mqtt_image::Update_Job_Files(DemoJob({}, 0, true)), (QStringList{fw, b1, b2}));
    EXPECT_EQ(mqtt_image::Update_Job_Files(DemoJob({}, 1, true)), (QStringList{fw}));
    EXPECT_EQ(mqtt_image::Update_Job_Files(DemoJob({}, 2, true)), (QStringList{b1, b2}));
}

TEST(UpdateJob, UnknownOptionIsRefusedAndWritesNothing)
{
    TempDir dir;
    for (int option : {-1, 3}) {
        EXPECT_THROW(mqtt_image::Update_Job_Files(DemoJob({}, option, true)), platform::Exception);
        EXPECT_THROW(mqtt_image::Write_Update_Job(dir.File(QStringLiteral("Ethernet_Update.xml")),
                                                  DemoJob({}, option, true)),
                     platform::Exception);
    }
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("Ethernet_Update.xml"))));
}

TEST(UpdateJob, WriteReplacesTheWholeFile)
{
    TempDir dir;
    const QString path = dir.File(QStringLiteral("Ethernet_Update.xml"));
    dir.Write(QStringLiteral("Ethernet_Update.xml"), QByteArray(20000, 'x'));
    mqtt_image::Write_Update_Job(path, DemoJob(QStringLiteral("10.0.0.7"), 1, false));
    EXPECT_EQ(dir.Read(QStringLiteral("Ethernet_Update.xml")), ReadGolden(QStringLiteral("job_option1_no_readback.xml")));
}

TEST(UpdateJob, WriteIntoAMissingFolderFailsNamingTheFile)
{
    TempDir dir;
    const QString path = dir.File(QStringLiteral("no_such_folder/Ethernet_Update.xml"));
    try {
        mqtt_image::Write_Update_Job(path, DemoJob(QStringLiteral("10.0.0.7"), 0, true));
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
}
