#include "app/UForms.h"

#include "app/UDidudiredadFirmWare.h"

namespace {
template <typename T>
void create(Application_Forms& forms, T*& instance)
{
    auto window = std::make_unique<T>();
    instance = window.get();
    forms.Windows.push_back(std::move(window));
    forms.Instance_Resets.push_back([&instance] { instance = nullptr; });
}
}  // namespace

Application_Forms::~Application_Forms()
{
    // Windows go in reverse order of creation, and the instance pointers with them.
    while (!Windows.empty())
        Windows.pop_back();
    for (const auto& reset : Instance_Resets)
        reset();
}

Application_Forms Create_Application_Forms()
{
    Application_Forms forms;
    create(forms, FDidudiredadFirmWare);
    create(forms, FParGen);
    create(forms, FNew_Project);
    create(forms, FOpenConf);
    create(forms, FAbout);
    create(forms, FSoftOptions);
    create(forms, FMQTT_Set_Topic);
    create(forms, FMeter_Bus);
    create(forms, FNewIDNode);
    create(forms, FBoot);
    create(forms, FSetAccess);
    create(forms, FMQTT_Set_Access);
    create(forms, FMQTT_SetAccess_Eth);
    create(forms, FTopicTemplate);
    create(forms, FModbus_TCP_Master_Set_Access);
    create(forms, FReceiveCAN);
    create(forms, FTransmitCAN);
    create(forms, FSet_PDO_Access);
    create(forms, FSet_SDO_Client_Access);
    create(forms, FSet_SDO_Server_Access);
    create(forms, FReceiveJ1939);
    create(forms, FTransmitJ1939);
    create(forms, FDNet);
    create(forms, FDefOffset);
    create(forms, FScanDecode);
    create(forms, FInsertKeyWireless);
    create(forms, FScanModbusStart);
    create(forms, FModbusStartAdd_SD);
    create(forms, FProfinetFileName);
    create(forms, FReceiveNMEA);
    create(forms, FTransmitNMEA);
    create(forms, FDMXDefVal);
    create(forms, FKNXAccess);
    create(forms, FSNMP_Trap_Access);
    create(forms, FSNMPManagerAccess);
    create(forms, FBACnetSlaveSetAccess);
    create(forms, FBACnet_Eng_Unit);
    create(forms, FDALI_Access);
    create(forms, FBACnetAccess);
    create(forms, FImportEDEFile);

    FSoftOptions->On_Language_Changed = [] { FDidudiredadFirmWare->Change_Language(); };
    FDidudiredadFirmWare->Set_Language_Windows({
        FDidudiredadFirmWare, FNew_Project, FOpenConf, FSoftOptions, FBoot, FParGen, FMQTT_Set_Topic, FMeter_Bus,
        FNewIDNode, FSetAccess, FModbus_TCP_Master_Set_Access, FReceiveCAN, FTransmitCAN, FSet_PDO_Access,
        FSet_SDO_Client_Access, FSet_SDO_Server_Access, FReceiveJ1939, FTransmitJ1939, FDNet, FDefOffset,
        FScanDecode, FInsertKeyWireless, FScanModbusStart, FModbusStartAdd_SD, FProfinetFileName, FReceiveNMEA,
        FTransmitNMEA, FDMXDefVal, FKNXAccess, FSNMP_Trap_Access, FSNMPManagerAccess, FBACnetSlaveSetAccess,
        FBACnet_Eng_Unit, FDALI_Access, FBACnetAccess, FImportEDEFile});
    return forms;
}

void Show_Main_Form(Application_Forms& forms)
{
    forms.Windows.front()->show();
}
