#include "protocols/mbus/UMBusScanDecode.h"

#include "platform/Clock.h"
#include "protocols/mbus/UMBusScanFiles.h"

#include <QMetaObject>

#include <chrono>
#include <cmath>

namespace {

using Bytes = std::vector<uint8_t>;

QByteArray Lfcr(const char* text) { return QByteArray("\n\r") + text + "\n\r"; }

bool Is_E5(const Bytes& answer) { return answer.size() == 1 && answer[0] == 0xE5; }

// A long frame whose length fields agree with its size: a meter's answer that carries its header
// and no records is 21 bytes long and still a whole answer.
bool Is_Whole_Long_Frame(const Bytes& frame)
{
    if (frame.size() < 21 || frame[0] != 0x68 || frame[3] != 0x68 || frame[1] != frame[2] ||
        size_t(frame[1]) + 6 != frame.size() || frame.back() != 0x16)
        return false;
    uint8_t sum = 0;
    for (size_t i = 4; i + 2 < frame.size(); ++i)
        sum = uint8_t(sum + frame[i]);
    return sum == frame[frame.size() - 2];
}

bool Is_Answer_Frame(const Bytes& frame) { return Is_Valid_RSP_UD(frame) || Is_Whole_Long_Frame(frame); }

uint8_t Sum(const Bytes& bytes, size_t from, size_t to)
{
    uint8_t sum = 0;
    for (size_t i = from; i <= to; ++i)
        sum = uint8_t(sum + bytes[i]);
    return sum;
}

constexpr int Answer_Queue_Limit = 64;

}  // namespace

bool Answer_Is(const std::vector<uint8_t>& answer, const QByteArray& text)
{
    return answer.size() == size_t(text.size()) && std::equal(answer.begin(), answer.end(), text.begin(),
                                                             [](uint8_t a, char b) { return a == uint8_t(b); });
}


// Lives on the thread that created the engine; queued calls to it run there in order.
class TMBusScanDecode::Notifier : public QObject {};

std::unique_ptr<TSlave_wMBus> Copy_Wireless_Meter(const TSlave_wMBus& meter)
{
    auto copy = std::make_unique<TSlave_wMBus>();
    copy->Message_Type = meter.Message_Type;
    copy->LLA_Manufacturer = meter.LLA_Manufacturer;
    copy->LLA_Manu_str = meter.LLA_Manu_str;
    copy->LLA_Address = meter.LLA_Address;
    copy->LLA_Version = meter.LLA_Version;
    copy->LLA_DeviceType = meter.LLA_DeviceType;
    copy->ALA_Manufacturer = meter.ALA_Manufacturer;
    copy->ALA_Manu_str = meter.ALA_Manu_str;
    copy->ALA_Address = meter.ALA_Address;
    copy->ALA_Version = meter.ALA_Version;
    copy->ALA_DeviceType = meter.ALA_DeviceType;
    copy->RSSI = meter.RSSI;
    copy->DateTime = meter.DateTime;
    copy->Cripted = meter.Cripted;
    copy->Enable = meter.Enable;
    copy->Enable_Key = meter.Enable_Key;
    copy->Key = meter.Key;
    copy->RadioCrafts_Ind_Tab_Decript = meter.RadioCrafts_Ind_Tab_Decript;
    copy->List_Var.reserve(meter.List_Var.size());
    for (const auto& var : meter.List_Var)
        copy->List_Var.push_back(std::make_unique<TVariable_MBus>(*var));
    return copy;
}

QByteArray TMBusScanDecode::Text(int index)
{
    switch (index) {
    case 0: return "Kelvor_Enable_Analyzer_Mode";
    case 1: return Lfcr("Analyzer_Mode Enabled!");
    case 2: return "Kelvor_Disable_Analyzer_Mode";
    case 3: return Lfcr("Analyzer_Mode Disabled!");
    case 4: return "\n\rDone!";
    case 5: return "Kelvor_Enable_Configuration_Mode";
    case 6: return Lfcr("Configuration_Mode Enabled!");
    case 7: return "Kelvor_Type_Radio_Module";
    case 8: return Lfcr("TELIT");
    case 9: return Lfcr("RADIOCRAFTS");
    case 10: return "Kelvor_Disable_Configuration_Mode";
    case 11: return Lfcr("Configuration_Mode Disabled!");
    case 12: return "OK\r";
    default: return {};
    }
}

