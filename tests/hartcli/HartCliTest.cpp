// hartcli end to end: search, identify, read, raw and monitor as separate processes, on the
// in-process simulated loop and on hartsim behind a pseudo-terminal.
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

struct CliRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out;
    QString err;
    std::vector<Json> objects() const {
        std::vector<Json> all;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            all.push_back(Json::parse(line.toStdString()));
        return all;
    }
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// Children run on the test time scale, so attempts at empty addresses are short.
QProcessEnvironment ChildEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VMC70_TIME_SCALE"), QStringLiteral("0.05"));
    return env;
}

void Start(QProcess& p, const char* program, const QStringList& args) {
    p.setProcessEnvironment(ChildEnvironment());
    p.start(QString::fromLocal8Bit(program), args);
    ASSERT_TRUE(p.waitForStarted(10000)) << program;
}

CliRun Finish(QProcess& p) {
    CliRun r;
    EXPECT_TRUE(p.waitForFinished(60000)) << "hartcli did not end";
    r.exitCode = p.exitCode();
    r.status = p.exitStatus();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

CliRun Hartcli(const QStringList& args) {
    QProcess p;
    Start(p, HARTCLI_PATH, args);
    return Finish(p);
}

CliRun Simulated(const QStringList& args) { return Hartcli(QStringList{QStringLiteral("--simulate")} + args); }

std::vector<std::string> Keys(const Json& j) {
    std::vector<std::string> keys;
    for (const auto& [k, v] : j.items())
        keys.push_back(k);
    return keys;
}

// hartsim with its default loop on a pseudo-terminal; the first line it prints is the path.
class HartsimTest : public ::testing::Test {
protected:
    void SetUp() override {
        Start(sim, HARTSIM_PATH, {});
        ASSERT_TRUE(sim.waitForReadyRead(10000));
        port = QString::fromLocal8Bit(sim.readLine()).trimmed();
        ASSERT_TRUE(port.startsWith(QLatin1String("/dev/"))) << port.toStdString();
    }
    void TearDown() override {
        sim.terminate();
        EXPECT_TRUE(sim.waitForFinished(10000));
        EXPECT_EQ(sim.exitCode(), 0);
    }
    QProcess sim;
    QString port;
};

} // namespace

