#include "shell/DesktopMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

int CDesktopMessageBoxes::Show(const vmc::BoxRecord& box) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case vmc::BoxIcon::Information: icon = QMessageBox::Information; break;
    case vmc::BoxIcon::Warning: icon = QMessageBox::Warning; break;
    case vmc::BoxIcon::Error: icon = QMessageBox::Critical; break;
    case vmc::BoxIcon::Question: icon = QMessageBox::Question; break;
    case vmc::BoxIcon::None: break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (box.buttons) {
    case vmc::MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case vmc::MB_YESNOCANCEL: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case vmc::MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case vmc::MB_RETRYCANCEL: buttons = QMessageBox::Retry | QMessageBox::Cancel; break;
    default: break;
    }
    QString text = box.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox mb(icon, box.caption, text, buttons, QApplication::activeWindow());
    switch (mb.exec()) {
    case QMessageBox::Cancel: return vmc::IDCANCEL;
    case QMessageBox::Yes: return vmc::IDYES;
    case QMessageBox::No: return vmc::IDNO;
    case QMessageBox::Retry: return vmc::IDRETRY;
    case QMessageBox::Ok: return vmc::IDOK;
    default: return box.buttons == vmc::MB_OK ? vmc::IDOK : vmc::IDCANCEL;
    }
}