TMBusScanDecode::TMBusScanDecode() : Home(std::make_unique<Notifier>())
{
    Serial.SetBaudRate(TBaudrate::br115200);
    Serial.SetDatabits(TDatabits::da8);
    Serial.SetParity(TParity::paNone);
    Serial.SetStopbits(TStopbits::sb10);
    Serial.SetFlowControl(TFlowControl::fcNone);
    Serial.SetReadBufSize(4096);
    Serial.SetWriteBufSize(4096);
    Udp.SetHandler([this](std::span<const uint8_t> datagram) { UDP_Read(datagram); });
    Wireless_Decoder.UpdateListWirelessSlave = [this](int index, TSlave_wMBus* meter) {
        TProc_Wireless callback = UpdateListWirelessSlave;
        if (!callback)
            return;
        std::shared_ptr<TSlave_wMBus> copy;
        if (!From_DLL)
            copy = Copy_Wireless_Meter(*meter);
        Post([callback, index, copy] { callback(index, copy.get()); });
    };
    Thread = std::thread([this] { Execute(); });
}

TMBusScanDecode::~TMBusScanDecode()
{
    Finish_Scan();
    {
        std::lock_guard lock(Wake_Mutex);
        FExit = true;
    }
    Wake.notify_all();
    Thread.join();
    Udp.Deactivate();
    Serial.Close();
}

void TMBusScanDecode::Set_Run(bool run)
{
    {
        std::lock_guard lock(Wake_Mutex);
        Run = run;
    }
    Wake.notify_all();
}

bool TMBusScanDecode::Listening() const
{
    const int step = Step.load();
    return MBusType.load() == TMBusType::mtWireless && !FStopScan.load() && !FAbortScan.load() &&
           ((step == 134 && Radio.load() == TRadioModule::rmTelit) ||
            (step == 320 && Radio.load() == TRadioModule::rmRadioCrafts));
}

void TMBusScanDecode::Execute()
{
    for (;;) {
        {
            // Idle, parked or listening: nothing to step, so the thread sleeps until woken.
            std::unique_lock lock(Wake_Mutex);
            Wake.wait(lock, [this] { return FExit.load() || (Run && InScan.load() && !Listening()); });
            if (FExit.load())
                return;
        }
        {
            std::lock_guard step(Step_Mutex);
            if (MBusType.load() == TMBusType::mtWireless)
                Scan_Decode_Wireless();
            else
                Scan_Decode();
        }
        if (InScan.load())
            Pause(40);
    }
}

bool TMBusScanDecode::Start_Scan(TScanType ScanT, TSelectHard SelHard, const QString& IP_COM, int Baud, int Par,
                                 bool AppReset, bool SNDNKE, int CutAfter, bool FixCField, uint8_t FixCFieldValue,
                                 bool RemoteTimeout, TProc_Slave_List Proc_Slave_List)
{
    // A baud rate of 0 or less would divide the time limits by zero.
    if (InScan.load() || Baud <= 0)
        return false;
    std::lock_guard step(Step_Mutex);
    Update_Slave_List = std::move(Proc_Slave_List);
    MBusType = TMBusType::mtWired;
    ScanType = ScanT;
    Select_Hardware = SelHard;
    ComPort.clear();
    IP_Address.clear();
    (SelHard == TSelectHard::shSerial ? ComPort : IP_Address) = IP_COM;
    Baudrate = Baud;
    Parity = Par;
    App_Reset = AppReset;
    SND_NKE = SNDNKE;
    Cut_After = CutAfter;
    Fix_C_Field = FixCField;
    Fix_C_Field_Value = FixCFieldValue;
    Add_TimeOut = RemoteTimeout ? 10000 : 0;
    {
        std::lock_guard lock(List_Mutex);
        Secondary_Collisions.clear();
    }
    if (SelHard == TSelectHard::shSerial) {
        try {
            Serial.SetDeviceName(ComPort);
            Serial.Open();
        } catch (const ECommError&) {
            return false;
        }
    } else {
        if (!Udp.Active() && Udp.BindingPort() == 0 && Udp.BindingAddress().isEmpty())
            Udp.SetBinding(Local_Address, quint16(std::max(Local_Port, 0)));
        if (!Udp.Activate())
            return false;
    }
    {
        std::lock_guard lock(Answer_Mutex);
        Answers.clear();
    }
    Step = 0;
    FStopScan = false;
    FAbortScan = false;
    {
        std::lock_guard lock(Wake_Mutex);
        InScan = true;
    }
    Wake.notify_all();
    return true;
}

