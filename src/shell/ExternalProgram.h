#pragma once
// A program of this project the frame starts and later closes (the frame monitor, the
// calibration coordinator). It is found next to our executable or on PATH and addressed by the
// window title it listens under.
#include "platform/RemoteEndpoint.h"

#include <QString>

class CExternalProgram {
public:
    CExternalProgram(QString program, QString windowTitle);

    // Starts it detached; false (with *error) when it cannot be found or started.
    bool Start(QString* error = nullptr);
    // Sends WM_CLOSE when it is running under its title; false when it is not.
    bool Close();
    // True once Start() has succeeded (until Close()).
    bool WasStarted() const { return m_started; }
    // True when a program listens under the title now.
    bool IsRunning();
    // Where the program would be started from; empty when it cannot be found.
    QString Locate() const;

    const QString& Program() const { return m_program; }

private:
    QString m_program;
    vmc::RemoteWindow m_window;
    bool m_started = false;
};
