#include "shell/StatusPanes.h"

#include "link/LinkThread.h"
#include "monitor/ProgressBar.h"
#include "resources/Strings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace {
// X11 reports NumLock as the Mod2 bit of a key event's native modifiers.
constexpr quint32 kNativeNumLock = 0x10;
// A transaction fills the bar: 3 when the frame goes out, one step per byte received, full when
// the answer is accepted.
constexpr int kProgressRange = 50;
constexpr int kProgressAtSend = 3;
} // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar)
    : QObject(bar), m_bar(bar), m_wndProgress(std::make_unique<CProgressBar>()) {
    // The panes' widths, grown to the longest text they show in this font.
    const QFontMetrics fm(bar->font());
    const int widths[5] = {100, std::max(60, fm.horizontalAdvance(QStringLiteral("Polling: 15")) + 12), 100,
                           std::max(80, fm.horizontalAdvance(QStringLiteral("Retry : 5")) + 12), 40};
    const QString texts[5] = {res::LoadString(res::IDS_IDLE_MESSAGE), res::LoadString(res::IDS_PANE_POLLING),
                              res::LoadString(res::IDS_PANE_BLANK), res::LoadString(res::IDS_PANE_RETRY),
                              QStringLiteral("NUM")};
    for (int i = 0; i < 5; ++i) {
        auto* pane = new QLabel(texts[i], bar);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        pane->setMinimumWidth(widths[i]);
        if (i > 0) {
            pane->setFixedWidth(widths[i]);
            pane->setFrameShape(QFrame::StyledPanel);
            pane->setFrameShadow(QFrame::Sunken);
        }
        m_panes[i] = pane;
    }
    bar->addWidget(m_panes[0], 1);
    for (int i = 1; i < 5; ++i)
        bar->addPermanentWidget(m_panes[i]);
    m_panes[4]->setEnabled(false);
    qApp->installEventFilter(this);
}

CStatusPanes::~CStatusPanes() { qApp->removeEventFilter(this); }

QLabel* CStatusPanes::Pane(int index) const { return index >= 0 && index < 5 ? m_panes[index] : nullptr; }

void CStatusPanes::SetMessageText(const QString& text) {
    m_panes[0]->setText(text.isEmpty() ? res::LoadString(res::IDS_IDLE_MESSAGE) : text);
}

QString CStatusPanes::MessageText() const { return m_panes[0]->text(); }

void CStatusPanes::UpdatePolling(int pollingAddress) {
    m_panes[1]->setText(pollingAddress == -1 ? QStringLiteral("Polling: ")
                                             : QStringLiteral("Polling: %1").arg(pollingAddress));
    m_panes[3]->setText(QStringLiteral("Retry : 0"));
}

void CStatusPanes::OnComState(int state, int retry) {
    CProgressBar& progress = *m_wndProgress;
    switch (state) {
    case hart::IDLE_COM_STATE:
        if (progress.IsShown())
            progress.SetPos(kProgressRange);
        break;
    case hart::SEND_COM_STATE:
        if (!progress.IsShown())
            progress.Create(m_panes[2], QString(), 100, kProgressRange, true);
        progress.SetPos(kProgressAtSend);
        break;
    case hart::RECEIVE_COM_STATE:
        if (progress.IsShown())
            progress.StepIt();
        break;
    case hart::COMERROR_COM_STATE:
    case hart::NORESPONSE_COM_STATE:
        if (progress.IsShown())
            progress.Clear();
        break;
    default: break;
    }
    if (state == hart::SEND_COM_STATE || state == hart::RETRY_COM_STATE || state == hart::NORESPONSE_COM_STATE)
        m_panes[3]->setText(QStringLiteral("Retry : %1").arg(retry));
}

bool CStatusPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->nativeModifiers() != 0 || key->nativeScanCode() != 0)
            m_panes[4]->setEnabled((key->nativeModifiers() & kNativeNumLock) != 0);
    }
    return QObject::eventFilter(watched, event);
}
