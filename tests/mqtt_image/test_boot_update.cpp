#include "test_boot_fixture.h"

#include "support/Deferred.h"

using platform::TMsgDlgType;
using shell::Lang;

namespace {

class BootUpdate : public BootFixture {
protected:
    // Shows the window and clicks the update button, closing the window once the click is done.
    // duringPing is posted when the first echo request goes out, so it runs only if the window
    // handles events while it pings.
    void ClickWhileShown(const std::function<void()>& duringPing = {})
    {
        WhenShown(&Boot, [this] {
            Boot.Btn_Update->Click();
            Boot.Btn_Cancel->Click();
        });
        if (duringPing)
            Echo->OnSend = [this, duringPing] {
                Later(&Boot, duringPing);
                Echo->OnSend = nullptr;
            };
        Boot.ShowModal();
    }

    void ExpectNothingDone(const QString& rememberedIp = shell::Default_Device_IP)
    {
        EXPECT_FALSE(QFile::exists(JobPath()));
        EXPECT_FALSE(UpdaterRan());
        EXPECT_EQ(shell::App_State.Device_IP_Address, rememberedIp);
        EXPECT_EQ(shell::App_State.Update_Option, 0);
        EXPECT_TRUE(shell::App_State.Update_Read_Back);
    }
};

struct OptionCase {
    int Option;
    bool ReadBack;
    QStringList Boxes;
    const char* Golden;
    QStringList Received;  // files the updater found, numbered in job order
};

class BootUpdateOptions : public BootUpdate, public ::testing::WithParamInterface<OptionCase> {};

}  // namespace

