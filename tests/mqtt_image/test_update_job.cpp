#include "platform/Exception.h"
#include "platform/XmlDoc.h"
#include "support/TempDir.h"
#include "mqtt_image/UUpdateJob.h"

#include <QFile>
#include <gtest/gtest.h>
#include <vector>

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

enum Operation_Kind { Firmware_Operation, Bank1_Operation, Bank2_Operation };

struct JobCase {
    const char* Golden;
    const char* Ip;
    int Option;
    bool ReadBack;
    std::vector<Operation_Kind> Operations;
};

// The elements of an operation in their order, with the value for each kind; a null value is the
// one the job decides (file name, read-back, going to the application after the last operation).
struct Operation_Field {
    const char* Name;
    const char* Value[3];
};
const Operation_Field Operation_Fields[] = {
    {"Ope_Protection_Enabled", {"", "", ""}},
    {"Ope_GoToBoot_Before", {"0", "0", "0"}},
    {"Ope_GoToApp_Before", {"0", "0", "0"}},
    {"Ope_IP_Address", {"", "", ""}},
    {"Ope_Port", {"2008", "2008", "2008"}},
    {"Ope_Port_Sec", {"2007", "2007", "2007"}},
    {"Ope_Erase_Memory", {"0", "0", "0"}},
    {"Ope_FileName", {nullptr, nullptr, nullptr}},
    {"Ope_Start_Address", {"0x8000", "0x07000", "0x80000"}},
    {"Ope_Memory_Type", {"0", "0", "0"}},
    {"Ope_Bank_Type", {"1", "2", "2"}},
    {"Ope_Read_Back", {nullptr, nullptr, nullptr}},
    {"Ope_Write_CSS", {"1", "0", "0"}},
    {"Ope_Address_CSS", {"0x07A00", "0x07A00", "0x07A00"}},
    {"Ope_Command_CSS", {"0x02", "0x02", "0x02"}},
    {"Ope_Write_Internal_Data", {"0", "0", "0"}},
    {"Ope_WID_Address", {"0x07810", "0x07810", "0x07810"}},
    {"Ope_WID_Command", {"0x02", "0x02", "0x02"}},
    {"Ope_WID_Data", {"0x00, 0x00, 0x00, 0x01", "0x00, 0x00, 0x00, 0x01", "0x00, 0x00, 0x00, 0x01"}},
    {"Ope_GoToApp_After", {nullptr, nullptr, nullptr}},
};

std::vector<QString> ChildNames(const platform::XmlNode& node)
{
    std::vector<QString> names;
    for (const platform::XmlNode& child : node.ChildNodes())
        names.push_back(child.NodeName());
    return names;
}

// The job read back element by element against the file's description.
void CheckJob(const JobCase& c, const QByteArray& bytes)
{
    platform::XmlDocument doc;
    doc.LoadFromBytes(bytes);
    const platform::XmlNode root = doc.DocumentElement();
    EXPECT_FALSE(bytes.startsWith("<?xml"));
    EXPECT_EQ(root.NodeName().toStdString(), "Ethernet_Update");
    EXPECT_EQ(ChildNames(root), (std::vector<QString>{"Version", "Title", "IP_Address_Dev", "Application_Port",
                                                      "Boot_Port", "Boot_Port_Sec", "Address_Protection",
                                                      "Protections", "Operations"}));
    const std::pair<const char*, QString> header[] = {
        {"Version", "1000"},       {"Title", mqtt_image::Job_Title}, {"IP_Address_Dev", c.Ip},
        {"Application_Port", "10000"}, {"Boot_Port", "2008"},        {"Boot_Port_Sec", "2007"},
        {"Address_Protection", "0x07800"}};
    for (const auto& [name, value] : header)
        EXPECT_EQ(root.ChildByName(name).Text().toStdString(), value.toStdString()) << name;
    QStringList protections;
    for (const platform::XmlNode& p : root.ChildByName("Protections").ChildNodes())
        protections << p.NodeName() + "=" + p.Text();
    EXPECT_EQ(protections, (QStringList{"Protection=0x1BA", "Protection=0x291", "Protection=0x445"}));

    const Update_Job job = DemoJob(c.Ip, c.Option, c.ReadBack);
    const QString files[3] = {job.Master_Folder + "/" + mqtt_image::Firmware_Image_Name,
                              job.Project_Folder + "/bin/bank1.bin", job.Project_Folder + "/bin/bank2.bin"};
    const std::vector<platform::XmlNode> operations = root.ChildByName("Operations").ChildNodes();
    ASSERT_EQ(operations.size(), c.Operations.size());
    for (size_t i = 0; i < operations.size(); ++i) {
        SCOPED_TRACE(i);
        const Operation_Kind kind = c.Operations[i];
        const bool last = i + 1 == operations.size();
        EXPECT_EQ(operations[i].NodeName(), QStringLiteral("Operation"));
        const std::vector<platform::XmlNode> fields = operations[i].ChildNodes();
        ASSERT_EQ(fields.size(), std::size(Operation_Fields));
        for (size_t f = 0; f < fields.size(); ++f) {
            const Operation_Field& field = Operation_Fields[f];
            const QString name = QString::fromLatin1(field.Name);
            QString expected = QString::fromLatin1(field.Value[kind]);
            if (name == "Ope_FileName")
                expected = files[kind];
            else if (name == "Ope_Read_Back")
                expected = c.ReadBack ? "1" : "0";
            else if (name == "Ope_GoToApp_After")
                expected = last ? "1" : "0";
            EXPECT_EQ(fields[f].NodeName().toStdString(), name.toStdString());
            EXPECT_EQ(fields[f].Text().toStdString(), expected.toStdString()) << field.Name;
        }
    }
}

void PrintTo(const JobCase& c, std::ostream* os) { *os << c.Golden; }

class UpdateJobGolden : public ::testing::TestWithParam<JobCase> {};

}  // namespace

// Byte-exact against hand-written files, and element by element against the file's description:
// element order, the three operation kinds, read-back and "go to application" only on the last
// operation.
TEST_P(UpdateJobGolden, MatchesGoldenFile)
{
    const JobCase& c = GetParam();
    const QByteArray golden = ReadGolden(QString::fromLatin1(c.Golden));
    ASSERT_FALSE(golden.isEmpty()) << c.Golden;
    const QByteArray bytes = mqtt_image::Update_Job_Bytes(DemoJob(QString::fromLatin1(c.Ip), c.Option, c.ReadBack));
    CheckJob(c, bytes);
    EXPECT_EQ(bytes.toStdString(), golden.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Options, UpdateJobGolden,
                         ::testing::Values(JobCase{"job_option0_readback.xml", "192.168.2.205", 0, true,
                                                   {Firmware_Operation, Bank1_Operation, Bank2_Operation}},
                                           JobCase{"job_option1_no_readback.xml", "10.0.0.7", 1, false,
                                                   {Firmware_Operation}},
                                           JobCase{"job_option2_readback.xml", "172.16.254.1", 2, true,
                                                   {Bank1_Operation, Bank2_Operation}}),
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
