#pragma once
// "HART Command Test" (dialog 172): any command with a data field built row by row from typed
// values, sent to the current device; the answer is shown raw (command, byte count, both status
// bytes, data bytes).
#include "pages/common/HartPage.h"
#include "pages/transmitter/CommandTestRow.h"

class CSpinBuddy;
class CUpperEdit;
class QComboBox;
class QLineEdit;
class QTreeWidget;

class CCommandTestDlg : public CHartDialog {
    Q_OBJECT
public:
    enum DataType {
        kInt8 = commandtest::kInt8,
        kInt16 = commandtest::kInt16,
        kInt24 = commandtest::kInt24,
        kFloat32 = commandtest::kFloat32,
        kPackedAscii = commandtest::kPackedAscii
    };

    explicit CCommandTestDlg(IPageHost& host, QWidget* parent = nullptr);

    // ">": appends a row from the offset, type, value and length fields.
    void OnAdd();
    // "<": deletes the selected rows.
    void OnRemove();
    // "Run": sends the command with the rows as its data.
    void OnRun();

    QTreeWidget* RequestList() const { return m_list; }

protected:
    void OnReceive(int command, int dataCount) override;

private:
    void ClearFields();
    void OnDataType(int index);

    QLineEdit* m_command = nullptr;
    QLineEdit* m_offset = nullptr;
    CSpinBuddy* m_offsetSpin = nullptr;
    QComboBox* m_type = nullptr;
    CUpperEdit* m_value = nullptr;
    QLineEdit* m_length = nullptr;
    QTreeWidget* m_list = nullptr;
    QLineEdit* m_responseCommand = nullptr;
    QLineEdit* m_dataBytes = nullptr;
    QLineEdit* m_code0 = nullptr;
    QLineEdit* m_code1 = nullptr;
    QLineEdit* m_buffer = nullptr;
};
