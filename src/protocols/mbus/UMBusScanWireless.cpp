// The wireless scan: gateway configuration mode, the radio module's set-up, listening and key
// downloads, as steps of the scan engine.
#include "protocols/mbus/UMBusScanDecode.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool N_Mode(int mode) { return mode == 15 || mode == 17; }

QByteArray At(const char* name, int value) { return QByteArray(name) + QByteArray::number(value) + '\r'; }

}  // namespace

void TMBusScanDecode::Scan_Decode_Wireless()
{
    if (FAbortScan.load() || FStopScan.load())
        Step = 500;
    Poll_Serial();
    const bool serial = Select_Hardware == TSelectHard::shSerial;
    const int step = Step.load();
    Bytes answer;

    // Sends act over Ethernet only; over the serial port the machine waits to be stopped.
    const auto send_text = [&](const QByteArray& text, int next, int timeout = -1) {
        if (serial)
            return;
        TimeOut_Calc = timeout < 0 ? Add_TimeOut + 1000 : timeout;
        Step = next;
        Send_Command(text, Port_Wireless);
    };
    const auto send_frame = [&](int next, int timeout = -1) {
        if (serial)
            return;
        TimeOut_Calc = timeout < 0 ? Add_TimeOut + 1000 : timeout;
        Step = next;
        Send_Command(Port_Wireless);
    };
    const auto send_byte = [&](uint8_t byte, int next, int timeout = -1) {
        Req_Array = {byte};
        send_frame(next, timeout);
    };
    const auto fail = [&] {
        Result = 2;
        Step = 500;
    };
    // A wait state: the answer first, then the time limit (which fails unless told otherwise).
    // A telegram the module heard just before it left listening is passed over, not taken for the answer.
    const auto wait = [&](auto&& accept, int next, bool timeout_passes = false) {
        while (Take_Answer(answer)) {
            if (accept(answer)) {
                Step = next;
                return;
            }
            if (!Is_Radio_Telegram(answer)) {
                fail();
                return;
            }
        }
        if (Check_TimeOut()) {
            if (timeout_passes)
                Step = next;
            else
                fail();
        }
    };
    const auto ok = [](const Bytes& a) { return Answer_Is(a, Text(12)); };
    const auto prompt = [](const Bytes& a) { return a.size() == 1 && a[0] == '>'; };
    const auto starts_with_prompt = [](const Bytes& a) { return !a.empty() && a[0] == '>'; };
    const auto anything = [](const Bytes&) { return true; };

    // The Telit set-up and key download: one AT command per send state, OK awaited in the next.
    const auto telit_send = [&](const QByteArray& command) { send_text(command, step + 1); };

    // Key-download values of the meter being given its key.
    const auto meter_field = [&](auto&& get) {
        std::lock_guard lock(List_Mutex);
        if (Wireless_Key_Index < 0 || size_t(Wireless_Key_Index) >= List_Slave_wMBus.size())
            return 0;
        return int(get(*List_Slave_wMBus[size_t(Wireless_Key_Index)]));
    };
    const auto position = [&] { return uint8_t(meter_field([](const TSlave_wMBus& m) { return m.RadioCrafts_Ind_Tab_Decript; })); };

    switch (step) {
    case 0:
        Wireless_Receive_Message = false;
        Result = 1;
        send_text(Text(5), 1);
        break;
    case 1:
        wait([](const Bytes& a) { return Answer_Is(a, Text(6)); }, 2);
        break;
    case 2:
        Result = 1;
        send_text(Text(7), 3);
        break;
    case 3:
        if (Take_Answer(answer)) {
            if (Answer_Is(answer, Text(8))) {
                Radio = TRadioModule::rmTelit;
                Step = 100;
            } else if (Answer_Is(answer, Text(9))) {
                Radio = TRadioModule::rmRadioCrafts;
                Step = 300;
            } else {
                fail();
            }
        } else if (Check_TimeOut()) {
            fail();
        }
        break;

    // Telit set-up.
    case 100: telit_send("+++"); break;
    case 102: telit_send("ATR\r"); break;
    case 104: telit_send(At("ATS400=", wMBusMode)); break;
    case 106: telit_send("ATS401=0\r"); break;
    case 108: telit_send("ATS402=191\r"); break;
    case 110: telit_send(At("ATS420=", wMBusRadioChannel)); break;
    case 112: telit_send("ATS421=0\r"); break;
    case 114: telit_send("ATS422=3\r"); break;
    case 116: telit_send("ATS430=5\r"); break;
    case 118: telit_send("ATS431=5\r"); break;
    case 120: telit_send("ATS440=0\r"); break;
    case 122: telit_send("ATS441=0\r"); break;
    case 124: telit_send("ATS442=0\r"); break;
    case 126: telit_send("ATS452=0\r"); break;
    case 128: telit_send("ATS453=0\r"); break;
    case 130: telit_send("ATS454=0\r"); break;
    case 132: telit_send("ATO\r"); break;
    case 111: wait(ok, N_Mode(wMBusMode) ? 114 : 112); break;
    case 123: wait(ok, N_Mode(wMBusMode) ? 126 : 124); break;
    case 129: wait(ok, N_Mode(wMBusMode) ? 132 : 130); break;
    case 133:
        wait(ok, 134);
        if (Step.load() == 134)
            Wireless_Receive_Message = true;
        break;
    case 134:
        break;  // listening: telegrams are decoded as they arrive

    // Telit key download.
    case 200:
        Wireless_Receive_Message = false;
        telit_send("+++");
        break;
    case 202: telit_send(At("ATS461=", meter_field([](const TSlave_wMBus& m) { return m.ALA_Manufacturer & 0xFF; }))); break;
    case 204: telit_send(At("ATS462=", meter_field([](const TSlave_wMBus& m) { return m.ALA_Manufacturer >> 8; }))); break;
    case 206: telit_send(At("ATS463=", meter_field([](const TSlave_wMBus& m) { return uint32_t(m.ALA_Address) & 0xFF; }))); break;
    case 208: telit_send(At("ATS464=", meter_field([](const TSlave_wMBus& m) { return uint32_t(m.ALA_Address) >> 8 & 0xFF; }))); break;
    case 210: telit_send(At("ATS465=", meter_field([](const TSlave_wMBus& m) { return uint32_t(m.ALA_Address) >> 16 & 0xFF; }))); break;
    case 212: telit_send(At("ATS466=", meter_field([](const TSlave_wMBus& m) { return uint32_t(m.ALA_Address) >> 24; }))); break;
    case 214: telit_send(At("ATS467=", meter_field([](const TSlave_wMBus& m) { return m.ALA_Version; }))); break;
    case 216: telit_send(At("ATS468=", meter_field([](const TSlave_wMBus& m) { return m.ALA_DeviceType; }))); break;
    case 217:
        wait(ok, 218);
        Index_Key_Send = 0;
        break;
    case 218:
        send_text(QByteArray("ATS") + QByteArray::number(470 + Index_Key_Send) + '=' +
                      QByteArray::number(Wireless_Key[size_t(Index_Key_Send)]) + '\r',
                  219);
        break;
    case 219:
        wait(ok, 218);
        if (Step.load() == 218 && ++Index_Key_Send >= 16)
            Step = 220;
        break;
    case 220: telit_send("ATS460=5\r"); break;
    case 221:
        wait(ok, 132);
        Index_Key_Send = 0;
        break;

    // RadioCrafts set-up.
    case 300:
        send_byte(0x00, 301);
        Index_RadioCrafts_Position_Used = 1;
        break;
    case 301: wait(prompt, 302); break;
    case 302: send_byte('0', 303); break;
    case 303: wait([](const Bytes& a) { return a.size() == 257 && a.back() == '>'; }, 304); break;
    case 304: send_byte('M', 305); break;
    case 305: wait(prompt, 306); break;
    case 306:
        Make_RadioCrafts_Config();
        send_frame(307, Add_TimeOut + 500);
        break;
    case 307: wait(anything, 308, true); break;
    case 308: send_byte(0xFF, 309); break;
    case 309:
        wait(prompt, 310);
        Index_RadioCrafts_Erase_Position = 0;
        break;
    case 310:
        if (Index_RadioCrafts_Erase_Position > RadioCrafts_Last_Position - 1)
            Step = 318;
        else
            send_byte('B', 311);
        break;
    case 311: wait(prompt, 313); break;
    case 313:
        if (Index_RadioCrafts_Erase_Position > RadioCrafts_Last_Position) {
            Step = 318;
        } else {
            ++Index_RadioCrafts_Erase_Position;
            Step = 314;
        }
        break;
    case 314: send_byte(uint8_t(Index_RadioCrafts_Erase_Position), 315, Add_TimeOut + 100); break;
    case 315: wait(anything, 316, true); break;
    case 316:
        Make_Zero_Block();
        send_frame(317);
        break;
    case 317: wait(starts_with_prompt, 310); break;
    case 318: send_byte('X', 319); break;
    case 319:
        Wireless_Receive_Message = true;
        Step = 320;
        break;
    case 320:
        break;  // listening

    // RadioCrafts key download.
    case 400:
        Wireless_Receive_Message = false;
        send_byte(0x00, 401);
        break;
    case 401: wait(prompt, 402); break;
    case 402: send_byte('B', 403); break;
    case 403: wait(prompt, 404); break;
    case 404: send_byte(position(), 405, Add_TimeOut + 100); break;
    case 405: wait(anything, 406, true); break;
    case 406:
        Make_RadioCrafts_Address();
        send_frame(407);
        break;
    case 407: wait(starts_with_prompt, 408); break;
    case 408: send_byte('K', 409); break;
    case 409: wait(prompt, 410); break;
    case 410: send_byte(position(), 411, Add_TimeOut + 100); break;
    case 411: wait(anything, 412, true); break;
    case 412:
        Make_RadioCrafts_Key();
        send_frame(413);
        break;
    case 413: wait(starts_with_prompt, 414); break;
    case 414: send_byte('A', 415); break;
    case 415: wait(prompt, 416); break;
    case 416: send_byte(position(), 417, Add_TimeOut + 100); break;
    case 417: wait(anything, 418, true); break;
    case 418:
        Req_Array = {0x00, 0x40};
        send_frame(419);
        break;
    case 419: wait(prompt, 318); break;

    // Closing.
    case 500:
        // Listening ends here, so that the gateway's answer to the closing command is seen.
        Wireless_Receive_Message = false;
        Count_Disable_Analyzer = 0;
        Step = 501;
        FAbortScan = false;
        FStopScan = false;
        break;
    case 501:
        if (serial || Count_Disable_Analyzer > 2) {
            Step = 503;
        } else {
            ++Count_Disable_Analyzer;
            TimeOut_Calc = Add_TimeOut + 1000;
            Step = 502;
            Send_Command(Text(10), Port_Wireless);
        }
        break;
    case 502:
        // Telegrams still arriving are passed over; only the time limit sends the command again.
        while (Step.load() == 502 && Take_Answer(answer))
            if (Answer_Is(answer, Text(11)))
                Step = 503;
        if (Step.load() == 502 && Check_TimeOut())
            Step = 501;
        break;
    case 503:
        Final_State();
        break;
    default:
        // The remaining Telit wait states expect OK and go on to the next send state.
        if ((step > 100 && step < 134) || (step > 200 && step < 222))
            if (step % 2 == 1)
                wait(ok, step + 1);
        break;
    }
}
