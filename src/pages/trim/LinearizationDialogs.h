#pragma once
// The linearization tables of the maker's temperature transmitters: a 22-point table for a
// transmitter variable and a 10-point table for the cold junction, read and written a few points
// per frame; and the transfer-function setup that says which correction applies. The two table
// dialogs are one dialog built from a description of rows, commands and texts.
#include "pages/trim/Controls.h"
#include "pages/trim/PointRecord.h"
#include "pages/trim/TrimDialog.h"

#include <QColor>
#include <span>
#include <vector>

class QComboBox;
class CLinearizationPlot;
namespace res {
struct LinRowIds;
}

struct LinearizationKind {
    const char* caption;
    int resourceId;
    std::span<const res::LinRowIds> rows;
    int leftRows; // rows in the left block
    int writeCommand;
    int readCommand;
    const char* variableLabel;
    const char* transferLabel;
    const char* currentHeading;
    const char* modifiedHeading;
    const char* noVariableText;
    const char* noUnitText;
    const char* nothingToWriteText;
    bool clearFlagsOnWrite; // a written row is no longer marked changed
    QColor labelBack;
};

class CLinearizationDlg : public CTrimDialog {
    Q_OBJECT
public:
    CLinearizationDlg(IPageHost& host, const LinearizationKind& kind, QWidget* parent);
    ~CLinearizationDlg() override;

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    bool RowModified(int row) const { return m_rows.at(static_cast<std::size_t>(row)).modified; }
    bool IsTracking() const { return m_bTracking; }
    bool IsBusy() const { return m_bBusy; }
    const std::vector<CPointRecord>& ReadList() const { return m_ReadList; }
    const std::vector<CPointRecord>& WriteList() const { return m_WriteList; }
    CLinearizationPlot* Plot() const { return m_wndPlot; }

protected:
    void OnInitDialog() override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;

private:
    void BuildBlock(class QGridLayout* grid, int firstRow, int lastRow);
    QLabel* ColourLabel(const QString& text);
    void SetRow(int row, float current, float modified, bool used);
    void ClearTable();
    static void SetEditMark(QLineEdit* edit, bool on);
    void OnRowEdited(int row, QLineEdit* edit);
    void OnUseClicked(int row);
    void OnRead();
    void OnWrite();
    void OnTransferFn();
    // Builds and sends the next read or write frame; false when nothing went out.
    bool SendFrame(int command);
    void EndOperation();
    void StopWithoutProgress();
    void RefreshPlot();
    bool RowValues(int row, float& current, float& modified);

    const LinearizationKind& m_kind;
    struct TableRow {
        QLineEdit* current = nullptr;
        QLineEdit* modifiedEdit = nullptr;
        QCheckBox* use = nullptr;
        bool modified = false;
    };
    std::vector<TableRow> m_rows;
    bool m_bTracking = false;
    bool m_bBusy = false;
    int m_nTransferIndex = 0;
    int m_nBound = 0;
    int m_nLastCommand = 0;
    std::vector<CPointRecord> m_ReadList;
    std::vector<CPointRecord> m_WriteList;

    QComboBox* m_wndVariable = nullptr;
    QComboBox* m_wndUnit = nullptr;
    QPushButton* m_wndRead = nullptr;
    QPushButton* m_wndWrite = nullptr;
    CLinearizationPlot* m_wndPlot = nullptr;
};

// "Transmitter Variable Linearzation": 22 points, commands 161 / 151.
class CVariableLinearizationDlg : public CLinearizationDlg {
    Q_OBJECT
public:
    explicit CVariableLinearizationDlg(IPageHost& host, QWidget* parent = nullptr);
};

// "CJ  Temperature Linearization": 10 cold-junction points, commands 183 / 173.
class CCJLinearizationDlg : public CLinearizationDlg {
    Q_OBJECT
public:
    explicit CCJLinearizationDlg(IPageHost& host, QWidget* parent = nullptr);
};

// "Transmitter Transfer FN Setup": which correction applies to a variable and to the cold
// junction: "Linearization" (0), "User Defined" (241) or "Not Used" (250). 165 reads, 155 writes.
class CTransferFnSetupDlg : public CTrimDialog {
    Q_OBJECT
public:
    CTransferFnSetupDlg(IPageHost& host, int variableRow, QWidget* parent = nullptr);

    int VariableSelection() const { return m_variable.Selected(); }
    int ColdJunctionSelection() const { return m_coldJunction.Selected(); }

    static int CodeOfRadio(int index);
    static int RadioOfCode(int code);

protected:
    void OnInitDialog() override;
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void Send(int command);

    int m_nVariableRow;
    QComboBox* m_wndVariable;
    trim::RadioGroup m_variable;
    trim::RadioGroup m_coldJunction;
};
