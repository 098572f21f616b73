#include "mqtt_image/UUpdateJob.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"

#include <vector>

namespace mqtt_image {
namespace {

// One memory area the updater writes; the values that differ between the three kinds.
struct Operation_Kind {
    QString FileName;
    const char* Start_Address;
    const char* Bank_Type;
    const char* Write_CSS;
};

std::vector<Operation_Kind> Operations_Of(const Update_Job& job)
{
    const Operation_Kind firmware{platform::JoinPath(job.Master_Folder, Firmware_Image_Name), "0x8000", "1", "1"};
    const Operation_Kind bank1{platform::JoinPath(job.Project_Folder, QStringLiteral("bin/bank1.bin")), "0x07000", "2",
                               "0"};
    const Operation_Kind bank2{platform::JoinPath(job.Project_Folder, QStringLiteral("bin/bank2.bin")), "0x80000", "2",
                               "0"};
    switch (job.Option) {
    case Update_Firmware_And_Configuration: return {firmware, bank1, bank2};
    case Update_Firmware_Only: return {firmware};
    case Update_Configuration_Only: return {bank1, bank2};
    }
    throw platform::Exception(QStringLiteral("Unknown update option %1").arg(job.Option));
}

void Add(platform::XmlNode parent, const char* name, const QString& text)
{
    platform::XmlNode node = parent.AddChild(QString::fromLatin1(name));
    if (!text.isEmpty())
        node.SetText(text);
}

void Add(platform::XmlNode parent, const char* name, const char* text)
{
    Add(parent, name, QString::fromLatin1(text));
}

}  // namespace

QStringList Update_Job_Files(const Update_Job& job)
{
    QStringList files;
    for (const Operation_Kind& op : Operations_Of(job))
        files << op.FileName;
    return files;
}

QByteArray Update_Job_Bytes(const Update_Job& job)
{
    const std::vector<Operation_Kind> operations = Operations_Of(job);

    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(QStringLiteral("Ethernet_Update"));
    Add(root, "Version", "1000");
    Add(root, "Title", Job_Title);
    Add(root, "IP_Address_Dev", job.IP_Address);
    Add(root, "Application_Port", "10000");
    Add(root, "Boot_Port", "2008");
    Add(root, "Boot_Port_Sec", "2007");
    Add(root, "Address_Protection", "0x07800");
    platform::XmlNode protections = root.AddChild(QStringLiteral("Protections"));
    for (const char* value : {"0x1BA", "0x291", "0x445"})
        Add(protections, "Protection", value);

    platform::XmlNode list = root.AddChild(QStringLiteral("Operations"));
    for (std::size_t i = 0; i < operations.size(); ++i) {
        const Operation_Kind& kind = operations[i];
        // Only the last area sends the gateway back to its application.
        const bool last = i + 1 == operations.size();
        platform::XmlNode op = list.AddChild(QStringLiteral("Operation"));
        Add(op, "Ope_Protection_Enabled", "");
        Add(op, "Ope_GoToBoot_Before", "0");
        Add(op, "Ope_GoToApp_Before", "0");
        Add(op, "Ope_IP_Address", "");
        Add(op, "Ope_Port", "2008");
        Add(op, "Ope_Port_Sec", "2007");
        Add(op, "Ope_Erase_Memory", "0");
        Add(op, "Ope_FileName", kind.FileName);
        Add(op, "Ope_Start_Address", kind.Start_Address);
        Add(op, "Ope_Memory_Type", "0");
        Add(op, "Ope_Bank_Type", kind.Bank_Type);
        Add(op, "Ope_Read_Back", job.Read_Back ? "1" : "0");
        Add(op, "Ope_Write_CSS", kind.Write_CSS);
        Add(op, "Ope_Address_CSS", "0x07A00");
        Add(op, "Ope_Command_CSS", "0x02");
        Add(op, "Ope_Write_Internal_Data", "0");
        Add(op, "Ope_WID_Address", "0x07810");
        Add(op, "Ope_WID_Command", "0x02");
        Add(op, "Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
        Add(op, "Ope_GoToApp_After", last ? "1" : "0");
    }
    return doc.SaveToBytes();
}

void Write_Update_Job(const QString& path, const Update_Job& job)
{
    platform::WriteFileAtomic(path, Update_Job_Bytes(job));
}

}  // namespace mqtt_image
