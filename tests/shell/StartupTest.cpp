// Start-up: settings and their defaults, the serial-port map, the single-instance lock and the
// command line.
#include "ShellFixture.h"

#include "shell/ComPortMap.h"

#include <QFile>

using namespace testing_support;

namespace {

class StartupTest : public ShellTest {};

TEST_F(StartupTest, WithNoSettingsTheLinkIsSetForCom1FiveAttemptsSecondaryMasterAndTagNames) {
    StartProgram();
    EXPECT_EQ(app->m_nComPort, 1);
    EXPECT_EQ(app->m_nRetryCount, 5);
    EXPECT_EQ(app->m_nMasterType, 1);
    CHartComm& comm = frame->Comm();
    EXPECT_EQ(comm.GetComPort(), 1);
    EXPECT_EQ(comm.GetRetryCount(), 5);
    EXPECT_EQ(comm.GetMasterType(), 1);
    EXPECT_EQ(frame->DetectMode(), 1);
    EXPECT_TRUE(MenuAction(res::ID_VIEW_TAG)->isChecked());
    EXPECT_FALSE(MenuAction(res::ID_VIEW_UNIQUEID)->isChecked());
    EXPECT_EQ(frame->windowTitle(), "Korvex VMC70 Ver 2.3.33");
    EXPECT_EQ(frame->size(), QSize(880, 700));
}

TEST_F(StartupTest, StoredSettingsConfigureTheLinkAndTheNaming) {
    {
        QSettings s(SettingsPath(), QSettings::IniFormat);
        s.setValue("Communication/ComPort", 7);
        s.setValue("Communication/RetryCount", 3);
        s.setValue("Communication/MasterType", 0);
        s.setValue("Misc/DetectMode", 2);
    }
    StartProgram();
    EXPECT_EQ(frame->Comm().GetComPort(), 7);
    EXPECT_EQ(frame->Comm().GetRetryCount(), 3);
    EXPECT_EQ(frame->Comm().GetMasterType(), 0);
    EXPECT_EQ(frame->DetectMode(), 2);
    EXPECT_TRUE(MenuAction(res::ID_VIEW_UNIQUEID)->isChecked());
    EXPECT_FALSE(MenuAction(res::ID_VIEW_TAG)->isChecked());
}

TEST_F(StartupTest, StoredValuesOutsideTheirRangeReadAsTheDefaults) {
    {
        // A file edited by hand: each value would leave the link unusable or retrying for hours.
        QSettings s(SettingsPath(), QSettings::IniFormat);
        s.setValue("Communication/ComPort", 256);
        s.setValue("Communication/RetryCount", 30000);
        s.setValue("Communication/MasterType", 2);
        s.setValue("Misc/DetectMode", 3);
    }
    StartProgram();
    EXPECT_EQ(app->m_nComPort, 1);
    EXPECT_EQ(frame->Comm().GetComPort(), 1);
    EXPECT_EQ(frame->Comm().GetRetryCount(), 5);
    EXPECT_EQ(frame->Comm().GetMasterType(), 1);
    EXPECT_EQ(frame->DetectMode(), 1);
    EXPECT_TRUE(MenuAction(res::ID_VIEW_TAG)->isChecked());
}

TEST_F(StartupTest, ProfileKeepsEachKeyWithinItsRange) {
    const struct {
        const CProfileKey& key;
        const char* stored;
        int read;
    } cases[] = {{profile::kComPort, "255", 255},   {profile::kComPort, "0", 1},       {profile::kComPort, "257", 1},
                 {profile::kComPort, " 12 ", 12},   {profile::kComPort, "12x", 1},     {profile::kRetryCount, "1", 1},
                 {profile::kRetryCount, "0", 5},    {profile::kRetryCount, "6", 5},    {profile::kRetryCount, "-1", 5},
                 {profile::kMasterType, "0", 0},    {profile::kMasterType, "-1", 1},   {profile::kDetectMode, "2", 2},
                 {profile::kDetectMode, "0", 1},    {profile::kDetectMode, "", 1},
                 {profile::kRetryCount, "99999999999", 5}};
    for (const auto& c : cases) {
        const QString key = QStringLiteral("%1/%2").arg(c.key.section, c.key.name);
        Profile()->Store().setValue(key, c.stored);
        EXPECT_EQ(Profile()->GetInt(c.key), c.read) << qPrintable(key) << " = \"" << c.stored << "\"";
    }
}

TEST_F(StartupTest, ExplicitPortsNameAnAbsolutePathOrADeviceOfTheDeviceFolder) {
    {
        QSettings s(SettingsPath(), QSettings::IniFormat);
        s.setValue("Ports/COM21", "/dev/ttyXR0");
        s.setValue("Ports/com22", "ttyXR1");       // a bare name: a device of the device folder
        s.setValue("Ports/COM23", "serial/ttyXR2"); // relative to wherever the program started
        s.setValue("Ports/COM24", "..");
        s.setValue("Ports/COM26", ":/ttyXR7"); // what Qt takes for an absolute resource path
        s.setValue("Ports/COM25", "");
        s.setValue("Ports/COM0", "/dev/ttyXR3");
        s.setValue("Ports/COM256", "/dev/ttyXR4");
        s.setValue("Ports/Modem", "/dev/ttyXR6");
    }
    app = MakeApp();
    app->EnumerateComPorts();
    EXPECT_EQ(app->m_nComPortList, (std::vector<int>{21, 22}));
    EXPECT_EQ(app->PortMap().PathFor(22), dir.filePath("dev") + "/ttyXR1");
    EXPECT_EQ(app->PortMap().PathFor(23), dir.filePath("dev") + "/ttyS22") << "the rule's guess, not the relative path";
}

TEST_F(StartupTest, KernelNamesMapToComNumbers) {
    const struct {
        const char* name;
        int number;
    } cases[] = {{"ttyS0", 1},      {"ttyS1", 2},          {"ttyS9", 10},    {"ttyS10", 0},     {"ttyUSB0", 11},
                 {"ttyUSB4", 15},   {"ttyUSB5", 0},        {"ttyACM0", 16},  {"ttyACM4", 20},   {"tty0", 0},
                 {"ttyAMA0", 0},    {"pts", 0},            {"ttyS00", 0},    {"ttyUSB01", 0},   {"ttyUSB٣", 0},
                 {"ttyUSB99999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CComPortMap::NumberForDevice(QString::fromUtf8(c.name)), c.number) << c.name;
}

TEST_F(StartupTest, PortMapOffersTheFirstBuiltInPortAndAdaptersWithTheirPaths) {
    const QString sys = dir.filePath("sys"), dev = dir.filePath("dev");
    auto makePort = [&](const QString& name, const char* type, bool device) {
        QDir(sys).mkpath(name);
        if (type) {
            QFile f(sys + "/" + name + "/type");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(type);
        }
        if (device)
            QDir(sys).mkpath(name + "/device");
    };
    makePort("ttyS0", "4\n", true);   // a real UART
    makePort("ttyS1", "4\n", true);   // second built-in port: not offered
    makePort("ttyS2", "0\n", true);   // an empty slot
    makePort("ttyUSB0", nullptr, true);
    makePort("ttyACM1", nullptr, true);
    makePort("ttyUSB3", nullptr, false); // a leftover without a device
    makePort("tty0", nullptr, true);
    QDir(dev).mkpath("serial/by-id");
    ASSERT_TRUE(QFile::link("../../ttyUSB0", dev + "/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0"));
    {
        QSettings s(SettingsPath(), QSettings::IniFormat);
        s.setValue("Ports/COM21", "/dev/ttyXR0");
    }
    app = MakeApp();
    app->EnumerateComPorts();
    EXPECT_EQ(app->m_nComPortList, (std::vector<int>{1, 11, 17, 21}));
    const CComPortMap& map = app->PortMap();
    EXPECT_EQ(map.PathFor(1), dev + "/ttyS0");
    EXPECT_EQ(map.PathFor(11), dev + "/ttyUSB0");
    EXPECT_EQ(map.Find(11)->byIdName, "usb-FTDI_FT232R_A50285BI-if00-port0");
    EXPECT_EQ(map.PathFor(17), dev + "/ttyACM1");
    EXPECT_EQ(map.PathFor(21), "/dev/ttyXR0");
    EXPECT_EQ(map.PathFor(2), dev + "/ttyS1") << "not offered, but still reachable by number";
    EXPECT_EQ(map.PathFor(13), dev + "/ttyUSB2");
}

TEST_F(StartupTest, PortListStopsAt49Numbers) {
    CComPortMap map(dir.filePath("none"), dir.filePath("none"));
    for (int n = 1; n <= 60; ++n)
        map.SetExplicit(100 + n, QStringLiteral("/dev/pts/%1").arg(n));
    EXPECT_EQ(map.Numbers().size(), 49u);
    EXPECT_EQ(map.Numbers().back(), 149);
}

TEST_F(StartupTest, ASecondCopyEndsSilentlyWithoutAWindow) {
    loop.AddDevice("KP510", 0, 1);
    loop.Start(line->PeerFd());
    auto first = MakeApp();
    first->SetPortFactory([this] { return line->CreatePort(); });
    ASSERT_NE(first->InitInstance({"vmc70"}), 0);
    ASSERT_NE(first->MainFrame(), nullptr);
    Boxes().Clear();

    auto second = MakeApp();
    EXPECT_EQ(second->InitInstance({"vmc70"}), 0);
    EXPECT_EQ(second->ExitCode(), 0);
    EXPECT_EQ(second->MainFrame(), nullptr);
    EXPECT_TRUE(Boxes().Boxes().empty());

    first.reset(); // the lock goes with the first copy
    auto third = MakeApp();
    third->SetPortFactory([this] { return line->CreatePort(); });
    EXPECT_NE(third->InitInstance({"vmc70"}), 0);
}

TEST_F(StartupTest, CommandLine) {
    struct Case {
        QStringList args;
        int runs;
        int exitCode;
    };
    const Case cases[] = {
        {{"vmc70", "--help"}, 0, 0},
        {{"vmc70", "--bogus"}, 0, 2},
        {{"vmc70", "loop.ini"}, 0, 2}, // a loop file only goes with --simulate
        {{"vmc70", "--simulate", dir.filePath("missing.ini")}, 0, 2},
    };
    for (const Case& c : cases) {
        auto a = MakeApp();
        EXPECT_EQ(a->InitInstance(c.args) != 0, c.runs != 0) << c.args.join(' ').toStdString();
        EXPECT_EQ(a->ExitCode(), c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(a->MainFrame(), nullptr);
    }
}

TEST_F(StartupTest, PortGivenOnTheCommandLineReplacesTheConfiguredOne) {
    auto a = MakeApp();
    ASSERT_NE(a->InitInstance({"vmc70", "--port", dir.filePath("no-such-tty")}), 0);
    EXPECT_EQ(a->MainFrame()->Comm().CurrentPortName(), dir.filePath("no-such-tty").toStdString());
    EXPECT_FALSE(a->MainFrame()->Comm().IsConnected());
    EXPECT_TRUE(Boxes().Boxes().empty()) << "a failed connection at start-up is not reported";
    EXPECT_EQ(a->MainFrame()->DeviceTreeView()->Root()->text(0), "Offline");
}

TEST_F(StartupTest, SimulateRunsTheDefaultLoopOrALoopFile) {
    auto a = MakeApp();
    ASSERT_NE(a->InitInstance({"vmc70", "--simulate"}), 0);
    CMainFrame* f = a->MainFrame();
    EXPECT_TRUE(f->Comm().IsConnected());
    f->OnCommand(res::ID_SEARCH_DEVICE);
    EXPECT_EQ(f->Comm().GetDeviceCount(), 7) << "six Korvex transmitters and one foreign device";
    a.reset();

    QFile file(dir.filePath("loop.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[device1]\nmodel=KT410\naddress=3\ntag=TT-9\n");
    file.close();
    auto b = MakeApp();
    ASSERT_NE(b->InitInstance({"vmc70", "--simulate", file.fileName()}), 0);
    b->MainFrame()->OnCommand(res::ID_SEARCH_DEVICE);
    CLeftView* tree = b->MainFrame()->DeviceTreeView();
    ASSERT_EQ(tree->Root()->childCount(), 1);
    EXPECT_EQ(tree->Root()->child(0)->text(0), "03: TT-9    ") << "the tag as the device keeps it, 8 characters";
}

} // namespace
