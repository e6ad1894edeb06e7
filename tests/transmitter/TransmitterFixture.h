#pragma once
// Driving the transmitter windows against the simulated loop: controls found by their ids, typing
// that replaces a field, and the commands sent since a point.
#include "common/PageFixture.h"
#include "shell/ShellFixture.h" // WhenDialogOpens, PrintTo(QString)
#include "pages/transmitter/Form.h"
#include "platform/TimeScale.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace testing_support {

template <class W = QWidget> W* Control(const QWidget* root, int id) {
    W* w = root->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
}

inline QString Text(const QWidget* root, int id) {
    if (auto* e = root->findChild<QLineEdit*>(QString::number(id)))
        return e->text();
    if (auto* c = root->findChild<QComboBox*>(QString::number(id)))
        return c->currentText();
    if (auto* l = root->findChild<QLabel*>(QString::number(id)))
        return l->text();
    if (auto* b = root->findChild<QAbstractButton*>(QString::number(id)))
        return b->text();
    ADD_FAILURE() << "no control " << id;
    return {};
}

// The user replaces what the field holds.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// The user picks a row of a drop-down list with the keyboard.
inline void Choose(QComboBox* list, int row) {
    list->setFocus();
    while (list->currentIndex() < row)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > row)
        QTest::keyClick(list, Qt::Key_Up);
}

inline void Click(QAbstractButton* button) {
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

template <class T> std::vector<T> From(const std::vector<T>& all, std::size_t first) {
    return first < all.size() ? std::vector<T>(all.begin() + static_cast<long>(first), all.end())
                              : std::vector<T>{};
}

} // namespace testing_support
