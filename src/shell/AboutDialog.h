#pragma once
// The About box: program name, the variant ("For User") and the version.
#include <QDialog>

class CAboutDlg : public QDialog {
public:
    CAboutDlg(const QString& variantText, QWidget* parent = nullptr);
};
