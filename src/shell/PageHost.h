#pragma once
// What a page, sheet or dialog opened by the main frame sees of it: the link and its relay
// (become the receiver with Relay().SetReceiver(Handle()) before each request), the selection and
// the current device (the link's polling address), the status bar, and the device tree's handle
// for WM_TREE_* messages. The main frame implements it; CStandalonePageHost serves pages tested
// or run without the main window.
#include "hart/LinkRelay.h"
#include "shell/AddressList.h"

#include <QString>

class CProfile;
class QWidget;

class IPageHost {
public:
    virtual ~IPageHost() = default;

    virtual CHartComm& Comm() = 0;
    virtual CLinkRelay& Relay() = 0;
    // Ascending set of the polling addresses ticked in the device tree.
    virtual CAddressList& SelectedDevices() = 0;
    // The current device: the link's polling address (-1 when none).
    int CurrentDevice() { return Comm().GetPollingAddress(); }
    // Naming of tree rows: 1 tag, 2 unique identifier.
    virtual int DetectMode() const = 0;
    // The attempt count the user configured (pages that lower it for a while restore this one).
    virtual int ConfiguredRetryCount() const = 0;
    // True while the device search (or another tool that owns the loop) runs.
    virtual bool IsSearching() const = 0;
    virtual void SetSearching(bool on) = 0;

    // Message pane; an empty text also resets the status-bit view.
    virtual void SetMessageText(const QString& text) = 0;
    // "Polling: %d" and "Retry : 0" panes, after the current device changed.
    virtual void UpdatePollingPane() = 0;
    // Owner window for dialogs (null without one).
    virtual QWidget* DialogParent() = 0;
    // The user's settings store (the one the program was started with).
    virtual CProfile& Profile() = 0;

    vmc::TargetHandle DeviceTree() { return Relay().DeviceTree(); }
};
