// The data log files, line by line, as the trend sheet writes them from live samples.
#include "TrendFixture.h"

#include "platform/TimeScale.h"

#include <QDir>
#include <QRegularExpression>

using namespace testing_support;

namespace {

const QString kPVStars = QStringLiteral("\t\t\t\t***********************");
const QString kDVStars = QStringLiteral("\t\t\t\t\t\t****************************");

QString Rule(QChar c, int n) { return QString(n, c); }

// The lines between the header's closing rule (the second line that is `rule`) and `end`.
QStringList Body(const QStringList& lines, const QString& rule, int end) {
    int ruleCount = 0, from = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i] == rule && ++ruleCount == 2) {
            from = i + 1;
            break;
        }
    return from < 0 ? QStringList() : lines.mid(from, end - from);
}

} // namespace

class TrendLogTest : public TrendTest {
protected:
    // Until the file holds at least n lines.
    bool WaitLines(const QString& name, int n) {
        return SpinUntil([&] { return LogLines(name).size() >= n; });
    }
};

TEST_F(TrendLogTest, SingleModeFileHasTitleDevicesHeaderSampleLinesAndFooter) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    ClickLogging();
    ASSERT_TRUE(sheet->IsLogging());
    const QString name = QStringLiteral("Log_PV_Single.txt");
    EXPECT_EQ(sheet->Log().FilePath(), LogPath(name));

    // Lines reach the disk as they are written, while the file is still open.
    ASSERT_TRUE(WaitLines(name, 10));
    const QString sample = QStringLiteral(" 00\t        50.0000\t(kPa)          \t12.0000\t     50.0000\t       10:00:00");
    EXPECT_EQ(LogLines(name)[8], sample);

    now = now.addSecs(300);
    ClickLogging();
    EXPECT_FALSE(sheet->IsLogging());
    const QStringList lines = LogLines(name);
    ASSERT_GE(lines.size(), 13);
    const QString equals = Rule('=', 80);
    const QStringList head = {kPVStars,
                              QStringLiteral("\t\t\t\t Korvex Trasmitter PV Trend"),
                              kPVStars,
                              QString(),
                              QStringLiteral("Polling Addr 00: Norvane Works  KP510  PT-101  "),
                              equals,
                              QStringLiteral("Polling\t          PV\t Unit\t         AO(mA)\t     Percent(%)\tMeasurement Time"),
                              equals};
    EXPECT_EQ(lines.mid(0, 8), head);
    const QStringList foot = {equals, QStringLiteral("Measurement Term: 2024/05/17 10:00:00 ~ 2024/05/17 10:05:00"),
                              equals};
    EXPECT_EQ(lines.mid(lines.size() - 3), foot);
    for (const QString& l : lines.mid(8, lines.size() - 11))
        EXPECT_EQ(l, sample);
    EXPECT_EQ(settings->GetText(trendkeys::kStartLogTime), QStringLiteral("2024/05/17 10:00:00"));
}

TEST_F(TrendLogTest, MultiDropFileHasOneLineOfFiveCellsPerDeviceForEachPass) {
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
    Select({1, 2});
    OpenMultiSheet();
    ClickLogging();
    const QString name = QStringLiteral("Log_PV_MultiDrop.txt");
    ASSERT_TRUE(WaitLines(name, 10));
    now = now.addSecs(60);
    ClickLogging();

    const QString equals = Rule('=', 72 * 2 + 9);
    const QString cells = QStringLiteral("Polling\t       PV\t  Unit\t           SV\t         Unit\t\t");
    const QStringList head = {kPVStars,
                              QStringLiteral("\t\t\t\t Korvex Trasmitter PV Trend"),
                              kPVStars,
                              QString(),
                              QStringLiteral("Polling Addr 01: Norvane Works  KT410  TT-201  "),
                              QStringLiteral("Polling Addr 02: Norvane Works  KP520  PT-302  "),
                              equals,
                              cells + cells + QStringLiteral("Measurement Time"),
                              equals};
    const QStringList lines = LogLines(name);
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines.mid(0, 9), head);
    const QString pass = QStringLiteral("  01\t    85.0000\t (\u02DAC)      \t 84.9000\t (\u02DAC)      \t"
                                        "  02\t   400.0000\t (kPa)     \t 25.0000\t (\u02DAC)      \t10:00:00");
    const QStringList body = lines.mid(9, lines.size() - 12);
    ASSERT_FALSE(body.isEmpty());
    for (const QString& l : body)
        EXPECT_EQ(l, pass);
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("Measurement Term: 2024/05/17 10:00:00 ~ 2024/05/17 10:01:00"));
}

