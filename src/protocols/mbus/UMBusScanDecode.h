#pragma once
#include "platform/UdpSocket.h"
#include "protocols/mbus/CommInt.h"
#include "protocols/mbus/UMBusDecode.h"
#include "protocols/mbus/UMBusResults.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Wired progress: event, value, found, kind. Event 4 is a collision that the secondary search
// could not separate (all eight digits given); its value is the identification number.
using TProc_Slave_List = std::function<void(int Event, int Value, int Found, int Kind)>;
// A wireless meter was created or updated: its index and a copy of it (null when the caller asked
// for the index alone).
using TProc_Wireless = std::function<void(int Index, const TSlave_wMBus* Meter)>;

// A deep copy of a wireless meter, for handing to another thread.
std::unique_ptr<TSlave_wMBus> Copy_Wireless_Meter(const TSlave_wMBus& meter);

// The scan engine: one thread that steps the wired or the wireless state machine over the gateway
// link (UDP, or a serial port), decodes what the meters send and keeps the result lists. Control
// operations are called from the thread that created the engine, which is also where the callbacks
// arrive, queued, with copies, in the order they were sent. Every pause and time limit runs on the
// program's clock.
// True when a gateway's answer is exactly the given text, byte for byte.
bool Answer_Is(const std::vector<uint8_t>& answer, const QByteArray& text);

class TMBusScanDecode {
public:
    static constexpr quint16 Wired_Port = 10000;
    static constexpr int Fixed_Timeout = 400;
    static constexpr int Answer_Size = 2049;
    // The RadioCrafts key-table positions cleared before listening.
    static constexpr int RadioCrafts_Last_Position = 63;

    TMBusScanDecode();
    ~TMBusScanDecode();
    TMBusScanDecode(const TMBusScanDecode&) = delete;
    TMBusScanDecode& operator=(const TMBusScanDecode&) = delete;

    bool Start_Scan(TScanType ScanT, TSelectHard SelHard, const QString& IP_COM, int Baud, int Par, bool AppReset,
                    bool SNDNKE, int CutAfter, bool FixCField, uint8_t FixCFieldValue, bool RemoteTimeout,
                    TProc_Slave_List Proc_Slave_List);
    bool Start_Scan_Wireless(TSelectHard SelHard, const QString& IP_COM, quint16 Port, int wMBus_Mode,
                             int wMBus_Radio_Channel, bool RemoteTimeout, TProc_Wireless Proc_Wireless,
                             bool FromDLL);
    void Stop_Scan();
    void Abort_Scan();
    bool Insert_Wireless_Key(int Index, const std::array<uint8_t, 16>& Key);
    // Ends a running scan through its closing states (the gateway is switched back) and waits for
    // them, up to waitMs of real time. True when no scan runs any more.
    bool Finish_Scan(int waitMs = 10000);
    // The scanner window shown (true) or closed (false): the thread runs only while it is set.
    void Set_Run(bool run);
    // Waits, up to waitMs of real time, until no scan runs.
    bool Wait_Idle(int waitMs);

    bool FInScan() const { return InScan.load(); }
    int FResult() const { return Result.load(); }
    int Step_Scan() const { return Step.load(); }
    TRadioModule RadioModule() const { return Radio.load(); }

    // Set before a start. Where the gateway listens for wired scans, and the engine's own binding
    // (empty address: every interface; port -1: any free port for wired scans, the wireless port
    // for wireless scans).
    quint16 Gateway_Port = Wired_Port;
    QString Local_Address;
    int Local_Port = -1;
    // Multiplies every pause, every time limit and the step interval (a developer's aid).
    double Time_Scale = 1.0;
    // When not empty at the end of a scan, the scan report is written there.
    QString SaveXMLFile;

    // The results. The engine appends and updates under List_Mutex; readers take it too.
    mutable std::mutex List_Mutex;
    TList_Slave_MBus List_Slave_MBus;
    TList_Slave_wMBus List_Slave_wMBus;
    // Identification numbers that the secondary search found shared by several meters.
    QStringList Secondary_Collisions;

    // The link, for tests and tools that want to see it.
    platform::UdpSocket& UDP_Server() { return Udp; }
    TComm& Comm() { return Serial; }
    // Datagrams dropped because they did not fit the answer buffer.
    uint64_t Oversize_Dropped() const { return Oversize.load(); }
    // Telegrams of the listening phase dropped because their length byte disagreed.
    uint64_t Length_Dropped() const { return Length_Mismatch.load(); }

    // Frame builders: each replaces Req_Array by one whole frame.
    void Make_App_Reset(uint8_t A);
    void Make_Serial_Settings();
    void Make_SND_NKE(uint8_t A);
    void Make_REQ_UD2(uint8_t A, int N);
    void Make_Select_Secondary();
    void Make_RadioCrafts_Config();
    void Make_Zero_Block();
    void Make_RadioCrafts_Address();
    void Make_RadioCrafts_Key();
    std::vector<uint8_t> Req_Array;

