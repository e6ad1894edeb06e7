#pragma once
// The message-box service of the desktop program: a QMessageBox over the active window.
#include "platform/MessageBox.h"

class CDesktopMessageBoxes final : public vmc::MessageBoxService {
public:
    int Show(const vmc::BoxRecord& box) override;
};
