#include "app/ULanguageWindows.h"

#include "comm_params/UParGen.h"
#include "mqtt_image/UBoot.h"
#include "mqtt_image/UMQTT_Set_Topic.h"
#include "protocols/building/UBACnetAccess.h"
#include "protocols/building/UBACnetSlaveSetAccess.h"
#include "protocols/building/UBACnet_Eng_Unit.h"
#include "protocols/building/UDALI_Access.h"
#include "protocols/building/UImportEDEFile.h"
#include "protocols/building/UKNXAccess.h"
#include "protocols/building/USNMPManagerAccess.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "protocols/fieldbus/UDMXDefVal.h"
#include "protocols/fieldbus/UDNet.h"
#include "protocols/fieldbus/UDefOffset.h"
#include "protocols/fieldbus/UModbus_TCP_Master_Set_Access.h"
#include "protocols/fieldbus/UProfinetFileName.h"
#include "protocols/fieldbus/UReceiveCAN.h"
#include "protocols/fieldbus/UReceiveJ1939.h"
#include "protocols/fieldbus/UReceiveNMEA.h"
#include "protocols/fieldbus/USetAccess.h"
#include "protocols/fieldbus/USet_PDO_Access.h"
#include "protocols/fieldbus/USet_SDO_Client_Access.h"
#include "protocols/fieldbus/USet_SDO_Server_Access.h"
#include "protocols/fieldbus/UTransmitCAN.h"
#include "protocols/fieldbus/UTransmitJ1939.h"
#include "protocols/fieldbus/UTransmitNMEA.h"
#include "protocols/mbus/UInsertKeyWireless.h"
#include "protocols/mbus/UMeter_Bus.h"
#include "protocols/mbus/UModbusStartAdd_SD.h"
#include "protocols/mbus/UNewIDNode.h"
#include "protocols/mbus/UScanDecode.h"
#include "protocols/mbus/UScanModbusStart.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USoftOptions.h"

const std::vector<std::type_index>& Language_Windows()
{
    // The information window and the second MQTT access window take no texts from the table; the
    // topic editor and the MQTT access tables keep the texts of their creation.
    static const std::vector<std::type_index> order = {
        typeid(TFNew_Project), typeid(TFOpenConf), typeid(TFSoftOptions), typeid(TFBoot), typeid(TFParGen),
        typeid(TFMQTT_Set_Topic), typeid(TFMeter_Bus), typeid(TFNewIDNode), typeid(TFSetAccess),
        typeid(TFModbus_TCP_Master_Set_Access), typeid(TFReceiveCAN), typeid(TFTransmitCAN),
        typeid(TFSet_PDO_Access), typeid(TFSet_SDO_Client_Access), typeid(TFSet_SDO_Server_Access),
        typeid(TFReceiveJ1939), typeid(TFTransmitJ1939), typeid(TFDNet), typeid(TFDefOffset), typeid(TFScanDecode),
        typeid(TFInsertKeyWireless), typeid(TFScanModbusStart), typeid(TFModbusStartAdd_SD),
        typeid(TFProfinetFileName), typeid(TFReceiveNMEA), typeid(TFTransmitNMEA), typeid(TFDMXDefVal),
        typeid(TFKNXAccess), typeid(TFSNMP_Trap_Access), typeid(TFSNMPManagerAccess),
        typeid(TFBACnetSlaveSetAccess), typeid(TFBACnet_Eng_Unit), typeid(TFDALI_Access), typeid(TFBACnetAccess),
        typeid(TFImportEDEFile)};
    return order;
}
