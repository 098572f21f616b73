#include "protocols/mbus/UScanResults.h"

#include "protocols/mbus/UMBusScanDecode.h"
#include "shell/ULanguage.h"

namespace {

QString Hex(uint32_t value, int digits) { return QString::number(value, 16).toUpper().rightJustified(digits, u'0'); }
QString Dec_Hex(uint8_t value) { return QString::number(value) + QStringLiteral(" (") + Hex(value, 2) + u')'; }

}  // namespace

std::unique_ptr<TSlave_MBus> Copy_Wired_Meter(const TSlave_MBus& meter)
{
    auto copy = std::make_unique<TSlave_MBus>();
    copy->Primary_Addresss = meter.Primary_Addresss;
    copy->Secondary_Addresss = meter.Secondary_Addresss;
    copy->Manufacture = meter.Manufacture;
    copy->Version = meter.Version;
    copy->Medium = meter.Medium;
    copy->Status = meter.Status;
    copy->descManufacture = meter.descManufacture;
    copy->descmedium = meter.descmedium;
    copy->description = meter.description;
    copy->Enable = meter.Enable;
    copy->List_Var.reserve(meter.List_Var.size());
    for (const auto& var : meter.List_Var)
        copy->List_Var.push_back(std::make_unique<TVariable_MBus>(*var));
    return copy;
}

TList_Slave_MBus Snapshot_Wired(const TMBusScanDecode& engine)
{
    std::lock_guard lock(engine.List_Mutex);
    TList_Slave_MBus copy;
    copy.reserve(engine.List_Slave_MBus.size());
    for (const auto& m : engine.List_Slave_MBus)
        copy.push_back(Copy_Wired_Meter(*m));
    return copy;
}

TList_Slave_wMBus Snapshot_Wireless(const TMBusScanDecode& engine)
{
    std::lock_guard lock(engine.List_Mutex);
    TList_Slave_wMBus copy;
    copy.reserve(engine.List_Slave_wMBus.size());
    for (const auto& m : engine.List_Slave_wMBus)
        copy.push_back(Copy_Wireless_Meter(*m));
    return copy;
}

std::unique_ptr<TSlave_wMBus> Snapshot_Wireless_Meter(const TMBusScanDecode& engine, int index)
{
    std::lock_guard lock(engine.List_Mutex);
    if (index < 0 || size_t(index) >= engine.List_Slave_wMBus.size())
        return nullptr;
    return Copy_Wireless_Meter(*engine.List_Slave_wMBus[size_t(index)]);
}

bool TScanMarks::Checked(int meter, int position) const
{
    const auto it = FMarks.find({meter, position});
    return it == FMarks.end() || it->second;
}

void TScanMarks::Set(int meter, int position, bool checked) { FMarks[{meter, position}] = checked; }

namespace {

template <typename List>
void Apply_Marks(const TScanMarks& marks, List& meters)
{
    for (size_t p = 0; p < meters.size(); ++p) {
        auto& m = *meters[p];
        m.Enable = m.Enable && marks.Checked(int(p));
        for (size_t i = 0; i < m.List_Var.size(); ++i)
            m.List_Var[i]->Enable = m.List_Var[i]->Enable && marks.Checked(int(p), int(i));
    }
}

}  // namespace

void TScanMarks::Apply(TList_Slave_MBus& meters) const { Apply_Marks(*this, meters); }
void TScanMarks::Apply(TList_Slave_wMBus& meters) const { Apply_Marks(*this, meters); }

bool Save_Scan_Result(const TMBusScanDecode& engine, TMBusType kind, const TSaveConfXML& DataIn, bool Check_BCD,
                      const TScanMarks& marks)
{
    if (kind == TMBusType::mtWireless) {
        TList_Slave_wMBus meters = Snapshot_Wireless(engine);
        marks.Apply(meters);
        return Save_XML_Conf_Wireless(meters, DataIn, Check_BCD);
    }
    TList_Slave_MBus meters = Snapshot_Wired(engine);
    marks.Apply(meters);
    return Save_XML_Conf_Wired(meters, DataIn, Check_BCD);
}

QString Wired_Meter_Text(const TSlave_MBus& m)
{
    return QStringLiteral("Primary Address = %1 - Secondary Address = %2 - Manufacturer = %3(%4) - Version = %5 - Type = %6")
        .arg(m.Primary_Addresss)
        .arg(m.Secondary_Addresss, m.descManufacture)
        .arg(m.Manufacture)
        .arg(m.Version)
        .arg(m.Medium);
}