TEST_F(TrendLogTest, PageSwitchClosesThePVFileWithADashRuleAndGroupsDVLinesByPass) {
    AddSteady("KT410", 1, 0x00B201, 85.0f, "TT-201");
    AddSteady("KP520", 2, 0x00A302, 400.0f, "PT-302");
    AddSteady("KP510", 3, 0x00A101, 50.0f, "PT-101");
    Select({1, 2, 3});
    OpenMultiSheet();
    ClickLogging();
    ASSERT_TRUE(WaitLines(QStringLiteral("Log_PV_MultiDrop.txt"), 11));
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(LogLines(QStringLiteral("Log_PV_MultiDrop.txt")).last(), Rule('-', 72 * 3 + 9));
    EXPECT_EQ(sheet->Log().LogPage(), 1);

    const QString name = QStringLiteral("Log_DV.txt");
    ASSERT_TRUE(WaitLines(name, 10 + 8));
    ClickLogging();
    const QStringList lines = LogLines(name);
    EXPECT_EQ(lines.mid(0, 3), (QStringList{kDVStars, QStringLiteral("\t\t\t\t\t\t Korvex Trasmitter DV Trend"), kDVStars}));
    EXPECT_EQ(lines[5], QStringLiteral("Polling Addr 02: Norvane Works  KP520  PT-302  "));
    EXPECT_EQ(lines[8], QStringLiteral("Polling\t            PV\tUnit           \t           SV\tUnit           \t"
                                       "           TV\tUnit           \t           FV\tUnit           \t"
                                       "Current(mA)    \tMeasurement Time\t"));

    const QStringList body = Body(lines, Rule('=', 169), lines.size() - 3);
    ASSERT_GE(body.size(), 8);
    const QString notUsed = QStringLiteral("         0.0000\t(Not Used)     \t");
    const QStringList group = {
        QStringLiteral(" 01\t        85.0000\t(\u02DAC)           \t        84.9000\t(\u02DAC)           \t") + notUsed +
            notUsed + QStringLiteral("10:00:00"),
        QStringLiteral(" 02\t       400.0000\t(kPa)          \t        25.0000\t(\u02DAC)           \t") + notUsed +
            notUsed + QStringLiteral("10:00:00"),
        QStringLiteral(" 03\t        50.0000\t(kPa)          \t        24.5000\t(\u02DAC)           \t") + notUsed +
            notUsed + QStringLiteral("10:00:00"),
        Rule('-', 145)};
    for (int i = 0; i + 4 <= body.size(); i += 4)
        EXPECT_EQ(body.mid(i, 4), group) << "group at " << i;
}

TEST_F(TrendLogTest, AutoSaveClosesAndReopensWithAnEqualsRuleAndNoNewHeader) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    settings->WriteInt(trendkeys::kAutoSave, 1);
    OpenSingleSheet();
    // One minute on a faster clock than the rest of the test, so the reopen comes within it.
    const double scale = vmc::TimeScale();
    vmc::SetTimeScale(0.002);
    ClickLogging();
    vmc::SetTimeScale(scale);
    EXPECT_EQ(sheet->AutoSaveIntervalMs(), 120);

    const QString name = QStringLiteral("Log_PV_Single.txt");
    const QString equals = Rule('=', 80);
    const auto rules = [&] { return LogLines(name).count(equals); };
    ASSERT_TRUE(SpinUntil([&] { return rules() >= 4; }));
    now = now.addSecs(3600);
    ClickLogging();

    const QStringList lines = LogLines(name);
    EXPECT_EQ(lines.count(kPVStars), 2) << "one title block";
    const int firstReopen = static_cast<int>(lines.indexOf(equals, 8));
    ASSERT_GE(firstReopen, 8);
    const QStringList after = lines.mid(firstReopen + 1);
    EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](const QString& l) { return l.startsWith(QStringLiteral(" 00\t")); }))
        << "data lines go on after the reopen";
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("Measurement Term: 2024/05/17 10:00:00 ~ 2024/05/17 11:00:00"));
}

