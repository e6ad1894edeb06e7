#pragma once
// The status-bit view under the device list: which communication-error bits and field device
// status bits the last answer carried, one row per bit. It also resets the device's
// configuration-changed flag (command 38) once a page has closed, as primary master only: a
// secondary master must leave that flag to the primary.
#include "platform/MessageTarget.h"

#include <QIcon>
#include <QTreeWidget>

class CLinkRelay;

class CRightCodeView : public QTreeWidget, public vmc::MessageTarget {
public:
    enum Image { kSetImage = 0, kClearImage = 1 };
    static constexpr int kRowCount = 8;

    // The relay may go away first; the view then simply stops registering with it.
    explicit CRightCodeView(CLinkRelay& relay, QWidget* parent = nullptr);
    ~CRightCodeView() override;

    // Image index of a cell (column 0 communication error, 1 field device status).
    int ImageOf(int row, int column) const;
    bool IsConfigChanged() const { return m_bConfigChanged; }
    const QIcon& ImageIcon(Image image) const { return m_images[image]; }

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CLinkRelay* Relay() const;
    void SetImage(int row, int column, Image image);
    void ShowStatus(int responseCode, int deviceStatus);
    void ResetStatus();

    vmc::TargetHandle m_relay;
    QIcon m_images[2];
    bool m_bConfigChanged = false;
    bool m_bRegistered = false;
};
