#pragma once
// A sheet whose pages read and write the transmitter when the user says so: a "Read" button
// (8194) at the left end of the button row sends WM_SHEET_READ (0x40B) and a write button sends
// WM_SHEET_WRITE (0x40C), synchronously, to the active page. The write button is either the
// sheet's own "Apply" (12321, enabled from the start) or a "Setup" button (8195) beside "Read",
// disabled at the start, with no "Apply" at all. The pages enable and disable the two buttons
// themselves. OK is hidden; the cancel button reads "Exit".
#include "pages/common/PropertySheet.h"
#include "platform/Messages.h"

class CReadSetupSheet : public CPropertySheet {
    Q_OBJECT
public:
    enum class Writer { Apply, Setup };
    static constexpr int kReadButtonId = 8194;
    static constexpr int kSetupButtonId = 8195;

    CReadSetupSheet(const QString& caption, Writer writer, QWidget* parent = nullptr);

    QPushButton* ReadButton() const { return m_read; }
    // "Apply" or "Setup", whichever sends WM_SHEET_WRITE.
    QPushButton* WriteButton() const { return m_writer == Writer::Apply ? ApplyButton() : m_setup; }

    // The sheet of a page, when it is one of these.
    static CReadSetupSheet* Of(const CPropertyPage* page);

    // Sends the message to the active page (0 when the page takes no messages).
    vmc::LRESULT SendToActivePage(unsigned msg);

protected:
    void OnApplyButton() override;
    void showEvent(QShowEvent* e) override;

private:
    Writer m_writer;
    QPushButton* m_read = nullptr;
    QPushButton* m_setup = nullptr;
};
