#pragma once
// "Transmitter Status" (dialog 209): the additional status of the current device (command 48) and
// its maintenance actions: configuration data initialisation (39), self test (41) and master
// reset (42). After an action the device is polled with command 1 every 3 seconds until it answers
// with response code 0; a wait window shows meanwhile without blocking this dialog.
#include "pages/common/HartPage.h"

#include <array>

class QComboBox;
class QLineEdit;
class cWaitDialog;

class CTransmitterStatus : public CHartDialog {
    Q_OBJECT
public:
    enum Timer { kPollTimer = 1 };
    static constexpr int kPollMs = 3000;
    static constexpr int kStatusFields = 21;

    explicit CTransmitterStatus(IPageHost& host, QWidget* parent = nullptr);
    ~CTransmitterStatus() override;

    void OnConfigurationInitialize();
    void OnSelfTest();
    void OnMasterReset();
    void OnStatus();

    QString FieldText(int item) const;
    cWaitDialog& WaitWindow() const { return *m_wait; }
    bool m_bSelfTest = false;
    bool m_bConfigInit = false;
    bool m_bMasterReset = false;
    bool m_bExtMemWrite = false;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;
    void OnTimer(int id) override;
    void done(int result) override;

private:
    // Queues the command and sends it when the link is free; false when the link refused it.
    bool Send(int command);
    void StartAction(int command, bool& flag, const QString& message);
    void OnPollAnswer();
    void ShowStatus(int dataCount);
    void StopWaiting();

    QComboBox* m_eepromList = nullptr;
    std::array<QLineEdit*, kStatusFields> m_fields{};
    cWaitDialog* m_wait = nullptr;
    bool m_bWaitShown = false;
};