    // Settings the frame builders read (set by the start operations).
    int Baudrate = 2400;
    int Parity = 1;
    bool Fix_C_Field = false;
    uint8_t Fix_C_Field_Value = 0;
    int wMBusMode = 1;
    std::array<int, 8> Index{-1, -1, -1, -1, -1, -1, -1, -1};  // Index_A to Index_H
    int Wireless_Key_Index = 0;

    // The text commands and answers of the gateway, by index.
    static QByteArray Text(int index);

private:
    class Notifier;

    void Execute();
    void Scan_Decode();
    void Scan_Decode_Wireless();

    void UDP_Read(std::span<const uint8_t> datagram);
    void Send_Command(const QByteArray& cmd, quint16 Port);
    void Send_Command(quint16 Port);
    void Send_Bytes(std::span<const uint8_t> bytes, quint16 Port);
    bool Check_TimeOut() const;
    // The next answer received since the last send, if any.
    bool Take_Answer(std::vector<uint8_t>& answer);
    bool Answer_Pending();
    // A datagram framed as the radio module frames a telegram (its length byte agrees).
    bool Is_Radio_Telegram(std::span<const uint8_t> datagram) const;
    void Poll_Serial();
    void Pause(int ms);
    // Sends the frame just built to the gateway after the pause a meter needs between frames,
    // going on to the step that awaits its answer.
    void Send_Frame_After(int pauseMs, int next);
    // Drops answers until the meter's E5 arrives: true once it has, or once the wait has timed out.
    bool Acknowledged_Or_Timed_Out();
    void Notify(int event, int value, int found, int kind);
    void Post(std::function<void()> call);
    void Read_Step(const std::vector<uint8_t>& frame, bool& complete);
    void Final_State();
    bool Listening() const;
    bool Matches_Selection(const std::vector<uint8_t>& frame) const;

    int Short_Timeout() const { return 330000 / Baudrate + Fixed_Timeout + Add_TimeOut + 50; }
    int Long_Timeout() const { return 3245000 / Baudrate + Fixed_Timeout + Add_TimeOut + 50; }
    int Command_Timeout() const { return Add_TimeOut + 1000; }

    // Flags shared between threads.
    std::atomic<bool> FExit{false};
    std::atomic<bool> InScan{false};
    std::atomic<int> Result{-1};
    std::atomic<bool> FStopScan{false};
    std::atomic<bool> FAbortScan{false};
    std::atomic<int> Step{0};
    std::atomic<TRadioModule> Radio{TRadioModule::rmTelit};
    std::atomic<TMBusType> MBusType{TMBusType::mtWired};
    std::atomic<bool> Wireless_Receive_Message{false};
    std::atomic<bool> New_Frame_Wireless{false};
    std::atomic<uint64_t> Oversize{0};
    std::atomic<uint64_t> Length_Mismatch{0};

    // Set by the start operations while no scan runs, then read by the engine thread.
    TScanType ScanType = TScanType::saPrimaryAddress;
    TSelectHard Select_Hardware = TSelectHard::shEthernet;
    QString IP_Address;
    QString ComPort;
    bool App_Reset = false;
    bool SND_NKE = false;
    int Cut_After = 0;
    int wMBusRadioChannel = 0;
    quint16 Port_Wireless = 0;
    int Add_TimeOut = 0;
    bool From_DLL = false;
    TProc_Slave_List Update_Slave_List;
    TProc_Wireless UpdateListWirelessSlave;

    // The engine thread's own state.
    int TimeOut_Calc = 0;
    uint32_t Start_Send = 0;
    int ID_Dev_Primary = -1;
    bool ID_Dev_Found = false;
    int Num_Frame_Read = 0;
    int Index_Device = -1;
    int Sec_Add_Next_Step = 0;
    int Phase_Scan_Sec_Add = 0;
    int Count_Disable_Analyzer = 0;
    std::array<uint8_t, 16> Wireless_Key{};
    int Index_Key_Send = 0;
    bool Enable_Send_In_Last_Step = false;
    uint32_t Type_To_Send_In_Last_Step = 0;
    int Index_RadioCrafts_Erase_Position = 0;
    int Index_RadioCrafts_Position_Used = 1;
    std::vector<uint8_t> Serial_Pending;
    TMBusDecoder Wired_Decoder;

    // Answers handed from the listener to the engine, dropped at each send.
    std::mutex Answer_Mutex;
    std::deque<std::vector<uint8_t>> Answers;
    TMBusDecoder Wireless_Decoder;  // used on the listener thread only

    // One step at a time; the key operation waits for a step to end.
    std::mutex Step_Mutex;
    // Wakes the thread: run state, starts, stops, keys, exit.
    std::mutex Wake_Mutex;
    std::condition_variable Wake;
    bool Run = true;
    std::condition_variable Idle;

    std::unique_ptr<Notifier> Home;
    TComm Serial;
    platform::UdpSocket Udp;
    std::thread Thread;
};
