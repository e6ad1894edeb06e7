#include "pages/common/UpperEdit.h"

CUpperEdit::CUpperEdit(QWidget* parent) : QLineEdit(parent) {
    // Only user edits are converted; text set by the program is shown as it is.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = cursorPosition();
        setText(upper);
        setCursorPosition(cursor);
    });
}
