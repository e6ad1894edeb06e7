#include "pages/trim/LoopTimeDialog.h"

#include "pages/trim/Controls.h"
#include "pages/trim/TrimIds.h"

#include <QGridLayout>
#include <QProgressBar>

using namespace res;

CLoopTimeDialog::CLoopTimeDialog(IPageHost& host, int minutes, float current, QWidget* parent)
    : CTrimDialog(host, parent), m_nMinutes(minutes), m_fCurrent(current), m_nRemaining(minutes * 60) {
    setWindowTitle(QStringLiteral("Loop Time"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Fixed Current :"), this), 0, 0);
    layout->addWidget(trim::Label(this, IDC_LOOPTIME_CURRENT, trim::Fixed4(current)), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("(mA)"), this), 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("AO :"), this), 1, 0);
    m_wndAO = trim::Label(this, IDC_LOOPTIME_AO, QString());
    layout->addWidget(m_wndAO, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("(mA)"), this), 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Remaining :"), this), 2, 0);
    m_wndRemaining = trim::Label(this, IDC_LOOPTIME_REMAINING, QString());
    layout->addWidget(m_wndRemaining, 2, 1);
    m_wndProgress = trim::Named(new QProgressBar(this), IDC_LOOPTIME_PROGRESS);
    m_wndProgress->setRange(0, std::max(1, m_nRemaining));
    m_wndProgress->setTextVisible(false);
    layout->addWidget(m_wndProgress, 3, 0, 1, 3);
    m_wndStatus = new QLabel(this);
    layout->addWidget(m_wndStatus, 4, 0, 1, 3);
    m_wndStop = trim::Button(this, IDC_LOOPTIME_STOP, QStringLiteral("Stop"));
    layout->addWidget(m_wndStop, 5, 2);
    connect(m_wndStop, &QPushButton::clicked, this, [this] { Leave(); });
    m_wndStop->setEnabled(false);
    ShowRemaining();
}

CLoopTimeDialog::~CLoopTimeDialog() {
    KillTimer(kTickTimer);
    KillTimer(kReadTimer);
}

void CLoopTimeDialog::OnInitDialog() {
    m_wndStatus->setText(QStringLiteral("Setting the loop current..."));
    QueueCommand(40);
    SendNextCommand();
}

void CLoopTimeDialog::ShowRemaining() {
    const int s = std::max(0, m_nRemaining);
    m_wndRemaining->setText(QString::asprintf("%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60));
    m_wndProgress->setValue(m_nMinutes * 60 - s);
}

void CLoopTimeDialog::Leave() {
    if (m_state != State::Holding && m_state != State::Ended)
        return;
    KillTimer(kTickTimer);
    KillTimer(kReadTimer);
    m_state = State::Leaving;
    m_wndStop->setEnabled(false);
    m_wndStatus->setText(QStringLiteral("Returning the loop current to normal..."));
    m_CommandQueue.RemoveAll();
    QueueCommand(40);
    SendWhenIdle();
}

bool CLoopTimeDialog::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command == 40) {
        Comm().SetRequestOffset(0);
        Comm().SetFloat(m_state == State::Entering ? m_fCurrent : 0.0f);
        byteCount = 4;
    }
    return true;
}

void CLoopTimeDialog::OnReceive(int command, int dataCount) {
    if (command == 2 && dataCount > 0) {
        Comm().SetResponseOffset(0);
        m_wndAO->setText(trim::Fixed4(Comm().GetFloat()));
    } else if (command == 40) {
        if (dataCount <= 0) {
            ReportCommandError(4, QStringLiteral("40"));
            if (m_state == State::Entering) {
                m_state = State::Ended;
                QDialog::reject();
                return;
            }
            // Still fixed: the user may try again.
            m_state = State::Ended;
            m_wndStop->setEnabled(true);
            m_wndStatus->setText(QStringLiteral("The loop current is still fixed."));
            return;
        }
        if (m_state == State::Entering) {
            m_state = State::Holding;
            m_wndStop->setEnabled(true);
            m_wndStatus->setText(QStringLiteral("Loop current fixed."));
            SetTimer(kTickTimer, 1000);
            SetTimer(kReadTimer, 5000);
            QueueCommand(2);
        } else if (m_state == State::Leaving) {
            m_state = State::Ended;
            accept();
            return;
        }
    }
    SendNextCommand();
}

void CLoopTimeDialog::OnFail(int state) {
    CTrimDialog::OnFail(state);
    if (m_state == State::Entering) {
        m_state = State::Ended;
        QDialog::reject();
    } else if (m_state == State::Leaving) {
        m_state = State::Ended;
        m_wndStop->setEnabled(true);
        m_wndStatus->setText(QStringLiteral("The loop current may still be fixed."));
    } else {
        SendNextCommand();
    }
}

void CLoopTimeDialog::OnTimer(int id) {
    if (id == kTickTimer && m_state == State::Holding) {
        --m_nRemaining;
        ShowRemaining();
        if (m_nRemaining <= 0)
            Leave();
    } else if (id == kReadTimer && m_state == State::Holding && LinkFree() && m_CommandQueue.IsEmpty()) {
        QueueCommand(2);
        SendNextCommand();
    }
}

void CLoopTimeDialog::reject() {
    // Closing while the current is held returns the loop to normal first.
    if (m_state == State::Holding) {
        Leave();
        return;
    }
    QDialog::reject();
}
