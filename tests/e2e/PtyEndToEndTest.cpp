// The real serial path: hartsim on a pseudo-terminal, the termios port, hartcli and framedebug as
// separate programs.
#include "common/SimFixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace testing_support;

namespace {

QProcessEnvironment FastEnv() {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("VMC70_TIME_SCALE", "0.05");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

// A running hartsim; its pty path is the first line it prints.
class Hartsim {
public:
    explicit Hartsim(const QStringList& args) {
        m_proc.setProcessEnvironment(FastEnv());
        m_proc.start(HARTSIM_PATH, args);
        if (m_proc.waitForStarted(5000) && m_proc.waitForReadyRead(5000))
            m_path = QString::fromLocal8Bit(m_proc.readLine()).trimmed();
    }
    ~Hartsim() {
        m_proc.terminate();
        if (!m_proc.waitForFinished(3000))
            m_proc.kill();
    }
    const QString& Path() const { return m_path; }
    QProcess& Process() { return m_proc; }

private:
    QProcess m_proc;
    QString m_path;
};

struct CliResult {
    int exitCode;
    QString out;
    QString err;
};

CliResult Hartcli(const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(FastEnv());
    p.start(HARTCLI_PATH, args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QJsonObject JsonLine(const QString& out) {
    return QJsonDocument::fromJson(out.trimmed().split('\n').last().toUtf8()).object();
}

} // namespace

TEST(PtyEndToEnd, TermiosLinkTalksToHartsim) {
    Hartsim sim({"--device", "KP510,address=0,id=0x00A101", "--device", "KT410,address=3,id=0x00B203"});
    ASSERT_TRUE(sim.Path().startsWith("/dev/pts/")) << sim.Path().toStdString();
    hart::LinkSession s;
    s.Comm().SetPortPath(sim.Path().toStdString());
    ASSERT_EQ(s.Comm().Connect(), 1) << s.Comm().LastConnectError();
    const hart::Outcome id = s.Transact(3, 0);
    ASSERT_TRUE(id.ok());
    EXPECT_EQ(s.Comm().GetDeviceTypeCode(3), 117);
    EXPECT_EQ(s.Comm().GetDeviceId(3), 0x00B203);
    const hart::Outcome pv = s.Transact(3, 1);
    ASSERT_TRUE(pv.ok());
    EXPECT_EQ(pv.data.size(), 5u);
    EXPECT_EQ(s.Transact(7, 0).kind, hart::Outcome::NoResponse) << "no device at 7";
    // Reconnecting to the same terminal works: hartsim keeps it alive between opens.
    s.Comm().Disconnect();
    ASSERT_EQ(s.Comm().Connect(), 1);
    EXPECT_TRUE(s.Transact(0, 0).ok());
}

TEST(PtyEndToEnd, HartcliRawOutcomesAndExitCodes) {
    Hartsim sim({"--device", "KP510,address=1,id=0x10", "--device", "KP520,address=2,badcheck=-1",
                 "--device", "KT410,address=4,commerror=-1"});
    ASSERT_FALSE(sim.Path().isEmpty());
    struct Case {
        QStringList args;
        int exitCode;
        QString key;
        QString value;
    } cases[] = {
        {{"raw", "1", "0"}, 0, "command", "0"},
        {{"raw", "1", "1"}, 0, "response_code", "0"},
        {{"raw", "9", "0"}, 3, "error", "No Response!"},
        {{"raw", "2", "0"}, 4, "error", "Communication Error!"},
        {{"raw", "4", "0"}, 4, "error", "Communication Error!"},
    };
    for (const auto& c : cases) {
        const CliResult r = Hartcli(QStringList{"--port", sim.Path(), "--retries", "2", "--json"} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        const QJsonObject j = JsonLine(r.out);
        EXPECT_EQ(j.value(c.key).toVariant().toString(), c.value) << r.out.toStdString();
    }
    const CliResult ok = Hartcli({"--port", sim.Path(), "--json", "raw", "1", "16"});
    const QJsonObject j = JsonLine(ok.out);
    EXPECT_EQ(j.value("address").toInt(), 1);
    EXPECT_EQ(j.value("command").toInt(), 16);
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{2}( [0-9A-F]{2})*$").match(j.value("data").toString()).hasMatch())
        << j.value("data").toString().toStdString();
}

TEST(PtyEndToEnd, HartcliRefusesBadArgumentsAndPorts) {
    struct Case {
        QStringList args;
        QString errorPart;
    } cases[] = {
        {{"--port", "/dev/ttyNOPE7", "raw", "0", "0"}, "/dev/ttyNOPE7"},
        {{"--port", "/dev/null", "raw", "0", "0"}, "/dev/null"},
        {{"--simulate", "raw", "64", "0"}, "address"},
        {{"--simulate", "raw", "0", "300"}, "command"},
        {{"--simulate", "raw", "0", "3", "GG"}, "hex byte"},
        {{"--simulate", "--master", "third", "raw", "0", "0"}, "--master"},
        {{"raw", "0", "0"}, "usage"},
    };
    for (const auto& c : cases) {
        const CliResult r = Hartcli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.errorPart)) << r.err.toStdString();
    }
}

TEST(PtyEndToEnd, FrameMonitorProgramShowsWhatHartcliSends) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A private runtime folder keeps this monitor apart from any the user runs.
    auto env = FastEnv();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    QProcess monitor;
    monitor.setProcessEnvironment(env);
    monitor.start(FRAMEDEBUG_PATH, {"--console", "--log", dir.filePath("frames.log")});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    const QString socket = dir.filePath(QStringLiteral("vmc70-%1-FrameDebug").arg(::getuid()));
    ASSERT_TRUE(SpinUntil([&] { return QFile::exists(socket); }, 10000));
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(HARTCLI_PATH, {"--simulate", "raw", "0", "0"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    ASSERT_TRUE(SpinUntil([&] { return monitor.bytesAvailable() > 0 && QString(monitor.peek(4096)).count('\n') >= 2; }, 10000));
    const QStringList lines = QString::fromUtf8(monitor.readAllStandardOutput()).trimmed().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("REQ  cmd   0   10 bytes  FF FF FF FF FF 02 80 00 00 82")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("RSP  cmd   0")) << lines[1].toStdString();
    monitor.terminate();
    monitor.waitForFinished(3000);
    QFile log(dir.filePath("frames.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_GE(QString(log.readAll()).count('\n'), 2) << "every frame is appended to the file too";
}
