#include "shell/ExternalProgram.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

CExternalProgram::CExternalProgram(QString program, QString windowTitle)
    : m_program(std::move(program)), m_window(std::move(windowTitle)) {}

QString CExternalProgram::Locate() const {
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + m_program;
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(m_program);
}

bool CExternalProgram::Start(QString* error) {
    const QString path = Locate();
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("\"%1\" was found neither next to this program nor on PATH.").arg(m_program);
        return false;
    }
    if (!QProcess::startDetached(path, {})) {
        if (error)
            *error = QStringLiteral("\"%1\" could not be started.").arg(path);
        return false;
    }
    m_started = true;
    return true;
}

bool CExternalProgram::IsRunning() { return m_window.Find(); }

bool CExternalProgram::Close() {
    // Looked up now rather than right after starting: the program may have needed a moment to
    // open its window, and it must still be closed.
    m_started = false;
    if (!m_window.Find())
        return false;
    return m_window.Send(vmc::WM_CLOSE, 0, 0);
}
