#include "protocols/fieldbus/UEds.h"

#include "platform/Exception.h"

void Write_EDS_File(const QString& FileName)
{
    (void)FileName;
    throw platform::Exception(QStringLiteral("The CANopen EDS file cannot be made by this version of the program."));
}
