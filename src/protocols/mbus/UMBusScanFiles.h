#pragma once
#include "protocols/mbus/UMBusResults.h"

#include <QString>

#include <vector>

// The options of one meter-list save of scan results.
struct TSaveConfXML {
    int Append = 0;
    int XML_Code_Dev = 18;
    int Mod_Start = 1;
    int Index_Baud = 0;
    int Index_Par = 0;
    int Node_ID_Type = 0;
    int SND_NKE = 0;
    int Reset_App = 0;
    int Cut_After = 0;
    int StartModnode = 0;
    std::vector<int> SMN_Array;
    bool En_NodeState = false;
    bool En_IdeNum = false;
    QString File_Name;
};

// Meter lists in the scan dialect (root "M-Bus_Network"), written whole or appended to an
// existing list. False, writing nothing, when the list is empty; a file that cannot be read or
// written throws platform::Exception and is left as it was.
bool Save_XML_Conf_Wired(const TList_Slave_MBus& meters, const TSaveConfXML& DataIn, bool Check_BCD);
bool Save_XML_Conf_Wireless(const TList_Slave_wMBus& meters, const TSaveConfXML& DataIn, bool Check_BCD);

// Scan reports: every meter and every record.
void Save_XML_File_DLL(const TList_Slave_MBus& meters, const QString& path);
void Save_Wireless_XML_File_DLL(const TList_Slave_wMBus& meters, const QString& path);

// The "Dim" code and the number of registers a record's value takes, from its data-field code.
struct TRegisterSpan {
    int Dim;
    int Registers;
};
TRegisterSpan Register_Span(int data_field, int nbyte);