TEST_F(HartsimTest, SearchListsTheLoopWithEachDevicesIdentity) {
    const CliRun r = Hartcli({"--port", port, "--json", "search"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto devices = r.objects();
    struct Expected {
        int address, manufacturer;
        const char* manufacturerName;
        int deviceType;
        const char* model;
        int deviceId;
        const char* uniqueId;
        const char* tag;
        const char* date;
        int deviceRevision, softwareRevision, hardwareRevision;
    } expected[] = {
        {0, 134, "Norvane Works", 107, "KP510", 0x00A101, "06 6B 00 A1 01", "PT-101  ", "2024-03-14", 3, 12, 16},
        {1, 134, "Norvane Works", 117, "KT410", 0x00B201, "06 75 00 B2 01", "TT-201  ", "2023-11-02", 4, 21, 24},
        {2, 134, "Norvane Works", 97, "KP520", 0x00A302, "06 61 00 A3 02", "PT-302  ", "2024-01-22", 2, 8, 8},
        {3, 134, "Norvane Works", 87, "KF610", 0x00C401, "06 57 00 C4 01", "FT-401  ", "2022-09-30", 2, 9, 16},
        {4, 134, "Norvane Works", 126, "KL710", 0x00D501, "06 7E 00 D5 01", "LT-501  ", "2024-05-07", 1, 4, 8},
        {5, 134, "Norvane Works", 96, "KP510F", 0x00A605, "06 60 00 A6 05", "FT-605  ", "2023-06-19", 3, 12, 16},
        {6, 38, "Rosemount", 6, "3051SOR3051", 0x3051A7, "26 06 30 51 A7", "PT-FRGN ", "2019-04-11", 7, 4, 40},
    };
    ASSERT_EQ(devices.size(), std::size(expected)) << r.out.toStdString();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Json& d = devices[i];
        const Expected& e = expected[i];
        EXPECT_EQ(Keys(d), (std::vector<std::string>{"address", "manufacturer", "manufacturer_name", "device_type", "model",
                                                     "device_id", "unique_id", "tag", "descriptor", "date", "revisions",
                                                     "request_preambles"}));
        EXPECT_EQ(d["address"], e.address);
        EXPECT_EQ(d["manufacturer"], e.manufacturer);
        EXPECT_EQ(d["manufacturer_name"], e.manufacturerName);
        EXPECT_EQ(d["device_type"], e.deviceType);
        EXPECT_EQ(d["model"], e.model);
        EXPECT_EQ(d["device_id"], e.deviceId);
        EXPECT_EQ(d["unique_id"], e.uniqueId);
        EXPECT_EQ(d["tag"], e.tag);
        EXPECT_EQ(d["descriptor"].get<std::string>().size(), 16u);
        EXPECT_EQ(d["date"], e.date);
        EXPECT_EQ(d["revisions"], (Json{{"universal", 5}, {"device", e.deviceRevision}, {"software", e.softwareRevision},
                                        {"hardware", e.hardwareRevision}}));
        EXPECT_EQ(d["request_preambles"], 5);
    }
}

TEST_F(HartsimTest, MonitorStopsCleanlyOnCtrlC) {
    QProcess cli;
    Start(cli, HARTCLI_PATH, {"--port", port, "--json", "monitor", "0", "--period", "200"});
    QByteArray out;
    while (out.count('\n') < 2 && cli.waitForReadyRead(20000))
        out += cli.readAllStandardOutput();
    ASSERT_GE(out.count('\n'), 2) << "no readings";
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    const CliRun r = Finish(cli);
    EXPECT_EQ(r.status, QProcess::NormalExit) << "ended by its own hand, not by the signal";
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString all = QString::fromUtf8(out) + r.out;
    const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}(Z|[+-]\d\d:\d\d)$)"));
    for (const QString& line : all.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const Json j = Json::parse(line.toStdString()); // every line complete
        EXPECT_EQ(Keys(j).front(), "time");
        EXPECT_TRUE(iso.match(QString::fromStdString(j["time"].get<std::string>())).hasMatch()) << line.toStdString();
        EXPECT_EQ(j["pv"]["unit"], "kPa");
    }
}

TEST(Hartcli, SearchTextIsOneAlignedLinePerDevice) {
    const CliRun r = Simulated({"search", "--from", "3", "--to", "8"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 5) << "a header and devices 3 to 6";
    for (const char* column : {"MODEL", "DEVICE ID", "TAG", "DATE"}) {
        const int at = static_cast<int>(lines[0].indexOf(QLatin1String(column)));
        ASSERT_GT(at, 0) << column;
        for (const QString& line : lines.mid(1)) {
            EXPECT_EQ(line[at - 1], QLatin1Char(' ')) << column << ": " << line.toStdString();
            EXPECT_NE(line[at], QLatin1Char(' ')) << column << ": " << line.toStdString();
        }
    }
    EXPECT_TRUE(lines[1].startsWith(QLatin1String("3 "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(QLatin1String("KL710")));
    EXPECT_TRUE(lines[4].contains(QLatin1String("38 Rosemount")));
    EXPECT_TRUE(lines[4].contains(QLatin1String("2019-04-11")));

    const CliRun none = Simulated({"search", "--from", "9", "--to", "10"});
    EXPECT_EQ(none.exitCode, 3);
    EXPECT_TRUE(none.out.isEmpty());
}

TEST(Hartcli, IdentifyOneAddress) {
    const auto found = Simulated({"--json", "identify", "4"}).objects();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]["model"], "KL710");
    EXPECT_EQ(found[0]["descriptor"], "GWR LEVEL       ");

    const CliRun text = Simulated({"identify", "6"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QLatin1String("manufacturer       38 (Rosemount)"))) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QLatin1String("tag                \"PT-FRGN \"")));

    const CliRun missing = Simulated({"--json", "--retries", "1", "identify", "9"});
    EXPECT_EQ(missing.exitCode, 3);
    const auto failure = missing.objects();
    ASSERT_EQ(failure.size(), 1u);
    EXPECT_EQ(failure[0]["error"], "No Response!");
}

