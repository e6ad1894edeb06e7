#pragma once
// A progress bar laid over a pane of the main window's status bar, after an optional text that is
// written into the pane itself. The pane is a label of the status bar; the bar is created as its
// child and follows the pane's size. The frame holds this object; the bar widget belongs to the
// pane, so either may go first.
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QRect>
#include <QString>

class CProgressBar final : public QObject {
public:
    CProgressBar() = default;
    ~CProgressBar() override;

    // Range 0 to maximum, step 1. Fails without a pane.
    bool Create(QLabel* pane, const QString& text = QString(), int size = 100, int maximum = 100,
                bool smooth = false);

    // Every setter shows the bar again after a Clear.
    bool SetText(const QString& text);
    bool SetSize(int percent);
    void SetRange(int lower, int upper);
    int SetPos(int pos);         // returns the former position
    int OffsetPos(int delta);    // returns the former position
    int SetStep(int step);       // returns the former step
    int StepIt();                // returns the former position; past the top it starts over
    void Clear();                // hide the bar and blank the pane

    bool IsCreated() const { return !m_bar.isNull(); }
    bool IsShown() const;
    int Pos() const { return m_nPos; }
    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    QString Text() const { return m_strText; }
    int Size() const { return m_nSize; }
    QString PaneTextAtCreate() const { return m_strPaneText; }
    QRect BarRect() const { return m_rcBar; } // in the pane's coordinates
    QProgressBar* Bar() const { return m_bar.data(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowAgain();
    void Reposition();
    void ShowRange();
    int Clamp(int pos) const;

    QPointer<QLabel> m_pane;
    // The same object, for comparing events while it is being destroyed and no longer a label.
    QPointer<QObject> m_watched;
    QPointer<QProgressBar> m_bar;
    QString m_strText;
    QString m_strPaneText;
    int m_nSize = 100;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    int m_nStep = 1;
    QRect m_rcBar;
};
