#pragma once
// "Transmitter Information" (dialog 185): the identity of the current device. Fields from the
// link's device record and from commands 13, 12, 16 and 15; edits queue the matching write (6,
// 17, 18, 19) once the page has loaded, and "&Apply" sends them.
#include "pages/transmitter/TransmitterPage.h"

#include <QString>
#include <array>
#include <map>

class CSpinBuddy;
class CUpperEdit;
class QComboBox;
class QLineEdit;
class QPushButton;

class CTransmitterInformation : public CTransmitterPage {
    Q_OBJECT
public:
    explicit CTransmitterInformation(IPageHost& host, QWidget* parent = nullptr);

    void OnInitDialog() override;

    // Members shown in the fields.
    int m_nPollingAddress = 0;
    int m_nOldPollingAddress = 0; // the device's address when command 6 went out
    QString m_strTag;
    QString m_strProductId;
    QString m_strUniqueId;
    QString m_strMessage;
    QString m_strDescriptor;
    int m_nYear = 2004;
    int m_nMonth = 1;
    int m_nDay = 1;
    quint32 m_nFinalAssembly = 0;
    int m_nUniversalRevision = 0;
    int m_nDeviceRevision = 0;
    int m_nSoftwareRevision = 0;
    int m_nHardwareRevision = 0;
    int m_nRequestPreambles = 0;
    int m_nResponsePreambles = 0;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;
    void OnFail(int state) override;

private:
    void Build();
    // A user edit of a field: queues its write once the page has loaded.
    void Edited(int command);
    // Tag, descriptor and date: the fields of commands 13 and 18.
    std::array<QWidget*, 5> Command18Fields() const;
    // The field a command reads or writes (gets the focus when the device refuses it).
    QWidget* FieldOf(int command) const;
    // Shows the fields the answer to a command carried.
    void ShowFieldsOf(int command);

    QLineEdit* m_pollingEdit = nullptr;
    CUpperEdit* m_tagEdit = nullptr;
    CUpperEdit* m_messageEdit = nullptr;
    CUpperEdit* m_descriptorEdit = nullptr;
    QLineEdit* m_yearEdit = nullptr;
    QLineEdit* m_monthEdit = nullptr;
    QLineEdit* m_dayEdit = nullptr;
    QLineEdit* m_finalEdit = nullptr;
    QComboBox* m_manufacturer = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_distributor = nullptr;
    std::map<int, CSpinBuddy*> m_spins; // by spin id
    bool m_bShown = false;               // the fields have been shown from an answer once
};
