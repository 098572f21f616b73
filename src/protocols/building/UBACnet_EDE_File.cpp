#include "protocols/building/UBACnet_EDE_File.h"

#include "platform/Exception.h"

void Write_EDE_File(const QString& FileName)
{
    (void)FileName;
    throw platform::Exception(QStringLiteral("The BACnet EDE file cannot be made by this version of the program."));
}
