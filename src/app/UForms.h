#pragma once
#include "platform/TForm.h"

#include "shell/UAbout.h"
#include "protocols/building/UBACnetAccess.h"
#include "protocols/building/UBACnetSlaveSetAccess.h"
#include "protocols/building/UBACnet_EDE_File.h"
#include "protocols/building/UBACnet_Eng_Unit.h"
#include "mqtt_image/UBoot.h"
#include "protocols/building/UDALI_Access.h"
#include "protocols/fieldbus/UDMXDefVal.h"
#include "protocols/fieldbus/UDNet.h"
#include "protocols/fieldbus/UDefOffset.h"
#include "protocols/fieldbus/UEds.h"
#include "protocols/building/UImportEDEFile.h"
#include "protocols/mbus/UInsertKeyWireless.h"
#include "protocols/building/UKNXAccess.h"
#include "protocols/fieldbus/UMQTT_SetAccess_Eth.h"
#include "protocols/fieldbus/UMQTT_Set_Access.h"
#include "mqtt_image/UMQTT_Set_Topic.h"
#include "protocols/mbus/UMeter_Bus.h"
#include "protocols/mbus/UModbusStartAdd_SD.h"
#include "protocols/fieldbus/UModbus_TCP_Master_Set_Access.h"
#include "protocols/mbus/UNewIDNode.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "comm_params/UParGen.h"
#include "protocols/fieldbus/UProfibus_GSD.h"
#include "protocols/fieldbus/UProfinetFileName.h"
#include "protocols/fieldbus/UProfinetXML.h"
#include "protocols/fieldbus/UReceiveCAN.h"
#include "protocols/fieldbus/UReceiveJ1939.h"
#include "protocols/fieldbus/UReceiveNMEA.h"
#include "protocols/building/USNMPManagerAccess.h"
#include "protocols/building/USNMP_MIB.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "mqtt_image/USaveBincc.h"
#include "protocols/mbus/UScanDecode.h"
#include "protocols/mbus/UScanModbusStart.h"
#include "protocols/fieldbus/USetAccess.h"
#include "protocols/fieldbus/USet_PDO_Access.h"
#include "protocols/fieldbus/USet_SDO_Client_Access.h"
#include "protocols/fieldbus/USet_SDO_Server_Access.h"
#include "shell/USoftOptions.h"
#include "mqtt_image/UTopicTemplate.h"
#include "protocols/fieldbus/UTransmitCAN.h"
#include "protocols/fieldbus/UTransmitJ1939.h"
#include "protocols/fieldbus/UTransmitNMEA.h"
#include "shell/UVersionCheck.h"

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
