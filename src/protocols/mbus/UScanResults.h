#pragma once
#include "protocols/mbus/UMBusResults.h"
#include "protocols/mbus/UMBusScanFiles.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <utility>

class TMBusScanDecode;

// What the scanner shows of the engine's results and what it saves of them. The views never hold
// the engine's own objects: they work on copies taken under the engine's lock, and the user's
// check marks live here, keyed by meter index and record position, so that a record replaced by
// the next telegram of its meter keeps its mark.

// Deep copies of the engine's result lists, taken under its lock.
TList_Slave_MBus Snapshot_Wired(const TMBusScanDecode& engine);
TList_Slave_wMBus Snapshot_Wireless(const TMBusScanDecode& engine);
// One wireless meter, or null when the index names none.
std::unique_ptr<TSlave_wMBus> Snapshot_Wireless_Meter(const TMBusScanDecode& engine, int index);
std::unique_ptr<TSlave_MBus> Copy_Wired_Meter(const TSlave_MBus& meter);

// The user's check marks on meters and records; anything not marked counts as checked.
class TScanMarks {
public:
    static constexpr int Whole_Meter = -1;
    bool Checked(int meter, int position = Whole_Meter) const;
    void Set(int meter, int position, bool checked);
    void Clear() { FMarks.clear(); }
    bool Empty() const { return FMarks.empty(); }
    // Copies the marks into the Enable fields of a snapshot.
    void Apply(TList_Slave_MBus& meters) const;
    void Apply(TList_Slave_wMBus& meters) const;

private:
    std::map<std::pair<int, int>, bool> FMarks;
};

// The one road from the engine's results to a meter list file, for the scanner window and the
// command-line scanner alike: copies taken under the engine's lock, the marks applied, then the
// meter-list writer. False when there is no meter to write.
bool Save_Scan_Result(const TMBusScanDecode& engine, TMBusType kind, const TSaveConfXML& DataIn, bool Check_BCD,
                      const TScanMarks& marks = {});

// Texts of the result trees: a wired meter, a record, and the twelve detail lines of a record.
inline constexpr int Record_Detail_Count = 12;
QString Wired_Meter_Text(const TSlave_MBus& m);
QString Record_Text(const TVariable_MBus& v);
QString Record_Detail_Text(const TVariable_MBus& v, int index);
QString Wireless_Meter_Text(const TSlave_wMBus& m);
QString Wireless_Record_Text(const TVariable_MBus& v);

// A progress line of a wired scan, or nothing for the events that add none.
std::optional<QString> Progress_Line(int Event, int Id, int Found, int Kind);
inline const QString Not_Found_Mark = QStringLiteral("[NOT FOUND]");

// What one row of the wireless table shows of a meter: a copy small enough to take per telegram.
struct TWirelessRow {
    int Index = -1;
    uint8_t Message_Type = 0;
    QString LLA_Manu_str, ALA_Manu_str;
    uint16_t LLA_Manufacturer = 0, ALA_Manufacturer = 0;
    uint32_t LLA_Address = 0, ALA_Address = 0;
    uint8_t LLA_Version = 0, LLA_DeviceType = 0, ALA_Version = 0, ALA_DeviceType = 0;
    int8_t RSSI = 0;
    QDateTime DateTime;
    bool Cripted = false;
};
TWirelessRow Wireless_Row(int index, const TSlave_wMBus& m);
// Columns 0 to 11 of the row (column 12 holds the picture only).
QStringList Wireless_Row_Texts(const TWirelessRow& row, const QLocale& locale = QLocale());
inline constexpr int Wireless_Columns = 13;