TEST(Hartcli, ReadGivesCurrentAndTheVariablesTheAnswerCarries) {
    const auto kp510 = Simulated({"--json", "read", "0"}).objects();
    ASSERT_EQ(kp510.size(), 1u);
    EXPECT_EQ(Keys(kp510[0]), (std::vector<std::string>{"address", "current_ma", "pv", "sv", "tv"}));
    EXPECT_EQ(Keys(kp510[0]["pv"]), (std::vector<std::string>{"unit_code", "unit", "value"}));
    EXPECT_EQ(kp510[0]["pv"]["unit_code"], 12);
    EXPECT_EQ(kp510[0]["pv"]["unit"], "kPa");
    EXPECT_EQ(kp510[0]["sv"]["unit"], "\u02DA" "C");
    EXPECT_EQ(kp510[0]["sv"]["value"], 24.5);
    const double ma = kp510[0]["current_ma"];
    EXPECT_GT(ma, 4.0);
    EXPECT_LT(ma, 20.0);

    const auto kl710 = Simulated({"--json", "read", "4"}).objects();
    ASSERT_EQ(kl710.size(), 1u);
    EXPECT_EQ(Keys(kl710[0]), (std::vector<std::string>{"address", "current_ma", "pv"}));
    EXPECT_EQ(kl710[0]["pv"]["unit"], "meters");

    const CliRun text = Simulated({"read", "1"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("\u02DA" "C"))) << text.out.toStdString();
    EXPECT_TRUE(text.out.startsWith(QLatin1String("address  1\ncurrent  4.0000 mA\nPV       "))) << text.out.toStdString();
}

TEST(Hartcli, RawPrintsTheAnswerCutIntoFields) {
    const auto answer = Simulated({"--json", "raw", "0", "13"}).objects();
    ASSERT_EQ(answer.size(), 1u);
    std::vector<std::size_t> sizes;
    for (const auto& item : answer[0]["items"])
        sizes.push_back((item.get<std::string>().size() + 1) / 3);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{6, 12, 1, 1, 1}));
    EXPECT_EQ(answer[0]["items"][0], "41 4B 71 C3 18 20") << "PT-101 packed";

    const CliRun text = Simulated({"raw", "0", "1"});
    EXPECT_TRUE(text.out.contains(QLatin1String("item 0   (1)   0C\n"))) << text.out.toStdString();
}

TEST(Hartcli, MonitorTakesTheReadingsAskedFor) {
    const CliRun r = Simulated({"--json", "monitor", "0", "--count", "3", "--period", "0"});
    EXPECT_EQ(r.exitCode, 0);
    const auto readings = r.objects();
    ASSERT_EQ(readings.size(), 3u);
    for (const auto& j : readings)
        EXPECT_EQ(Keys(j), (std::vector<std::string>{"time", "address", "current_ma", "pv", "sv", "tv"}));

    const CliRun text = Simulated({"monitor", "3", "--count", "2", "--period", "50"});
    ASSERT_EQ(text.lines().size(), 2);
    EXPECT_TRUE(text.lines()[0].contains(QLatin1String("CubicMeter/hr")));
}

TEST(Hartcli, BadArgumentsAreUsageErrors) {
    const std::vector<QStringList> cases = {
        {"identify"}, {"read", "64"}, {"monitor", "0", "--count", "x"}, {"search", "--from", "9", "--to", "3"},
        {"search", "extra"}, {"bogus"},
    };
    for (const QStringList& args : cases)
        EXPECT_EQ(Simulated(args).exitCode, 2) << args.join(' ').toStdString();
}
