#pragma once
#include "platform/IcmpEcho.h"
#include "controls/buttons_pages/PicButton.h"
#include "platform/StartProgram.h"
#include "platform/TForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <memory>
#include <optional>

// The update window: pings the gateway, writes the update job beside the program and runs the
// external updater on it.
class TFBoot : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBoot(QWidget* parent = nullptr);
    ~TFBoot() override;

    // Layout: 0 update over a serial port, 1 update over Ethernet. Set before showing.
    int Form_Type = 1;
    // Outcome of the last echo request: 0 none yet, 1 a reply with data, 2 no reply (time-out).
    int ping_res = 0;

    // Limits of the ping run and of the wait for the updater; tests shorten them.
    int Ping_Try_Ms = 400;
    int Ping_Total_Ms = 5000;
    int Updater_Wait_Ms = platform::Start_Program_Wait_Ms;

    void Set_Lang() override;
    void Btn_UpdateClick();
    // True when the gateway answered the last echo request.
    bool Send_Ping();
    void PingReply(int BytesReceived);
    // Writes the job file from the window's current values.
    void Compile_XML_Parameter_New_Boot();
    void update_ComPort();
    void Btn_COM_ListClick() { update_ComPort(); }
    // Handles a key typed in one of the four address boxes; false when the key is swallowed.
    bool KeyPress(QLineEdit* Sender, QChar Key);

    // The echo client used by Send_Ping; an ICMP client unless a test gives another.
    void Set_Ping(std::unique_ptr<platform::EchoClient> client);
    // A ping run or an updater start is in progress.
    bool Busy() const { return FBusy; }

    // The address in the four boxes, when each holds a decimal number 0..255 (host byte order).
    std::optional<quint32> IP_Boxes_Address() const;
    static QString Updater_Path();
    static QString Job_Path();

    QFrame* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QFrame* P_IP_Address;
    QLabel* L_IP_Address;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4;
    QFrame* P_Search;
    QFrame* P_Serial;
    QLabel* L_COM_Port;
    QComboBox* CB_COM_Port;
    controls::TPicButton* Btn_COM_List;
    QFrame* P_Options;
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;
    QFrame* P_Buttons;
    controls::TPicButton* Btn_Cancel;
    controls::TPicButton* Btn_Update;

protected:
    void FormShow() override;
    bool FormCloseQuery() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run_Update();
    void Set_Controls_Enabled(bool enabled);
    QLineEdit* Box(int i) const;

    std::unique_ptr<platform::EchoClient> Ping;
    bool FBusy = false;
};

TFBoot* FBoot();