bool TMBusScanDecode::Start_Scan_Wireless(TSelectHard SelHard, const QString& IP_COM, quint16 Port, int wMBus_Mode,
                                          int wMBus_Radio_Channel, bool RemoteTimeout, TProc_Wireless Proc_Wireless,
                                          bool FromDLL)
{
    // Port 0 names no gateway port.
    if (InScan.load() || Port == 0)
        return false;
    std::lock_guard step(Step_Mutex);
    UpdateListWirelessSlave = std::move(Proc_Wireless);
    MBusType = TMBusType::mtWireless;
    Select_Hardware = SelHard;
    IP_Address = IP_COM;
    wMBusMode = wMBus_Mode;
    wMBusRadioChannel = wMBus_Radio_Channel;
    Port_Wireless = Port;
    Add_TimeOut = RemoteTimeout ? 10000 : 0;
    Wireless_Receive_Message = false;
    From_DLL = FromDLL;
    if (SelHard == TSelectHard::shSerial) {
        try {
            Serial.SetDeviceName(ComPort);
            Serial.Open();
        } catch (const ECommError&) {
            return false;
        }
    } else {
        const quint16 local = Local_Port >= 0 ? quint16(Local_Port) : Port;
        if (Udp.BindingPort() != local || Udp.BindingAddress() != Local_Address) {
            Udp.Deactivate();
            Udp.SetBinding(Local_Address, local);
        }
        if (!Udp.Activate())
            return false;
    }
    {
        std::lock_guard lock(Answer_Mutex);
        Answers.clear();
    }
    New_Frame_Wireless = false;
    Step = 0;
    FStopScan = false;
    FAbortScan = false;
    {
        std::lock_guard lock(Wake_Mutex);
        InScan = true;
    }
    Wake.notify_all();
    return true;
}

void TMBusScanDecode::Stop_Scan()
{
    {
        std::lock_guard lock(Wake_Mutex);
        FStopScan = true;
    }
    Wake.notify_all();
}

void TMBusScanDecode::Abort_Scan()
{
    {
        std::lock_guard lock(Wake_Mutex);
        FAbortScan = true;
    }
    Wake.notify_all();
}

bool TMBusScanDecode::Wait_Idle(int waitMs)
{
    std::unique_lock lock(Wake_Mutex);
    return Idle.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !InScan.load(); });
}

bool TMBusScanDecode::Finish_Scan(int waitMs)
{
    if (!InScan.load())
        return true;
    {
        std::lock_guard lock(Wake_Mutex);
        FAbortScan = true;
        // The closing states need the thread running even when the window has parked it.
        Run = true;
    }
    Wake.notify_all();
    return Wait_Idle(waitMs);
}

bool TMBusScanDecode::Insert_Wireless_Key(int Index, const std::array<uint8_t, 16>& Key)
{
    std::lock_guard step(Step_Mutex);
    if (!Listening())
        return false;
    {
        std::lock_guard lock(List_Mutex);
        if (Index < 0 || size_t(Index) >= List_Slave_wMBus.size())
            return false;
        TSlave_wMBus& meter = *List_Slave_wMBus[size_t(Index)];
        // A table position is taken only for a key that is accepted, and only among the positions
        // that the set-up clears.
        if (Radio.load() == TRadioModule::rmRadioCrafts && meter.RadioCrafts_Ind_Tab_Decript <= 0) {
            if (Index_RadioCrafts_Position_Used > RadioCrafts_Last_Position)
                return false;
            meter.RadioCrafts_Ind_Tab_Decript = Index_RadioCrafts_Position_Used++;
        }
        Wireless_Key = Key;
        Wireless_Key_Index = Index;
        meter.Enable_Key = true;
        meter.Key = Key;
    }
    {
        std::lock_guard lock(Wake_Mutex);
        Step = Radio.load() == TRadioModule::rmTelit ? 200 : 400;
    }
    Wake.notify_all();
    return true;
}

