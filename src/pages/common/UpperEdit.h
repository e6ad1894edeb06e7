#pragma once
// An edit that turns every character the user types or pastes into its capital, for the HART text
// fields that Packed ASCII can only carry in capitals.
#include <QLineEdit>

class CUpperEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CUpperEdit(QWidget* parent = nullptr);
};
