#include "protocols/fieldbus/UProfibus_GSD.h"

#include "platform/Exception.h"

void Save_GSD_File()
{
    throw platform::Exception(QStringLiteral("The PROFIBUS GSD file cannot be made by this version of the program."));
}
