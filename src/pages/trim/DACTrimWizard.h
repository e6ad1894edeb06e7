#pragma once
// The loop-current DAC trim as a wizard: fix the output at 4 mA, tell the transmitter what the
// reference meter reads (command 45), fix it at 20 mA, tell it again (46), and let the loop go.
// The voltage form reads the meter across a resistor and converts volts to milliamperes.
#include "pages/common/HartPage.h"
#include "pages/common/PropertySheet.h"

#include <map>

class QVBoxLayout;

class QLineEdit;

class CDACTrimPropSheet : public CPropertySheet {
    Q_OBJECT
public:
    enum class Kind { Current, Voltage };

    CDACTrimPropSheet(IPageHost& host, Kind kind, QWidget* parent = nullptr);

    IPageHost& Host() const { return m_host; }
    Kind WizardKind() const { return m_kind; }
    // Set by the resistance page of the voltage wizard; read by its meter pages.
    float m_fDACTrimResistance = 250.0f;
    // True from the first fixed current the wizard asked for until it let the loop go.
    bool m_bFixedByWizard = false;

    // Returns the loop to normal at once (Finish, Cancel, closing the wizard).
    void ReleaseLoop();
    void reject() override;

private:
    IPageHost& m_host;
    Kind m_kind;
};

// One page of the wizard: every request is one float.
class CDACTrimPage : public CHartPage {
    Q_OBJECT
public:
    CDACTrimPage(CDACTrimPropSheet& sheet, int resourceId, const QString& text);

    bool OnSetActive() override;

protected:
    CDACTrimPropSheet& Wizard() const { return m_wizard; }
    // Queues the command with its value and sends it when the link is free.
    void SendFloat(int command, float value);
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;
    // An accepted answer to a command of this page.
    virtual void OnAnswer(int command) { (void)command; }
    virtual int WizardButtons() const { return CPropertySheet::PSWIZB_BACK | CPropertySheet::PSWIZB_NEXT; }

    QVBoxLayout* Body() const { return m_body; }

private:
    CDACTrimPropSheet& m_wizard;
    QVBoxLayout* m_body;
    std::map<int, float> m_values;
};

// "Input a resistance." (voltage wizard only)
class CDACTrimVoltageWizard0 : public CDACTrimPage {
    Q_OBJECT
public:
    explicit CDACTrimVoltageWizard0(CDACTrimPropSheet& sheet);
    bool OnWizardNext() override;

protected:
    int WizardButtons() const override { return CPropertySheet::PSWIZB_NEXT; }

private:
    float m_fResistance;
    QLineEdit* m_wndValue;
};

// "Connect reference meter."
class CDACTrimWizard1 : public CDACTrimPage {
    Q_OBJECT
public:
    explicit CDACTrimWizard1(CDACTrimPropSheet& sheet);

protected:
    int WizardButtons() const override { return CPropertySheet::PSWIZB_NEXT; }
};

// "Setting field device output to 4mA." / "... 20mA.": Next fixes the output.
class CDACTrimOutputPage : public CDACTrimPage {
    Q_OBJECT
public:
    CDACTrimOutputPage(CDACTrimPropSheet& sheet, int resourceId, float milliamperes);
    bool OnWizardNext() override;

private:
    float m_fOutput;
};

class CDACTrimWizard2 : public CDACTrimOutputPage {
    Q_OBJECT
public:
    explicit CDACTrimWizard2(CDACTrimPropSheet& sheet);
};

class CDACTrimWizard4 : public CDACTrimOutputPage {
    Q_OBJECT
public:
    explicit CDACTrimWizard4(CDACTrimPropSheet& sheet);
};

// "Enter meter value.": "Setup" sends what the meter reads (45 at 4 mA, 46 at 20 mA), in
// milliamperes; a voltage page converts the volts across the resistor first.
class CDACTrimMeterPage : public CDACTrimPage {
    Q_OBJECT
public:
    CDACTrimMeterPage(CDACTrimPropSheet& sheet, int resourceId, int command, bool volts, bool last);
    bool OnSetActive() override;
    bool OnWizardFinish() override;
    void OnSetup();

protected:
    void OnAnswer(int command) override;
    int WizardButtons() const override;

private:
    float ToMilliamperes(float meter) const;
    float FromMilliamperes(float ma) const;

    int m_nCommand;
    bool m_bVolts;
    bool m_bLast;
    float m_fValue = 0.0f;
    QLineEdit* m_wndValue;
};

class CDACTrimCurrentWizard3 : public CDACTrimMeterPage {
    Q_OBJECT
public:
    explicit CDACTrimCurrentWizard3(CDACTrimPropSheet& sheet);
};

class CDACTrimVoltageWizard3 : public CDACTrimMeterPage {
    Q_OBJECT
public:
    explicit CDACTrimVoltageWizard3(CDACTrimPropSheet& sheet);
};

class CDACTrimCurrentWizard5 : public CDACTrimMeterPage {
    Q_OBJECT
public:
    explicit CDACTrimCurrentWizard5(CDACTrimPropSheet& sheet);
};

class CDACTrimVoltageWizard5 : public CDACTrimMeterPage {
    Q_OBJECT
public:
    explicit CDACTrimVoltageWizard5(CDACTrimPropSheet& sheet);
};
