#include "monitor/trend/LogFileSetupDlg.h"

#include "monitor/trend/TrendWidgets.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace trendkeys;

CLogFileSetupDlg::CLogFileSetupDlg(CProfile& profile, QWidget* parent)
    : QDialog(parent), m_settings(profile), m_chooseFolder([](QWidget* owner, const QString& start) {
          return QFileDialog::getExistingDirectory(owner, QStringLiteral("Log Folder"), start);
      }) {
    setWindowTitle(QStringLiteral("Log File Setup"));
    BuildForm();

    m_bAlways = m_settings.GetInt(kAlwaysFileLogging) != 0;
    m_bUserDefined = m_settings.GetInt(kUserDefinedFileName) != 0;
    m_nAutoSave = m_settings.AutoSaveMinutes();
    m_strFolderAtOpening = m_settings.LogFolder();
    m_editFolder->setText(QDir::toNativeSeparators(m_strFolderAtOpening));
    for (NameField& n : m_names) {
        n.atOpening = m_settings.GetText(*n.key);
        n.edit->setText(n.atOpening);
    }
    m_fields.Update(false);
    EnableNames();
}

CLogFileSetupDlg::~CLogFileSetupDlg() = default;

void CLogFileSetupDlg::BuildForm() {
    m_checkAlways = new QCheckBox(QStringLiteral("Always Save"), this);
    m_checkAlways->setObjectName(QStringLiteral("1312"));
    m_checkUserDefined = new QCheckBox(QStringLiteral("User Define Name"), this);
    m_checkUserDefined->setObjectName(QStringLiteral("1313"));
    m_editAutoSave = trend::MakeEdit(1353, false, this);
    m_editAutoSave->setMaximumWidth(60);
    m_spinAutoSave = new CSpinButton(1008, m_editAutoSave, this);
    m_spinAutoSave->SetRange(0, CTrendSettings::kMaxAutoSave);

    auto* autoSave = new QHBoxLayout;
    autoSave->addWidget(new QLabel(QStringLiteral("Auto Save :"), this));
    autoSave->addWidget(m_editAutoSave);
    autoSave->addWidget(m_spinAutoSave);
    autoSave->addWidget(new QLabel(QStringLiteral("(min)"), this));
    autoSave->addStretch(1);

    m_editFolder = new QLineEdit(this);
    m_editFolder->setObjectName(QStringLiteral("LogFolder"));
    m_editFolder->setReadOnly(true);
    m_editFolder->setMinimumWidth(280);
    m_buttonBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    m_buttonBrowse->setObjectName(QStringLiteral("BrowseFolder"));
    m_buttonBrowse->setAutoDefault(false);
    auto* folder = new QHBoxLayout;
    folder->addWidget(new QLabel(QStringLiteral("Log Folder :"), this));
    folder->addWidget(m_editFolder, 1);
    folder->addWidget(m_buttonBrowse);

    auto* names = new QGroupBox(this);
    auto* grid = new QGridLayout(names);
    const struct {
        const CProfileTextKey* key;
        int id;
        const char* caption;
    } rows[] = {{&kPVLogSingle, 1249, "PV Log File Name(Single Mode) :"},
                {&kPVLogMultiDrop, 1250, "PV Log File Name(MultiDrop Mode) :"},
                {&kDVLog, 1314, "DV Log File Name :"}};
    int r = 0;
    for (const auto& row : rows) {
        auto* edit = new QLineEdit(names);
        edit->setObjectName(QString::number(row.id));
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), names), r, 0);
        grid->addWidget(edit, r, 1);
        grid->addWidget(new QLabel(QStringLiteral(".txt"), names), r, 2);
        m_names[r] = NameField{row.key, edit, QString()};
        ++r;
    }

    auto* setup = new QPushButton(QStringLiteral("Setup"), this);
    setup->setObjectName(QStringLiteral("1"));
    setup->setDefault(true);
    auto* exitButton = new QPushButton(QStringLiteral("Exit"), this);
    exitButton->setObjectName(QStringLiteral("2"));
    exitButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(setup);
    buttons->addWidget(exitButton);

    auto* top = new QHBoxLayout;
    top->addWidget(m_checkAlways);
    top->addWidget(m_checkUserDefined);
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(autoSave);
    layout->addLayout(folder);
    layout->addWidget(names);
    layout->addLayout(buttons);

    m_fields.Check(&m_bAlways, m_checkAlways);
    m_fields.Check(&m_bUserDefined, m_checkUserDefined);
    m_fields.Int(&m_nAutoSave, m_editAutoSave, 0, CTrendSettings::kMaxAutoSave);

    connect(m_checkUserDefined, &QCheckBox::clicked, this, [this] { EnableNames(); });
    connect(m_buttonBrowse, &QPushButton::clicked, this, [this] { OnBrowse(); });
    connect(setup, &QPushButton::clicked, this, [this] {
        if (OnSetup())
            accept();
    });
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CLogFileSetupDlg::EnableNames() {
    for (NameField& n : m_names)
        n.edit->setEnabled(m_checkUserDefined->isChecked());
}

void CLogFileSetupDlg::OnBrowse() {
    const QString chosen = m_chooseFolder ? m_chooseFolder(this, QDir::fromNativeSeparators(m_editFolder->text())) : QString();
    if (!chosen.isEmpty())
        m_editFolder->setText(QDir::toNativeSeparators(QDir::cleanPath(chosen)));
}

bool CLogFileSetupDlg::CanWrite(const QString& path) {
    // An existing file is opened for appending and left as it was; a new one is created and
    // removed again.
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.close();
    if (!existed)
        file.remove();
    return true;
}

bool CLogFileSetupDlg::CheckFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Invalid folder!"), vmc::BoxIcon::Warning);
        m_buttonBrowse->setFocus();
        return false;
    }
    return true;
}

bool CLogFileSetupDlg::OnSetup() {
    if (!m_fields.Update(true))
        return false;
    m_settings.WriteInt(kAlwaysFileLogging, m_bAlways ? 1 : 0);
    m_settings.WriteInt(kUserDefinedFileName, m_bUserDefined ? 1 : 0);
    m_settings.WriteInt(kAutoSave, m_nAutoSave);

    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(m_editFolder->text()));
    if (!CheckFolder(folder))
        return false;
    if (folder != m_strFolderAtOpening) {
        m_settings.WriteText(kLogFolder, folder);
        m_strFolderAtOpening = folder;
    }

    // The DV name first, then the PV names, as the dialog has always checked them.
    for (NameField* n : {&m_names[2], &m_names[0], &m_names[1]}) {
        const QString name = n->edit->text();
        if (name == n->atOpening)
            continue;
        const QString file = name + QStringLiteral(".txt");
        // A name, not a path: the log files stay in the log folder.
        const bool plain = !name.isEmpty() && QFileInfo(file).fileName() == file && !name.contains(QLatin1Char('\\'));
        if (!plain || !CanWrite(QDir(folder).filePath(file))) {
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Invalid file name!"), vmc::BoxIcon::Warning);
            n->edit->setFocus();
            return false;
        }
        m_settings.WriteText(*n->key, name);
        n->atOpening = name;
    }
    return true;
}
