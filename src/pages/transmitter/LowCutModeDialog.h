#pragma once
// "Low Cut Mode" (dialog 233): the low-flow cut-off of a pressure transmitter, read with the
// maker's command 235 and written with 245 (mode: 0 linear, 1 zero; range in percent, 0 to 20).
#include "pages/common/FieldBinding.h"
#include "pages/common/HartPage.h"

class QLineEdit;
class QRadioButton;

class CLowCutModeDlg : public CHartDialog {
    Q_OBJECT
public:
    explicit CLowCutModeDlg(IPageHost& host, QWidget* parent = nullptr);

    void OnRead();
    void OnWrite();

    float m_fLowCutRange = 0.0f;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void Send(int command);

    QRadioButton* m_linear = nullptr;
    QRadioButton* m_zero = nullptr;
    QLineEdit* m_range = nullptr;
    FieldBinding m_fields;
};
