#include "monitor/ProgressBar.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

namespace {

// Both looks share a frame so that switching between them only changes the fill.
const char* const kSmoothStyle = "QProgressBar { border: 1px solid palette(mid); background: palette(base); }"
                                 "QProgressBar::chunk { background-color: palette(highlight); }";
const char* const kBlockStyle = "QProgressBar { border: 1px solid palette(mid); background: palette(base); }"
                                "QProgressBar::chunk { background-color: palette(highlight); width: 8px; "
                                "margin: 1px; }";

} // namespace

CProgressBar::~CProgressBar() {
    if (m_watched)
        m_watched->removeEventFilter(this);
    delete m_bar.data();
}

bool CProgressBar::Create(QLabel* pane, const QString& text, int size, int maximum, bool smooth) {
    if (!pane)
        return false;
    if (m_watched)
        m_watched->removeEventFilter(this);
    delete m_bar.data();

    m_pane = pane;
    m_watched = pane;
    m_bar = new QProgressBar(pane);
    m_bar->setTextVisible(false);
    m_bar->setStyleSheet(QString::fromLatin1(smooth ? kSmoothStyle : kBlockStyle));
    m_nLower = 0;
    m_nUpper = maximum;
    m_nPos = Clamp(0);
    m_nStep = 1;
    m_strText = text;
    m_nSize = std::clamp(size, 0, 100);
    m_strPaneText = pane->text();
    m_rcBar = QRect();
    pane->installEventFilter(this);
    ShowRange();
    m_bar->show();
    Reposition();
    return true;
}

bool CProgressBar::IsShown() const { return m_bar && !m_bar->isHidden(); }

void CProgressBar::ShowAgain() {
    if (m_bar && m_bar->isHidden())
        m_bar->show();
}

bool CProgressBar::SetText(const QString& text) {
    if (!m_bar)
        return false;
    ShowAgain();
    m_strText = text;
    Reposition();
    return true;
}

bool CProgressBar::SetSize(int percent) {
    if (!m_bar)
        return false;
    ShowAgain();
    m_nSize = std::clamp(percent, 0, 100);
    Reposition();
    return true;
}

void CProgressBar::SetRange(int lower, int upper) {
    ShowAgain();
    m_nLower = lower;
    m_nUpper = upper;
    m_nPos = Clamp(m_nPos);
    ShowRange();
}

int CProgressBar::SetPos(int pos) {
    ShowAgain();
    const int former = m_nPos;
    m_nPos = Clamp(pos);
    ShowRange();
    return former;
}

int CProgressBar::OffsetPos(int delta) {
    const long long target = static_cast<long long>(m_nPos) + delta;
    return SetPos(static_cast<int>(std::clamp<long long>(target, m_nLower, std::max(m_nLower, m_nUpper))));
}

int CProgressBar::SetStep(int step) {
    ShowAgain();
    const int former = m_nStep;
    m_nStep = step;
    return former;
}

int CProgressBar::StepIt() {
    ShowAgain();
    const int former = m_nPos;
    const long long next = static_cast<long long>(m_nPos) + m_nStep;
    m_nPos = (next > m_nUpper || next < m_nLower) ? m_nLower : static_cast<int>(next);
    ShowRange();
    return former;
}

void CProgressBar::Clear() {
    if (m_bar)
        m_bar->hide();
    if (m_pane)
        m_pane->setText(QStringLiteral(" "));
}

int CProgressBar::Clamp(int pos) const { return std::clamp(pos, m_nLower, std::max(m_nLower, m_nUpper)); }

void CProgressBar::ShowRange() {
    if (!m_bar)
        return;
    // An empty range would turn the bar into a busy indicator; show it empty instead.
    if (m_nUpper > m_nLower) {
        m_bar->setRange(m_nLower, m_nUpper);
        m_bar->setValue(m_nPos);
    } else {
        m_bar->setRange(0, 1);
        m_bar->setValue(0);
    }
}

void CProgressBar::Reposition() {
    if (!m_pane || !m_bar)
        return;
    m_pane->setText(m_strText);
    const QRect pane = m_pane->contentsRect().adjusted(m_pane->margin(), 0, 0, 0);
    const QFontMetrics fm(m_pane->font());
    int left = pane.left();
    if (!m_strText.isEmpty())
        left += fm.horizontalAdvance(m_strText) + 2 * fm.horizontalAdvance(QLatin1Char(' '));
    const int paneRight = pane.left() + pane.width();
    const int right = std::max(left, paneRight - (100 - m_nSize) * pane.width() / 100);
    const int inset = pane.height() / 10;
    const QRect r(left, pane.top() + inset, right - left, pane.height() - 2 * inset);
    if (r == m_rcBar)
        return;
    m_rcBar = r;
    m_bar->setGeometry(r);
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watched.data() && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        Reposition();
    return QObject::eventFilter(watched, event);
}
