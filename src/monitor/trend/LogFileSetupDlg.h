#pragma once
// "Log File Setup": whether logging starts with every trend sheet, the auto-save period, the
// folder the log files go to, and, when the user names them, the names of the three log files.
// "Setup" stores what was changed and closes; a name or a folder the program cannot write to
// keeps the dialog open with the focus on it.
#include "monitor/trend/TrendSettings.h"
#include "pages/common/FieldBinding.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class CSpinButton;

class CLogFileSetupDlg : public QDialog {
    Q_OBJECT
public:
    // Asks for a folder; an empty text when the choice was cancelled.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;

    explicit CLogFileSetupDlg(CProfile& profile, QWidget* parent = nullptr);
    ~CLogFileSetupDlg() override;

    void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

    // "Setup": false when something was refused and the dialog stays open.
    bool OnSetup();
    QLineEdit* FolderEdit() const { return m_editFolder; }

private:
    struct NameField {
        const CProfileTextKey* key;
        QLineEdit* edit;
        QString atOpening;
    };

    void BuildForm();
    void EnableNames();
    void OnBrowse();
    bool CheckFolder(const QString& folder);
    static bool CanWrite(const QString& path);

    CTrendSettings m_settings;
    FieldBinding m_fields;
    FolderChooser m_chooseFolder;
    bool m_bAlways = false;
    bool m_bUserDefined = false;
    int m_nAutoSave = 60;
    QString m_strFolderAtOpening;

    QCheckBox* m_checkAlways = nullptr;
    QCheckBox* m_checkUserDefined = nullptr;
    QLineEdit* m_editAutoSave = nullptr;
    CSpinButton* m_spinAutoSave = nullptr;
    QLineEdit* m_editFolder = nullptr;
    QPushButton* m_buttonBrowse = nullptr;
    NameField m_names[3] = {};
};
