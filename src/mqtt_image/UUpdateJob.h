#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The job file that tells the external updater what to write into the gateway.
namespace mqtt_image {

// The product's firmware image in the MASTER folder and the title the job carries. Kept here, in
// one place, so that the README and the MASTER folder can follow them.
inline const QString Firmware_Image_Name = QStringLiteral("MQ00718.sim");
inline const QString Job_Title = QStringLiteral("MQTT Client / Modbus TCP Slave Configurator");

// File name of the job, written in the program folder.
inline const QString Update_Job_File_Name = QStringLiteral("Ethernet_Update.xml");

// What the update writes; the values are the option list's item indices.
enum Update_Option_Kind : int {
    Update_Firmware_And_Configuration = 0,
    Update_Firmware_Only = 1,
    Update_Configuration_Only = 2,
};

struct Update_Job {
    QString IP_Address;      // dotted decimal
    int Option = Update_Firmware_And_Configuration;
    bool Read_Back = true;
    QString Master_Folder;   // holds the firmware image
    QString Project_Folder;  // holds bin/bank1.bin and bin/bank2.bin
};

// The files the job's operations name, in the order the updater writes them. Throws
// platform::Exception for an option outside 0..2.
QStringList Update_Job_Files(const Update_Job& job);

// The job document as the updater reads it: no declaration, no version comment.
QByteArray Update_Job_Bytes(const Update_Job& job);

// Replaces the job file at path as a whole; throws platform::Exception naming the file on failure.
void Write_Update_Job(const QString& path, const Update_Job& job);

}  // namespace mqtt_image
