#pragma once
// Up and down arrows beside an edit: a click (held, repeated) is one step up or down. What a step
// does to the edit is the concrete control's.
#include <QWidget>

class QToolButton;

class CSpinArrows : public QWidget {
    Q_OBJECT
public:
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

protected:
    CSpinArrows(int id, int arrowWidth, QWidget* parent);
    virtual void Step(int delta) = 0;

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