// ---- the link ----

void TMBusScanDecode::UDP_Read(std::span<const uint8_t> datagram)
{
    // Never copied when it does not fit the answer buffer.
    if (datagram.size() > size_t(Answer_Size)) {
        ++Oversize;
        return;
    }
    if (MBusType.load() == TMBusType::mtWireless && Wireless_Receive_Message.load()) {
        const TRadioModule module = Radio.load();
        if (!Is_Radio_Telegram(datagram)) {
            ++Length_Mismatch;
            return;
        }
        std::lock_guard lock(List_Mutex);
        if (Wireless_Decoder.Decode_Telegram(datagram, module, List_Slave_wMBus) >= 0)
            New_Frame_Wireless = true;
        return;
    }
    std::lock_guard lock(Answer_Mutex);
    if (Answers.size() >= size_t(Answer_Queue_Limit))
        Answers.pop_front();
    Answers.emplace_back(datagram.begin(), datagram.end());
}

bool TMBusScanDecode::Is_Radio_Telegram(std::span<const uint8_t> datagram) const
{
    return !datagram.empty() &&
           datagram.size() == size_t(datagram[0]) + (Radio.load() == TRadioModule::rmTelit ? 3 : 1);
}

bool TMBusScanDecode::Take_Answer(Bytes& answer)
{
    std::lock_guard lock(Answer_Mutex);
    if (Answers.empty())
        return false;
    answer = std::move(Answers.front());
    Answers.pop_front();
    return true;
}

bool TMBusScanDecode::Answer_Pending()
{
    std::lock_guard lock(Answer_Mutex);
    return !Answers.empty();
}

void TMBusScanDecode::Poll_Serial()
{
    if (Select_Hardware != TSelectHard::shSerial || !Serial.Enabled())
        return;
    // Bytes that arrive together form one answer; a step without new bytes ends it.
    uint8_t buffer[512];
    int got = 0;
    try {
        got = Serial.Read(buffer, int(sizeof buffer));
    } catch (const ECommError&) {
        got = 0;
    }
    if (got > 0) {
        if (Serial_Pending.size() + size_t(got) <= size_t(Answer_Size))
            Serial_Pending.insert(Serial_Pending.end(), buffer, buffer + got);
        else
            Serial_Pending.assign(size_t(Answer_Size) + 1, 0);  // too long: dropped below
        return;
    }
    if (Serial_Pending.empty())
        return;
    if (Serial_Pending.size() <= size_t(Answer_Size))
        UDP_Read(Serial_Pending);
    Serial_Pending.clear();
}

void TMBusScanDecode::Send_Bytes(std::span<const uint8_t> bytes, quint16 Port)
{
    // Whatever came before this send answers an earlier one.
    {
        std::lock_guard lock(Answer_Mutex);
        Answers.clear();
    }
    Serial_Pending.clear();
    if (Select_Hardware == TSelectHard::shSerial) {
        try {
            if (Serial.Enabled())
                Serial.Write(bytes.data(), int(bytes.size()));
        } catch (const ECommError&) {
            // A failed write shows as a missing answer.
        }
    } else {
        Udp.Send(IP_Address, Port, bytes);
    }
    Start_Send = uint32_t(platform::NowMs());
}

void TMBusScanDecode::Send_Command(const QByteArray& cmd, quint16 Port)
{
    Send_Bytes(std::span(reinterpret_cast<const uint8_t*>(cmd.constData()), size_t(cmd.size())), Port);
}

void TMBusScanDecode::Send_Command(quint16 Port) { Send_Bytes(Req_Array, Port); }

