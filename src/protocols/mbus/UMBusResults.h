#pragma once
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// What a scan finds: wired and wireless meters and their decoded data records.

enum class TScanType : uint8_t { saPrimaryAddress, saSecondaryAddress };
enum class TSelectHard : uint8_t { shEthernet, shSerial };
enum class TRadioModule : uint8_t { rmTelit, rmRadioCrafts };
enum class TMBusType : uint8_t { mtWired, mtWireless };

// One decoded data record.
struct TVariable_MBus {
    int32_t dato_A = 0;
    int32_t dato_B = 0;
    uint8_t dimension = 0;
    uint16_t function_fild = 0;
    int64_t storage_number = 0;
    uint16_t tarif = 0;
    uint16_t device = 0;
    uint16_t type_data = 0;
    uint16_t scale = 0;
    bool errata = false;
    QString sterror;
    int32_t nbyte = 0;
    QString descdim;
    int32_t numdife = 0;
    int32_t numvife = 0;
    int32_t vifvalue = -1;
    int32_t PrinVIFE = 0;
    uint8_t casovif = 0;
    int32_t numdato = 0;
    uint8_t VIF = 0;
    QString VIFE;
    QString DIF;
    QString DIFE;
    QString totdati;
    QString VIF_ASCII;
    QString Description;
    QString datagiorno;
    QString tempo;
    QString icon;
    int32_t Type_Data_Vife = 0;
    QString Desc_Type_Data;
    QString ValueStr;
    QString FunctionFieldStr;
    QString DataFieldStr;
    bool Enable = true;
    bool Real_Wireless_Var = false;
    bool Is_BCD = false;
};

using TList_Var = std::vector<std::unique_ptr<TVariable_MBus>>;

// One wired meter; it owns its records.
struct TSlave_MBus {
    uint16_t Primary_Addresss = 0;
    QString Secondary_Addresss;
    int32_t Manufacture = 0;
    int32_t Version = 0;
    int32_t Medium = 0;
    int32_t Status = 0;
    QString descManufacture;
    QString descmedium;
    QString description;
    // Whether the meter goes into a saved meter list (the scanner's check mark).
    bool Enable = true;
    TList_Var List_Var;
};

// One wireless meter, identified by its four application-layer fields; it owns its records.
struct TSlave_wMBus {
    uint8_t Message_Type = 0;
    uint16_t LLA_Manufacturer = 0;
    QString LLA_Manu_str;
    int32_t LLA_Address = 0;
    uint8_t LLA_Version = 0;
    uint8_t LLA_DeviceType = 0;
    uint16_t ALA_Manufacturer = 0;
    QString ALA_Manu_str;
    int32_t ALA_Address = 0;
    uint8_t ALA_Version = 0;
    uint8_t ALA_DeviceType = 0;
    int8_t RSSI = 0;
    QDateTime DateTime;
    bool Cripted = false;
    bool Enable = true;
    bool Enable_Key = false;
    std::array<uint8_t, 16> Key{};
    int32_t RadioCrafts_Ind_Tab_Decript = 0;
    TList_Var List_Var;

    // Frees the records from the last to the first.
    void Cancel_Var()
    {
        while (!List_Var.empty())
            List_Var.pop_back();
    }
};

using TList_Slave_MBus = std::vector<std::unique_ptr<TSlave_MBus>>;
using TList_Slave_wMBus = std::vector<std::unique_ptr<TSlave_wMBus>>;