TEST_F(TrendLogTest, FileNamesFollowTheUserDefinedNamesAndStayInTheLogFolder) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    OpenSingleSheet();
    CTrendLog& log = sheet->Log();
    struct Case {
        int userDefined;
        const char* storedSingle; // null: never written
        int page;
        int pollingAddress;
        const char* expected;
    } cases[] = {
        {0, "Mine", 0, 0, "Log_PV_Single.txt"},
        {0, "Mine", 0, 3, "Log_PV_MultiDrop.txt"},
        {0, "Mine", 1, 3, "Log_DV.txt"},
        {1, "Mine", 0, 0, "Mine.txt"},
        {1, nullptr, 0, 0, "Log_PV_Single.txt.txt"},
        {1, nullptr, 0, 2, "Log_PV_MultiDrop.txt.txt"},
        {1, nullptr, 1, 0, "Log_DV.txt.txt"},
        {1, "../../elsewhere", 0, 0, "elsewhere.txt"},
        {1, "", 0, 0, "Log_PV_Single.txt"},        // emptied by hand: not a hidden ".txt"
        {1, "folder/", 0, 0, "Log_PV_Single.txt"},
        {1, ":colon", 0, 0, ":colon.txt"}, // a plain name, though Qt takes ":..." for a resource
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        settings->WriteInt(trendkeys::kUserDefinedFileName, c.userDefined);
        host->Profile().Store().remove(QStringLiteral("LogFile/PV_Log_FileName_SingleMode"));
        if (c.storedSingle)
            settings->WriteText(trendkeys::kPVLogSingle, QString::fromLatin1(c.storedSingle));
        host->Comm().SetPollingAddress(c.pollingAddress);
        EXPECT_EQ(log.GetLogFileName(c.page), QString::fromLatin1(c.expected));
        EXPECT_EQ(QFileInfo(log.LogFilePath(c.page)).absolutePath(), QDir(LogFolder()).absolutePath());
    }
}

TEST_F(TrendLogTest, UserDefinedNameIsTheFileThatGetsWritten) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    settings->WriteInt(trendkeys::kUserDefinedFileName, 1);
    settings->WriteText(trendkeys::kPVLogSingle, QStringLiteral("Line 3 PT-101"));
    OpenSingleSheet();
    ClickLogging();
    ASSERT_TRUE(WaitLines(QStringLiteral("Line 3 PT-101.txt"), 9));
    EXPECT_FALSE(QFile::exists(LogPath(QStringLiteral("Log_PV_Single.txt"))));
}

TEST_F(TrendLogTest, AnExistingFileGetsDataLinesOnly) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    QDir().mkpath(LogFolder());
    {
        QFile f(LogPath(QStringLiteral("Log_PV_Single.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier run\r\n");
    }
    settings->WriteText(trendkeys::kStartLogTime, QStringLiteral("2024/05/16 08:00:00"));
    OpenSingleSheet();
    ClickLogging();
    ASSERT_TRUE(WaitLines(QStringLiteral("Log_PV_Single.txt"), 3));
    ClickLogging();
    const QStringList lines = LogLines(QStringLiteral("Log_PV_Single.txt"));
    EXPECT_EQ(lines[0], QStringLiteral("earlier run"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(" 00\t"))) << lines[1].toStdString();
    EXPECT_FALSE(lines.contains(kPVStars));
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("Measurement Term: 2024/05/16 08:00:00 ~ 2024/05/17 10:00:00"));
    EXPECT_EQ(settings->GetText(trendkeys::kStartLogTime), QStringLiteral("2024/05/16 08:00:00"));
}

TEST_F(TrendLogTest, AlwaysOnLoggingStartsWithTheSheetAndEndsWithADashRule) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    settings->WriteInt(trendkeys::kAlwaysFileLogging, 1);
    OpenSingleSheet();
    EXPECT_TRUE(sheet->LoggingBox()->isChecked());
    EXPECT_TRUE(sheet->IsLogging());
    ASSERT_TRUE(WaitLines(QStringLiteral("Log_PV_Single.txt"), 10));
    CloseSheet();
    const QStringList lines = LogLines(QStringLiteral("Log_PV_Single.txt"));
    EXPECT_EQ(lines.last(), Rule('-', 80));
    EXPECT_FALSE(lines.join('\n').contains(QStringLiteral("Measurement Term")));
}

TEST_F(TrendLogTest, AFileThatCannotBeCreatedLeavesLoggingOffAndTheBoxChecked) {
    AddSteady("KP510", 0, 0x00A101, 50.0f, "PT-101");
    Select({0});
    {
        QFile blocker(LogFolder()); // a file where the folder should be
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    OpenSingleSheet();
    Boxes().Clear();
    ClickLogging();
    EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{QStringLiteral("File Create Failed")}));
    EXPECT_EQ(Boxes().Boxes().front().caption, QStringLiteral("VMC70"));
    EXPECT_TRUE(sheet->LoggingBox()->isChecked());
    EXPECT_FALSE(sheet->IsLogging());
    // Polling goes on regardless.
    line->ClearWrites();
    EXPECT_TRUE(WaitPolled(2));
}
