#pragma once
// The trend sheet and its pages on a simulated loop: settings in a scratch INI file, log files in
// a scratch folder, a pinned clock for the log's times, devices whose process values stand still
// so answers (and log lines) are known in advance.
#include "common/PageFixture.h"
#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/DataDV.h"
#include "monitor/trend/DataDVMultiPage.h"
#include "monitor/trend/DataGraphMulti.h"
#include "monitor/trend/DataGraphSingle.h"
#include "monitor/trend/TrendSettings.h"
#include "sim/SlaveFraming.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

// One request on the line: its command and the polling address of the device it went to.
struct Polled {
    int command;
    int address;
    bool operator==(const Polled& o) const { return command == o.command && address == o.address; }
    friend std::ostream& operator<<(std::ostream& os, const Polled& p) {
        return os << "{" << p.command << "@" << p.address << "}";
    }
};

class TrendTest : public PageOnSimTest {
protected:
    void SetUp() override {
        PageOnSimTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        host->SetProfile(std::make_unique<CProfile>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("vmc70.ini")), QSettings::IniFormat)));
        settings = std::make_unique<CTrendSettings>(host->Profile());
        settings->WriteText(trendkeys::kLogFolder, LogFolder());
    }
    void TearDown() override {
        sheet.reset();
        settings.reset();
        PageOnSimTest::TearDown();
    }

    QString LogFolder() const { return dir.filePath(QStringLiteral("logs")); }
    QString LogPath(const QString& name) const { return LogFolder() + QLatin1Char('/') + name; }

    // A device whose PV stands at `pv` without swing or noise.
    sim::SimDevice& AddSteady(const char* model, int address, std::uint32_t id, float pv, const char* tag) {
        sim::SimDevice& d = loop.AddDevice(QLatin1String(model), address, id);
        d.processAmplitude = 0.0f;
        d.processNoise = 0.0f;
        d.processCenter = pv;
        d.tag = QLatin1String(tag);
        return d;
    }
    // Connects, identifies every address as the search does, and ticks them; the last one is current.
    void Select(std::initializer_list<int> addresses) {
        bool first = true;
        for (int a : addresses) {
            if (first)
                ConnectTo(a);
            else
                Identify(a);
            first = false;
            host->SelectedDevices().AddSorted(a);
        }
        line->ClearWrites();
    }

    // The trend sheet as the frame builds it for one device or a multi-drop loop, shown modelessly.
    CCheckPropSheet& OpenSingleSheet() {
        sheet = std::make_unique<CCheckPropSheet>(*host);
        single = new CDataGraphSingle(*host);
        dvPage = new CDataDVPage(*host);
        sheet->AddPage(single);
        sheet->AddPage(dvPage);
        return Show();
    }
    CCheckPropSheet& OpenMultiSheet() {
        sheet = std::make_unique<CCheckPropSheet>(*host);
        multi = new CDataGraphMulti(*host);
        dvMulti = new CDataDVMultiPage(*host);
        sheet->AddPage(multi);
        sheet->AddPage(dvMulti);
        return Show();
    }
    CCheckPropSheet& Show() {
        sheet->Log().SetClock([this] { return now; });
        sheet->resize(900, 640);
        sheet->Open();
        QCoreApplication::processEvents();
        return *sheet;
    }
    void CloseSheet() {
        sheet->CancelButton()->click(); // "&Exit"
        sheet.reset();
        single = nullptr;
        dvPage = nullptr;
        multi = nullptr;
        dvMulti = nullptr;
        WaitIdle();
    }
    void ClickLogging() { sheet->LoggingBox()->click(); }

    // Every request on the line with the address of the device it went to, in order.
    std::vector<Polled> PolledRequests() {
        std::vector<Polled> out;
        for (const auto& r : ParsedRequests(*line))
            out.push_back({r.command, AddressOf(r)});
        return out;
    }
    int AddressOf(const sim::ParsedRequest& r) {
        if (r.shortFrame)
            return r.shortAddress;
        const std::uint32_t id = (std::uint32_t{r.longAddress[2]} << 16) | (std::uint32_t{r.longAddress[3]} << 8) |
                                 r.longAddress[4];
        return loop.With([&](sim::SimLoop& l) {
            sim::SimDevice* d = l.ById(id);
            return d ? static_cast<int>(d->pollingAddress) : -1;
        });
    }
    // Until n requests went out and the last one ended.
    bool WaitPolled(std::size_t n, int limitMs = 5000) {
        return SpinUntil([&] { return PolledRequests().size() >= n && host->Comm().GetComState() == 0; }, limitMs) &&
               WaitIdle(limitMs);
    }

    // The log file's lines (CRLF-separated), the empty piece after the last line removed.
    QStringList LogLines(const QString& name) const {
        QFile f(LogPath(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromUtf8(f.readAll());
        QStringList lines = text.split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QTemporaryDir dir;
    std::unique_ptr<CTrendSettings> settings;
    std::unique_ptr<CCheckPropSheet> sheet;
    CDataGraphSingle* single = nullptr;
    CDataDVPage* dvPage = nullptr;
    CDataGraphMulti* multi = nullptr;
    CDataDVMultiPage* dvMulti = nullptr;
    QDateTime now{QDate(2024, 5, 17), QTime(10, 0, 0)};
};

template <class W> W* Control(QWidget& parent, int id) { return parent.findChild<W*>(QString::number(id)); }
inline QString Text(QWidget& parent, int id) {
    auto* e = Control<QLineEdit>(parent, id);
    return e ? e->text() : QStringLiteral("<missing %1>").arg(id);
}

} // namespace testing_support