QString Record_Text(const TVariable_MBus& v)
{
    return QStringLiteral("Value = ") + v.ValueStr + QStringLiteral(" - Type = ") + v.Desc_Type_Data +
           QStringLiteral(" (U%1S%2T%3)").arg(int(v.device)).arg(qlonglong(v.storage_number)).arg(int(v.tarif));
}

QString Record_Detail_Text(const TVariable_MBus& v, int index)
{
    switch (index) {
    case 0: return QStringLiteral("Storage Number = ") + QString::number(v.storage_number);
    case 1: return QStringLiteral("Tariff = ") + QString::number(v.tarif);
    case 2: return QStringLiteral("Unit = ") + QString::number(v.device);
    case 3: return QStringLiteral("Data Field = ") + v.DataFieldStr;
    case 4: return QStringLiteral("Function Field = ") + v.FunctionFieldStr;
    case 5: return QStringLiteral("Type = ") + v.Desc_Type_Data;
    case 6: return QStringLiteral("Value = ") + v.ValueStr;
    case 7: return QStringLiteral("DIF = ") + v.DIF;
    case 8: return QStringLiteral("VIF = $") + Hex(v.VIF, 2);
    case 9: return QStringLiteral("DIFE = ") + v.DIFE;
    case 10: return QStringLiteral("VIFE = ") + v.VIFE;
    case 11: return QStringLiteral("DATA = $") + v.totdati;
    default: return {};
    }
}

QString Wireless_Meter_Text(const TSlave_wMBus& m)
{
    return QStringLiteral("Manufacturer = %1 - Address = %2 - Version = %3 - Device Type = %4 - %5")
        .arg(m.ALA_Manu_str, Hex(uint32_t(m.ALA_Address), 8))
        .arg(m.ALA_Version)
        .arg(m.ALA_DeviceType)
        .arg(m.Cripted ? QStringLiteral("CRIPTED!!") : QString());
}

QString Wireless_Record_Text(const TVariable_MBus& v)
{
    return v.Real_Wireless_Var ? Record_Text(v) : QStringLiteral("Idle Filler");
}

std::optional<QString> Progress_Line(int Event, int Id, int Found, int Kind)
{
    switch (Event) {
    case 1:
        if (Kind != 1)
            return shell::Lang(3327);
        return std::nullopt;
    case 2:
        if (Kind == 1)
            return QStringLiteral("ID = ") + QString::number(Id) + u'\t' + (Found == 0 ? Not_Found_Mark : QString());
        return QStringLiteral("ID = ") + Hex(uint32_t(Id), 8);
    case 3:
        if (Kind != 1)
            return shell::Lang(3328);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

TWirelessRow Wireless_Row(int index, const TSlave_wMBus& m)
{
    TWirelessRow r;
    r.Index = index;
    r.Message_Type = m.Message_Type;
    r.LLA_Manu_str = m.LLA_Manu_str;
    r.ALA_Manu_str = m.ALA_Manu_str;
    r.LLA_Manufacturer = m.LLA_Manufacturer;
    r.ALA_Manufacturer = m.ALA_Manufacturer;
    r.LLA_Address = uint32_t(m.LLA_Address);
    r.ALA_Address = uint32_t(m.ALA_Address);
    r.LLA_Version = m.LLA_Version;
    r.LLA_DeviceType = m.LLA_DeviceType;
    r.ALA_Version = m.ALA_Version;
    r.ALA_DeviceType = m.ALA_DeviceType;
    r.RSSI = m.RSSI;
    r.DateTime = m.DateTime;
    r.Cripted = m.Cripted;
    return r;
}

QStringList Wireless_Row_Texts(const TWirelessRow& r, const QLocale& locale)
{
    return {QString::number(r.Index + 1),
            locale.toString(r.DateTime, QLocale::ShortFormat),
            QStringLiteral("0x") + Hex(r.Message_Type, 2),
            r.LLA_Manu_str + u'(' + Hex(r.LLA_Manufacturer, 4) + u')',
            Hex(r.LLA_Address, 8),
            Dec_Hex(r.LLA_Version),
            Dec_Hex(r.LLA_DeviceType),
            r.ALA_Manu_str + u'(' + Hex(r.ALA_Manufacturer, 4) + u')',
            Hex(r.ALA_Address, 8),
            Dec_Hex(r.ALA_Version),
            Dec_Hex(r.ALA_DeviceType),
            QString::number(int(r.RSSI))};
}