bool TMBusScanDecode::Check_TimeOut() const
{
    const uint32_t elapsed = uint32_t(platform::NowMs()) - Start_Send;
    return double(elapsed) > double(TimeOut_Calc) * Time_Scale;
}

void TMBusScanDecode::Pause(int ms)
{
    platform::CurrentClock().Sleep(std::max(1, int(std::lround(ms * Time_Scale))));
}

void TMBusScanDecode::Send_Frame_After(int pauseMs, int next)
{
    Pause(pauseMs);
    Step = next;
    Send_Command(Gateway_Port);
}

bool TMBusScanDecode::Acknowledged_Or_Timed_Out()
{
    Bytes answer;
    bool acknowledged = false;
    while (!acknowledged && Take_Answer(answer))
        acknowledged = Is_E5(answer);
    return acknowledged || Check_TimeOut();
}

void TMBusScanDecode::Post(std::function<void()> call)
{
    QMetaObject::invokeMethod(Home.get(), std::move(call), Qt::QueuedConnection);
}

void TMBusScanDecode::Notify(int event, int value, int found, int kind)
{
    TProc_Slave_List callback = Update_Slave_List;
    if (!callback)
        return;
    Post([callback, event, value, found, kind] {
        try {
            callback(event, value, found, kind);
        } catch (...) {
            // Errors of the progress callback are the caller's and do not end the scan.
        }
    });
}

// ---- frames ----

void TMBusScanDecode::Make_App_Reset(uint8_t A)
{
    const uint8_t c = Fix_C_Field && Fix_C_Field_Value == 0 ? 0x53 : 0x73;
    Req_Array = {0x68, 0x03, 0x03, 0x68, c, A, 0x50, 0, 0x16};
    Req_Array[7] = Sum(Req_Array, 4, 6);
}

void TMBusScanDecode::Make_SND_NKE(uint8_t A) { Req_Array = {0x10, 0x40, A, uint8_t(0x40 + A), 0x16}; }

void TMBusScanDecode::Make_REQ_UD2(uint8_t A, int N)
{
    const bool fcb = Fix_C_Field ? Fix_C_Field_Value != 0 : N % 2 == 0;
    const uint8_t c = fcb ? 0x7B : 0x5B;
    Req_Array = {0x10, c, A, uint8_t(c + A), 0x16};
}

void TMBusScanDecode::Make_Select_Secondary()
{
    const auto nibble = [this](int i) { return uint8_t(Index[size_t(i)] < 0 ? 0xF : Index[size_t(i)] & 0xF); };
    const auto pair = [&](int high, int low) { return uint8_t(nibble(high) << 4 | nibble(low)); };
    const uint8_t c = Fix_C_Field && Fix_C_Field_Value == 0 ? 0x53 : 0x73;
    Req_Array = {0x68, 0x0B, 0x0B, 0x68, c, 0xFD, 0x52, pair(6, 7), pair(4, 5), pair(2, 3), pair(0, 1),
                 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x16};
    Req_Array[15] = Sum(Req_Array, 4, 14);
}

void TMBusScanDecode::Make_Serial_Settings()
{
    const QByteArray head = "Kelvor_S_M:";
    Req_Array.assign(head.begin(), head.end());
    const auto baud = uint32_t(Baudrate);
    for (int shift = 24; shift >= 0; shift -= 8)
        Req_Array.push_back(uint8_t(baud >> shift));
    Req_Array.push_back(0x2C);
    Req_Array.push_back(Parity == 0 ? 0 : Parity == 1 ? 2 : Parity == 2 ? 1 : 0);
}

void TMBusScanDecode::Make_RadioCrafts_Config()
{
    const uint8_t mode = wMBusMode == 5 ? 0x01 : wMBusMode == 11 ? 0x0A : wMBusMode == 15 ? 0x11 : wMBusMode == 17 ? 0x10 : 0x03;
    Req_Array = {0x03, mode, 0x04, 0x00, 0x05, 0x01, 0x12, 0x01, 0x16, 0x17, 0x3A, 0x01, 0x3D, 0x02, 0x37, 0x01};
}

