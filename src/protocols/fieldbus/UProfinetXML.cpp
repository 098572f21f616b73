#include "protocols/fieldbus/UProfinetXML.h"

#include "platform/Exception.h"

void Save_PROFINET_XML(const QString& Name_File_XML)
{
    (void)Name_File_XML;
    throw platform::Exception(QStringLiteral("The PROFINET GSDML file cannot be made by this version of the program."));
}
