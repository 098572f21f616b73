#pragma once
#include "TForm.h"

#include "UAbout.h"
#include "UBACnetAccess.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_EDE_File.h"
#include "UBACnet_Eng_Unit.h"
#include "UBoot.h"
#include "UDALI_Access.h"
#include "UDMXDefVal.h"
#include "UDNet.h"
#include "UDefOffset.h"
#include "UEds.h"
#include "UImportEDEFile.h"
#include "UInsertKeyWireless.h"
#include "UKNXAccess.h"
#include "UMQTT_SetAccess_Eth.h"
#include "UMQTT_Set_Access.h"
#include "UMQTT_Set_Topic.h"
#include "UMeter_Bus.h"
#include "UModbusStartAdd_SD.h"
#include "UModbus_TCP_Master_Set_Access.h"
#include "UNewIDNode.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfibus_GSD.h"
#include "UProfinetFileName.h"
#include "UProfinetXML.h"
#include "UReceiveCAN.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "USNMPManagerAccess.h"
#include "USNMP_MIB.h"
#include "USNMP_Trap_Access.h"
#include "USaveBincc.h"
#include "UScanDecode.h"
#include "UScanModbusStart.h"
#include "USetAccess.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "USoftOptions.h"
#include "UTopicTemplate.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "UVersionCheck.h"

#include <functional>
#include <memory>
#include <vector>

// Every window of the program, created once at start in a fixed order; the first is the main
// window. The windows live as long as this object.
struct Application_Forms {
    std::vector<std::unique_ptr<platform::TForm>> Windows;
    // Clear the global instance pointers once the windows are gone.
    std::vector<std::function<void()>> Instance_Resets;
    Application_Forms() = default;
    Application_Forms(Application_Forms&&) = default;
    Application_Forms& operator=(Application_Forms&&) = default;
    ~Application_Forms();
};

Application_Forms Create_Application_Forms();
void Show_Main_Form(Application_Forms& forms);