void TMBusScanDecode::Make_Zero_Block() { Req_Array.assign(8, 0); }

void TMBusScanDecode::Make_RadioCrafts_Address()
{
    std::lock_guard lock(List_Mutex);
    Req_Array.assign(8, 0);
    if (Wireless_Key_Index < 0 || size_t(Wireless_Key_Index) >= List_Slave_wMBus.size())
        return;
    const TSlave_wMBus& m = *List_Slave_wMBus[size_t(Wireless_Key_Index)];
    const auto address = uint32_t(m.ALA_Address);
    Req_Array = {uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16), uint8_t(address >> 24),
                 uint8_t(m.ALA_Manufacturer), uint8_t(m.ALA_Manufacturer >> 8), m.ALA_Version, m.ALA_DeviceType};
}

void TMBusScanDecode::Make_RadioCrafts_Key()
{
    std::lock_guard lock(List_Mutex);
    Req_Array.assign(16, 0);
    if (Wireless_Key_Index >= 0 && size_t(Wireless_Key_Index) < List_Slave_wMBus.size())
        Req_Array.assign(List_Slave_wMBus[size_t(Wireless_Key_Index)]->Key.begin(),
                         List_Slave_wMBus[size_t(Wireless_Key_Index)]->Key.end());
}

// ---- wired scan ----

void TMBusScanDecode::Read_Step(const Bytes& frame, bool& complete)
{
    const int n = Num_Frame_Read;
    bool walked_all = true;
    {
        std::lock_guard lock(List_Mutex);
        const int index = Wired_Decoder.Register_Wired_Meter(frame, n == 0 ? -1 : Index_Device, walked_all,
                                                             List_Slave_MBus);
        if (index >= 0)
            Index_Device = index;
    }
    Num_Frame_Read = n + 1;
    complete = walked_all || n + 1 >= Cut_After;
}

bool TMBusScanDecode::Matches_Selection(const Bytes& frame) const
{
    // The identification number, BCD, least significant byte first at bytes 7 to 10.
    for (int digit = 0; digit < 8; ++digit) {
        if (Index[size_t(digit)] < 0)
            continue;
        const uint8_t byte = frame[size_t(10 - digit / 2)];
        const int value = digit % 2 == 0 ? byte >> 4 : byte & 0xF;
        if (value != Index[size_t(digit)])
            return false;
    }
    return true;
}

void TMBusScanDecode::Final_State()
{
    if (Select_Hardware == TSelectHard::shSerial)
        Serial.Close();
    else
        Udp.Deactivate();
    const bool wired = MBusType.load() == TMBusType::mtWired;
    if (!SaveXMLFile.isEmpty()) {
        try {
            std::lock_guard lock(List_Mutex);
            if (wired)
                Save_XML_File_DLL(List_Slave_MBus, SaveXMLFile);
            else
                Save_Wireless_XML_File_DLL(List_Slave_wMBus, SaveXMLFile);
        } catch (const std::exception&) {
            // A report that cannot be written does not end the engine; the scan's lists remain.
        }
    }
    if (wired && Enable_Send_In_Last_Step)
        Notify(3, 0, 0, int(Type_To_Send_In_Last_Step));
    {
        std::lock_guard lock(Wake_Mutex);
        InScan = false;
    }
    Idle.notify_all();
}

