#include "UProfibus_GSD.h"

#include "Exception.h"

void Save_GSD_File()
{
    throw platform::Exception(QStringLiteral("The PROFIBUS GSD file cannot be made by this version of the program."));
}
