#include "protocols/building/USNMP_MIB.h"

#include "platform/Exception.h"

void Save_MIB_File()
{
    throw platform::Exception(QStringLiteral("The SNMP MIB file cannot be made by this version of the program."));
}