void TMBusScanDecode::Scan_Decode()
{
    if (FAbortScan.load())
        Step = 200;
    Poll_Serial();
    const bool serial = Select_Hardware == TSelectHard::shSerial;
    const bool secondary = ScanType == TScanType::saSecondaryAddress;
    Bytes answer;
    switch (Step.load()) {
    case 0:
        Enable_Send_In_Last_Step = false;
        Result = 1;
        if (serial) {
            Step = secondary ? 100 : 2;
            break;
        }
        TimeOut_Calc = Command_Timeout();
        Step = 1;
        Send_Command(Text(0), Gateway_Port);
        break;
    case 1:
        if (Take_Answer(answer)) {
            if (Answer_Is(answer, Text(1))) {
                ID_Dev_Primary = -1;
                Step = 300;
            } else {
                Result = 2;
                Step = 200;
            }
        }
        if (Step.load() == 1 && Check_TimeOut()) {
            Result = 2;
            Step = 200;
        }
        break;
    case 300:
        Result = 1;
        if (serial) {
            Step = secondary ? 100 : 2;
            break;
        }
        TimeOut_Calc = Command_Timeout();
        Make_Serial_Settings();
        Step = 301;
        Send_Command(Gateway_Port);
        break;
    case 301:
        if (Take_Answer(answer)) {
            if (Answer_Is(answer, Text(4))) {
                Step = secondary ? 100 : 2;
            } else {
                Result = 2;
                Step = 200;
            }
        }
        if (Step.load() == 301 && Check_TimeOut()) {
            Result = 2;
            Step = 200;
        }
        break;

    // Primary scan.
    case 2:
        TimeOut_Calc = Short_Timeout();
        ID_Dev_Primary = -1;
        Notify(1, 0, 0, 1);
        Make_SND_NKE(255);
        Send_Frame_After(500, 3);
        break;
    case 3:
        if (Take_Answer(answer) || Check_TimeOut())
            Step = 4;
        break;
    case 4:
        TimeOut_Calc = Short_Timeout();
        Num_Frame_Read = 0;
        ++ID_Dev_Primary;
        if (ID_Dev_Primary > 250 || FStopScan.load()) {
            Type_To_Send_In_Last_Step = 1;
            Enable_Send_In_Last_Step = true;
            Result = 1;
            Step = 200;
        } else {
            Step = App_Reset ? 5 : SND_NKE ? 7 : 9;
        }
        break;
    case 5:
        Make_App_Reset(uint8_t(ID_Dev_Primary));
        Send_Frame_After(500, 6);
        break;
    case 6:
    case 8:
        if (Acknowledged_Or_Timed_Out())
            Step = Step.load() == 6 && SND_NKE ? 7 : 9;
        break;
    case 7:
        Make_SND_NKE(uint8_t(ID_Dev_Primary));
        Send_Frame_After(500, 8);
        break;
    case 9:
        TimeOut_Calc = Long_Timeout();
        Make_REQ_UD2(uint8_t(ID_Dev_Primary), Num_Frame_Read);
        Send_Frame_After(500, 10);
        break;
    case 10: {
        ID_Dev_Found = false;
        const int address = ID_Dev_Primary & 0xFF;
        while (Step.load() == 10 && Take_Answer(answer)) {
            const bool frame = Is_Answer_Frame(answer);
            // A late answer of an earlier request (an acknowledgement, or another meter's frame)
            // belongs to no one here: it is passed over and the wait goes on.
            if (Is_E5(answer) || (frame && answer[5] != address))
                continue;
            if (frame) {
                bool complete = false;
                Read_Step(answer, complete);
                if (complete) {
                    Step = 4;
                    ID_Dev_Found = true;
                    Notify(2, address, 1, 1);
                } else {
                    Step = 9;
                }
            } else {
                Step = 4;
                Notify(2, address, 0, 1);
            }
        }
        if (Step.load() == 10 && !ID_Dev_Found && Check_TimeOut()) {
            Step = 4;
            Notify(2, address, 0, 1);
        }
        break;
    }

    // Secondary-address search.
    case 100:
        TimeOut_Calc = Short_Timeout();
        Phase_Scan_Sec_Add = 1;
        Notify(1, 0, 0, 2);
        Phase_Scan_Sec_Add = 2;
        Step = SND_NKE ? 101 : App_Reset ? 103 : 105;
        break;
    case 101:
        Make_SND_NKE(253);
        Send_Frame_After(800, 102);
        break;
    case 102:
    case 104:
        if (Acknowledged_Or_Timed_Out())
            Step = Step.load() == 102 && App_Reset ? 103 : 105;
        break;
    case 103:
        Make_App_Reset(255);
        Send_Frame_After(800, 104);
        break;
    case 105:
        Make_SND_NKE(255);
        Send_Frame_After(800, 106);
        break;
    case 106:
        if (Take_Answer(answer) || Check_TimeOut())
            Step = 107;
        break;
    case 107:
        Index.fill(-1);
        Step = 108;
        break;
    case 124:
        TimeOut_Calc = Long_Timeout();
        Make_REQ_UD2(253, Num_Frame_Read);
        Send_Frame_After(800, 125);
        break;
    case 125: {
        ID_Dev_Found = false;
        if (Check_TimeOut()) {
            TimeOut_Calc = Short_Timeout();
            Step = Sec_Add_Next_Step;
        }
        while (Step.load() == 125 && Take_Answer(answer)) {
            const bool frame = Is_Answer_Frame(answer);
            if (Is_E5(answer) || (frame && !Matches_Selection(answer)))
                continue;
            if (!frame) {
                TimeOut_Calc = Short_Timeout();
                Step = Sec_Add_Next_Step;
                break;
            }
            bool complete = false;
            Read_Step(answer, complete);
            if (!complete) {
                Step = 124;
                break;
            }
            TimeOut_Calc = Short_Timeout();
            Step = Sec_Add_Next_Step;
            ID_Dev_Found = true;
            bool ok = false;
            int value = 0;
            {
                std::lock_guard lock(List_Mutex);
                value = int(List_Slave_MBus.back()->Secondary_Addresss.toUInt(&ok, 16));
            }
            Notify(2, ok ? value : 0, 1, 2);
        }
        break;
    }

    // Closing.
    case 200:
        Count_Disable_Analyzer = 0;
        Step = 201;
        FAbortScan = false;
        break;
    case 201:
        if (serial || Count_Disable_Analyzer > 2) {
            Step = 203;
        } else {
            ++Count_Disable_Analyzer;
            TimeOut_Calc = Command_Timeout();
            Step = 202;
            Send_Command(Text(2), Gateway_Port);
        }
        break;
    case 202:
        // A meter's late answer is passed over; only the time limit sends the command again.
        while (Step.load() == 202 && Take_Answer(answer))
            if (Answer_Is(answer, Text(3)))
                Step = 203;
        if (Step.load() == 202 && Check_TimeOut())
            Step = 201;
        break;
    case 203:
        Final_State();
        break;
    default: {
        // The digit states: next value at 108 + 2d, wait at 109 + 2d for digit d (A = 0).
        const int step = Step.load();
        if (step < 108 || step > 123)
            break;
        const int digit = (step - 108) / 2;
        const int next_value = 108 + 2 * digit;
        if (step == next_value) {
            if (FStopScan.load()) {
                Step = 200;
                break;
            }
            ++Index[size_t(digit)];
            for (int lower = digit + 1; lower < 8; ++lower)
                Index[size_t(lower)] = -1;
            if (Index[size_t(digit)] > 9) {
                if (digit == 0) {
                    Phase_Scan_Sec_Add = 3;
                    Type_To_Send_In_Last_Step = 2;
                    Enable_Send_In_Last_Step = true;
                    Step = 200;
                } else {
                    Step = next_value - 2;
                }
                break;
            }
            Make_Select_Secondary();
            Send_Frame_After(800, next_value + 1);
            break;
        }
        // Wait state: the time limit first, then an answer decides.
        if (Check_TimeOut())
            Step = next_value;
        if (!Take_Answer(answer))
            break;
        if (Is_E5(answer)) {
            Num_Frame_Read = 0;
            Sec_Add_Next_Step = next_value;
            Step = 124;
        } else if (Answer_Is(answer, QByteArray("NO_SLAVE\n\r"))) {
            Step = next_value;
        } else if (digit < 7) {
            Step = next_value + 2;  // several meters answered: refine with the digit below
        } else {
            // Several meters share all eight digits: they cannot be told apart, so say so.
            uint32_t id = 0;
            for (int d = 0; d < 8; ++d)
                id = id << 4 | uint32_t(Index[size_t(d)]);
            {
                std::lock_guard lock(List_Mutex);
                Secondary_Collisions.append(QString::number(id, 16).toUpper().rightJustified(8, u'0'));
            }
            Notify(4, int(id), 0, 2);
            Step = next_value;
        }
        break;
    }
    }
}
