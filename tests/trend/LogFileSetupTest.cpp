// "Log File Setup": what it shows, what "Setup" stores, and the names and folders it refuses.
#include "monitor/trend/LogFileSetupDlg.h"

#include "common/SimFixture.h"
#include "monitor/trend/TrendSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testing_support::Boxes;

namespace {

class LogFileSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Boxes().Clear();
        profile = std::make_unique<CProfile>(
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("vmc70.ini")), QSettings::IniFormat));
        settings = std::make_unique<CTrendSettings>(*profile);
    }
    QString Folder() const { return dir.filePath(QStringLiteral("logs")); }
    template <class W> W* Find(QWidget& w, const char* id) { return w.findChild<W*>(QString::fromLatin1(id)); }
    void Type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir dir;
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CTrendSettings> settings;
};

} // namespace

TEST_F(LogFileSetupTest, OpensWithTheStoredSettingsAndTheFolderInView) {
    CLogFileSetupDlg dlg(*profile);
    EXPECT_FALSE(Find<QCheckBox>(dlg, "1312")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "1313")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(dlg, "1353")->text(), QStringLiteral("60"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "1249")->text(), QStringLiteral("Log_PV_Single.txt"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "1250")->text(), QStringLiteral("Log_PV_MultiDrop.txt"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "1314")->text(), QStringLiteral("Log_DV.txt"));
    for (const char* id : {"1249", "1250", "1314"})
        EXPECT_FALSE(Find<QLineEdit>(dlg, id)->isEnabled()) << id;
    // By default the logs go to a folder of the program's own in the user's documents, never next
    // to the program.
    const QString folder = QDir::fromNativeSeparators(dlg.FolderEdit()->text());
    EXPECT_EQ(folder, CTrendSettings::DefaultLogFolder());
    EXPECT_FALSE(folder.startsWith(QCoreApplication::applicationDirPath()));

    QTest::mouseClick(Find<QCheckBox>(dlg, "1313"), Qt::LeftButton);
    for (const char* id : {"1249", "1250", "1314"})
        EXPECT_TRUE(Find<QLineEdit>(dlg, id)->isEnabled()) << id;
}

TEST_F(LogFileSetupTest, HandEditedValuesOutsideWhatTheDialogStoresAreNotUsed) {
    // A relative folder would put the logs wherever the program was started; an auto-save period
    // the dialog cannot take would be refused the moment the dialog is confirmed.
    settings->WriteText(trendkeys::kLogFolder, QStringLiteral("logs"));
    settings->WriteInt(trendkeys::kAutoSave, 9999);
    EXPECT_EQ(settings->LogFolder(), CTrendSettings::DefaultLogFolder());
    CLogFileSetupDlg dlg(*profile);
    EXPECT_EQ(Find<QLineEdit>(dlg, "1353")->text(), QStringLiteral("60"));
    EXPECT_EQ(QDir::fromNativeSeparators(dlg.FolderEdit()->text()), CTrendSettings::DefaultLogFolder());
}

TEST_F(LogFileSetupTest, SetupStoresTheSettingsNamesAndFolder) {
    CLogFileSetupDlg dlg(*profile);
    dlg.SetFolderChooser([this](QWidget*, const QString&) { return Folder(); });
    QTest::mouseClick(Find<QPushButton>(dlg, "BrowseFolder"), Qt::LeftButton);
    EXPECT_EQ(QDir::fromNativeSeparators(dlg.FolderEdit()->text()), Folder());
    QTest::mouseClick(Find<QCheckBox>(dlg, "1312"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>(dlg, "1313"), Qt::LeftButton);
    Type(Find<QLineEdit>(dlg, "1353"), QStringLiteral("5"));
    Type(Find<QLineEdit>(dlg, "1249"), QStringLiteral("Line3 PV"));
    Type(Find<QLineEdit>(dlg, "1314"), QStringLiteral("Line3 DV"));
    QTest::mouseClick(Find<QPushButton>(dlg, "1"), Qt::LeftButton);
    EXPECT_TRUE(Boxes().Texts().empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    using namespace trendkeys;
    EXPECT_EQ(settings->GetInt(kAlwaysFileLogging), 1);
    EXPECT_EQ(settings->GetInt(kUserDefinedFileName), 1);
    EXPECT_EQ(settings->GetInt(kAutoSave), 5);
    EXPECT_EQ(settings->GetText(kPVLogSingle), QStringLiteral("Line3 PV"));
    EXPECT_EQ(settings->GetText(kDVLog), QStringLiteral("Line3 DV"));
    EXPECT_FALSE(profile->Store().contains(QStringLiteral("LogFile/PV_Log_FileName_MultiDropMode")))
        << "an unchanged name is not written";
    EXPECT_EQ(settings->LogFolder(), Folder());
    // The name check leaves nothing behind.
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty());
}

TEST_F(LogFileSetupTest, RefusedInputKeepsTheDialogOpenOnTheField) {
    settings->WriteText(trendkeys::kLogFolder, Folder());
    struct Case {
        const char* field;
        const char* typed;
        const char* box;
    } cases[] = {
        {"1353", "61", "Please enter an integer between 0 and 60."},
        {"1353", "-1", "Please enter an integer between 0 and 60."},
        {"1250", "../outside", "Invalid file name!"},
        {"1250", "", "Invalid file name!"},
        {"1314", "sub/name", "Invalid file name!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CLogFileSetupDlg dlg(*profile);
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        // What an earlier refusal had stored before it stays stored ("User Define Name" among it).
        if (!Find<QCheckBox>(dlg, "1313")->isChecked())
            QTest::mouseClick(Find<QCheckBox>(dlg, "1313"), Qt::LeftButton);
        QLineEdit* field = Find<QLineEdit>(dlg, c.field);
        Type(field, QString::fromLatin1(c.typed));
        Find<QCheckBox>(dlg, "1312")->setFocus();
        Boxes().Clear();
        EXPECT_FALSE(dlg.OnSetup());
        ASSERT_EQ(Boxes().Texts(), (std::vector<QString>{QString::fromLatin1(c.box)}));
        EXPECT_EQ(QApplication::focusWidget(), field) << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
        EXPECT_FALSE(profile->Store().contains(QStringLiteral("LogFile/PV_Log_FileName_MultiDropMode")));
        EXPECT_FALSE(profile->Store().contains(QStringLiteral("LogFile/DV_Log_FileName")));
    }
    // The box of a refused name is the program's warning.
    EXPECT_EQ(Boxes().Boxes().front().caption, vmc::ProgramTitle());
    EXPECT_EQ(Boxes().Boxes().front().icon, vmc::BoxIcon::Warning);
}

TEST_F(LogFileSetupTest, CheckingTheNameOfAnExistingLogLeavesItAsItWas) {
    settings->WriteText(trendkeys::kLogFolder, Folder());
    QDir().mkpath(Folder());
    {
        QFile f(Folder() + QStringLiteral("/Kept.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a day of samples\r\n");
    }
    CLogFileSetupDlg dlg(*profile);
    QTest::mouseClick(Find<QCheckBox>(dlg, "1313"), Qt::LeftButton);
    Type(Find<QLineEdit>(dlg, "1249"), QStringLiteral("Kept"));
    EXPECT_TRUE(dlg.OnSetup());
    QFile f(Folder() + QStringLiteral("/Kept.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a day of samples\r\n"));
}