// The whole road with a real child process: the job is written beside the program, the updater is
// started from there with no arguments, and every file the job names exists when it runs.
TEST_P(BootUpdateOptions, GatewayAnswersJobIsWrittenAndUpdaterRuns)
{
    const OptionCase& c = GetParam();
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();
    SetBoxes(c.Boxes[0], c.Boxes[1], c.Boxes[2], c.Boxes[3]);
    Boot.CB_Update_Options->setCurrentIndex(c.Option);
    Boot.CB_Update_Option_Read_Back->setChecked(c.ReadBack);

    Boot.Btn_UpdateClick();

    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_EQ(Echo->Requests.size(), 2u);
    ASSERT_TRUE(UpdaterRan());
    EXPECT_EQ(ReceivedJobAsGolden().toStdString(), Golden(c.Golden).toStdString());
    EXPECT_EQ(ReadFile(JobPath()), ReadFile(Received(QStringLiteral("Ethernet_Update.xml"))));
    const QStringList sources{FirmwarePath(), Bank1Path(), Bank2Path()};
    for (const QString& name : c.Received) {
        const QString source = *std::find_if(sources.begin(), sources.end(),
                                             [&](const QString& s) { return s.endsWith(name.mid(2)); });
        EXPECT_EQ(ReadFile(Received(name)), ReadFile(source)) << name.toStdString();
    }
    const QStringList got =
        QDir(Program + QStringLiteral("/received")).entryList({QStringLiteral("?-*")}, QDir::Files, QDir::Name);
    EXPECT_EQ(got, c.Received);
    EXPECT_FALSE(QFile::exists(Received(QStringLiteral("arguments"))));

    const QString typed = c.Boxes.join(QLatin1Char('.'));
    EXPECT_EQ(shell::App_State.Device_IP_Address.toStdString(),
              QString(typed).remove(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(shell::App_State.Update_Option, c.Option);
    EXPECT_EQ(shell::App_State.Update_Read_Back, c.ReadBack);
    // The window stays usable for another update.
    EXPECT_TRUE(Boot.Btn_Update->isEnabled());
    EXPECT_FALSE(Boot.Busy());
}

INSTANTIATE_TEST_SUITE_P(
    Options, BootUpdateOptions,
    ::testing::Values(
        OptionCase{0, true, {"192", "168", "2", "205"}, "job_option0_readback.xml",
                   {"1-MQ00718.sim", "2-bank1.bin", "3-bank2.bin"}},
        OptionCase{1, false, {"10", "0", "0", "7"}, "job_option1_no_readback.xml", {"1-MQ00718.sim"}},
        OptionCase{2, true, {"172", "16", "254", " 1"}, "job_option2_readback.xml", {"1-bank1.bin", "2-bank2.bin"}}),
    [](const auto& info) { return "Option" + std::to_string(info.param.Option); });

TEST_F(BootUpdate, AddressIsConvertedNumericallyAndRememberedForTheNextShowing)
{
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();
    SetBoxes(QStringLiteral("010"), QStringLiteral("001"), QStringLiteral(" 0"), QStringLiteral("7"));
    Boot.Btn_UpdateClick();
    ASSERT_TRUE(UpdaterRan());
    for (quint32 a : Echo->Requests)
        EXPECT_EQ(a, 0x0A010007u);  // decimal, not octal
    EXPECT_EQ(shell::App_State.Device_IP_Address, QStringLiteral("10.1.0.7"));
    EXPECT_TRUE(ReadFile(JobPath()).contains("<IP_Address_Dev>10.1.0.7</IP_Address_Dev>"));

    SetBoxes(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
    Boot.FormShow();
    EXPECT_EQ(Boot.IP_Boxes_Address(), std::optional<quint32>(0x0A010007));
}

TEST_F(BootUpdate, PingOutcomes)
{
    using A = FakeEcho::Answer;
    struct Case {
        const char* Name;
        std::deque<A> Script;
        A Rest;
        bool Updated;
        int Message;  // 0: none
        TMsgDlgType Type;
    };
    const Case cases[] = {
        {"answers twice", {}, A::Reply, true, 0, TMsgDlgType::mtInformation},
        {"answers, misses, answers", {A::Reply, A::Silent, A::Reply}, A::Silent, true, 0, TMsgDlgType::mtInformation},
        {"answers once then stays silent", {A::Reply}, A::Silent, false, 1036, TMsgDlgType::mtWarning},
        {"silent", {}, A::Silent, false, 1036, TMsgDlgType::mtWarning},
        {"cannot send at all", {}, A::Fail, false, 1037, TMsgDlgType::mtError},
        {"silent, then cannot send", {A::Silent}, A::Fail, false, 1036, TMsgDlgType::mtWarning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(JobPath());
        QDir(Program + QStringLiteral("/received")).removeRecursively();
        Messages.Clear();
        shell::App_State.Device_IP_Address = shell::Default_Device_IP;
        Echo->Requests.clear();
        Echo->Script = c.Script;
        Echo->Rest = c.Rest;
        Boot.FormShow();
        SetBoxes(QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("9"), QStringLiteral("9"));

        Boot.Btn_UpdateClick();

        EXPECT_EQ(UpdaterRan(), c.Updated);
        EXPECT_EQ(QFile::exists(JobPath()), c.Updated);
        EXPECT_EQ(shell::App_State.Device_IP_Address,
                  c.Updated ? QStringLiteral("192.168.9.9") : shell::Default_Device_IP);
        if (c.Message == 0) {
            EXPECT_TRUE(Messages.Shown().empty());
        } else {
            ASSERT_EQ(Messages.Shown().size(), 1u);
            EXPECT_EQ(Messages.LastText(), Lang(c.Message));
            EXPECT_EQ(Messages.Shown()[0].Type, c.Type);
        }
    }
}

// A silent gateway is asked again after each try's wait until the whole run's time is over: never
// once only, never before a try's time has passed, and not once the run's time is over.
TEST_F(BootUpdate, SilentGatewayIsPingedAgainUntilTheTimeIsOver)
{
    struct Case {
        int Try_Ms;
        int Total_Ms;
    };
    for (const Case& c : {Case{400, 5000}, Case{40, 250}, Case{400, 400}, Case{1000, 100}}) {
        SCOPED_TRACE(std::to_string(c.Try_Ms) + " / " + std::to_string(c.Total_Ms));
        Echo->Rest = FakeEcho::Silent;
        Echo->SentAt.clear();
        Boot.Ping_Try_Ms = c.Try_Ms;
        Boot.Ping_Total_Ms = c.Total_Ms;
        Boot.FormShow();
        SetBoxes(QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205"));
        const qint64 start = Clock.NowMs();

        EXPECT_FALSE(Boot.Send_Ping());
        EXPECT_EQ(Boot.ping_res, 2);
        const qint64 took = Clock.NowMs() - start;
        EXPECT_GT(took, c.Total_Ms);
        EXPECT_LE(took, c.Total_Ms + c.Try_Ms + 10);
        const std::vector<qint64>& sent = Echo->SentAt;
        ASSERT_GE(sent.size(), c.Total_Ms > c.Try_Ms ? 2u : 1u);
        EXPECT_EQ(sent.front(), start);
        for (std::size_t i = 1; i < sent.size(); ++i) {
            EXPECT_GT(sent[i] - sent[i - 1], c.Try_Ms) << i;
            EXPECT_LE(sent[i] - sent[i - 1], c.Try_Ms + 10) << i;  // one wait slice late at most
        }
        EXPECT_LE(sent.back() - start, c.Total_Ms);
    }
}

TEST_F(BootUpdate, BadAddressIsRefusedBeforeAnyPing)
{
    const QStringList bad[] = {{"", "1", "1", "1"}, {"192", "168", "2", "256"}, {"192", "168", "2", "-5"},
                               {"192", "168", "2", "1a"}, {"localhost", "1", "1", "1"}, {"1", "1", "1", "0x10"}};
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();
    for (const QStringList& boxes : bad) {
        Messages.Clear();
        SetBoxes(boxes[0], boxes[1], boxes[2], boxes[3]);
        Boot.Btn_UpdateClick();
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.LastText(), Lang(1037));
        EXPECT_EQ(Messages.Shown()[0].Type, TMsgDlgType::mtError);
    }
    EXPECT_TRUE(Echo->Requests.empty());
    ExpectNothingDone();
}

TEST_F(BootUpdate, NoIcmpSocketIsReportedAsSuchNotAsABadAddress)
{
    Echo->Rest = FakeEcho::Unavailable;
    Boot.FormShow();
    Boot.Btn_UpdateClick();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains(QLatin1String("ICMP"))) << Messages.LastText().toStdString();
    ExpectNothingDone();
}

TEST_F(BootUpdate, MissingUpdaterOrFilesAreReportedBeforeAnythingRuns)
{
    struct Case {
        const char* Name;
        int Option;
        std::function<QString(BootUpdate&)> Break;  // returns what the message must name
        bool Refused;
    };
    const Case cases[] = {
        {"no updater", 0,
         [](BootUpdate& t) {
             QFile::remove(t.Program + QStringLiteral("/Ethernet_Update.exe"));
             return QStringLiteral("Ethernet_Update.exe");
         },
         true},
        {"updater not executable", 0,
         [](BootUpdate& t) {
             QFile::setPermissions(t.Program + QStringLiteral("/Ethernet_Update.exe"),
                                   QFile::ReadOwner | QFile::WriteOwner);
             return QStringLiteral("not executable");
         },
         true},
        {"no firmware, firmware update", 1,
         [](BootUpdate& t) {
             QFile::remove(t.FirmwarePath());
             return t.FirmwarePath();
         },
         true},
        {"no bank 2, full update", 0,
         [](BootUpdate& t) {
             QFile::remove(t.Bank2Path());
             return t.Bank2Path();
         },
         true},
        {"no bank 1, configuration update", 2,
         [](BootUpdate& t) {
             QFile::remove(t.Bank1Path());
             return t.Bank1Path();
         },
         true},
        {"no firmware, configuration update", 2,
         [](BootUpdate& t) {
             QFile::remove(t.FirmwarePath());
             return QString();
         },
         false},
    };
    Echo->Rest = FakeEcho::Reply;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFile(FirmwarePath(), "firmware image");
        WriteFile(Bank1Path(), QByteArray(2048, '\x11'));
        WriteFile(Bank2Path(), QByteArray(300, '\x22'));
        InstallUpdater();
        QFile::remove(JobPath());
        QDir(Program + QStringLiteral("/received")).removeRecursively();
        Messages.Clear();
        Echo->Requests.clear();
        shell::App_State.Update_Option = c.Option;
        Boot.FormShow();
        const QString named = c.Break(*this);

        Boot.Btn_UpdateClick();

        if (c.Refused) {
            ASSERT_EQ(Messages.Shown().size(), 1u);
            EXPECT_EQ(Messages.Shown()[0].Type, TMsgDlgType::mtError);
            EXPECT_TRUE(Messages.LastText().contains(named)) << Messages.LastText().toStdString();
            EXPECT_TRUE(Echo->Requests.empty());
            EXPECT_FALSE(QFile::exists(JobPath()));
            EXPECT_EQ(shell::App_State.Update_Option, c.Option);
        } else {
            EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
            EXPECT_TRUE(UpdaterRan());
        }
    }
}

TEST_F(BootUpdate, WaitsForAnUpdaterThatEndsLate)
{
    SetUpdaterMode("late");
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();
    Boot.Btn_UpdateClick();
    // Back from the click only after the updater has done its work and ended.
    EXPECT_TRUE(UpdaterRan());
    EXPECT_FALSE(platform::LastProgramStillRunning());
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(BootUpdate, UpdaterStillRunningBlocksTheNextUpdateUntilItEnds)
{
    SetUpdaterMode("never");
    // An updater that never ends by itself lets its time limit pass at once on the fake clock.
    Clock.OnSleep = nullptr;
    Boot.Updater_Wait_Ms = platform::Start_Program_Wait_Ms;
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();

    Boot.Btn_UpdateClick();
    ASSERT_TRUE(WaitUntil([this] { return UpdaterRan(); }));
    ASSERT_TRUE(platform::LastProgramStillRunning());
    EXPECT_TRUE(Messages.Shown().empty());
    const QByteArray firstJob = ReadFile(JobPath());

    // A second update while the first updater still runs: refused, nothing rewritten, no ping.
    const std::size_t requests = Echo->Requests.size();
    Boot.CB_Update_Options->setCurrentIndex(2);
    Boot.Btn_UpdateClick();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.Shown()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(Messages.LastText().contains(QLatin1String("still running")));
    EXPECT_EQ(Echo->Requests.size(), requests);
    EXPECT_EQ(ReadFile(JobPath()), firstJob);

    // Once it has ended, the next update goes ahead.
    WriteFile(Program + QStringLiteral("/stop"), "");
    ASSERT_TRUE(WaitUntil([] { return !platform::LastProgramStillRunning(); }));
    QFile::remove(Program + QStringLiteral("/stop"));
    SetUpdaterMode("now");
    Messages.Clear();
    Boot.Btn_UpdateClick();
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_NE(ReadFile(JobPath()), firstJob);
    EXPECT_EQ(shell::App_State.Update_Option, 2);
}

// While the ping runs the window keeps handling events, but its controls are disabled, a second
// click does not start a second run and the window cannot be closed.
TEST_F(BootUpdate, PingRunKeepsTheWindowResponsiveButClosedToReentry)
{
    Echo->Rest = FakeEcho::Silent;
    bool ran = false, busy = false, updateEnabled = true, cancelEnabled = true, boxEnabled = true;
    bool closed = true, visible = false;
    std::size_t shownDuringRun = 99;
    ClickWhileShown([&] {
        ran = true;
        busy = Boot.Busy();
        updateEnabled = Boot.Btn_Update->isEnabled();
        cancelEnabled = Boot.Btn_Cancel->isEnabled();
        boxEnabled = Boot.E_IP1->isEnabled();
        Boot.Btn_UpdateClick();
        Boot.Btn_Cancel->Click();
        closed = Boot.close();
        visible = Boot.isVisible();
        shownDuringRun = Messages.Shown().size();
    });

    ASSERT_TRUE(ran) << "no event was handled while pinging";
    EXPECT_TRUE(busy);
    EXPECT_FALSE(updateEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_FALSE(boxEnabled);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(visible);
    EXPECT_EQ(shownDuringRun, 0u);
    // One run, one outcome; afterwards the controls work again and Cancel closed the window.
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.LastText(), Lang(1036));
    EXPECT_TRUE(Boot.Btn_Update->isEnabled());
    EXPECT_TRUE(Boot.E_IP1->isEnabled());
    EXPECT_EQ(Boot.ModalResult(), platform::mrCancel);
    EXPECT_FALSE(Boot.isVisible());
}

TEST_F(BootUpdate, SerialLayoutOnlyRemembersTheOptions)
{
    Boot.Form_Type = 0;
    Echo->Rest = FakeEcho::Reply;
    Boot.FormShow();
    Boot.CB_Update_Options->setCurrentIndex(1);
    Boot.CB_Update_Option_Read_Back->setChecked(false);
    Boot.Btn_UpdateClick();
    EXPECT_EQ(shell::App_State.Update_Option, 1);
    EXPECT_FALSE(shell::App_State.Update_Read_Back);
    EXPECT_TRUE(Echo->Requests.empty());
    EXPECT_FALSE(QFile::exists(JobPath()));
    EXPECT_FALSE(UpdaterRan());
}

// End to end with the real ICMP client: the local host answers, so the update runs.
TEST_F(BootUpdate, RealEchoToLocalHost)
{
    {
        platform::IcmpEcho probe;
        try {
            probe.Send_Echo(0x7F000001);
        } catch (const platform::EchoUnavailable& e) {
            GTEST_SKIP() << "this machine allows no ICMP socket: " << e.message().toStdString();
        }
    }
    Boot.Set_Ping(nullptr);  // the window's own ICMP client
    platform::SetClock(nullptr);  // its replies come in real time
    Boot.FormShow();
    SetBoxes(QStringLiteral("127"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"));
    Boot.Btn_UpdateClick();
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_EQ(Boot.ping_res, 1);
    EXPECT_TRUE(UpdaterRan());
    EXPECT_EQ(shell::App_State.Device_IP_Address, QStringLiteral("127.0.0.1"));
}
