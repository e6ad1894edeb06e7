#pragma once
// Every message box of the program goes through one service. The desktop shows QMessageBox;
// command-line tools print; tests install a scripted responder that records each box and answers
// it, so nothing ever blocks on a modal box.
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace vmc {

enum class BoxIcon { None, Information, Warning, Error, Question };

// Button sets and answers with the framework's values, so callers can compare like they always did.
enum BoxButtons : int { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNOCANCEL = 3, MB_YESNO = 4, MB_RETRYCANCEL = 5 };
enum BoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7 };

struct BoxRecord {
    QString caption;
    QString text;
    BoxIcon icon = BoxIcon::None;
    int buttons = MB_OK;
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int Show(const BoxRecord& box) = 0;
};

// The service in force for this process (the desktop one in the program, a console one in tools).
MessageBoxService& MessageBoxes();
// Installs a service; returns the previous one. Passing nullptr restores the console service.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);

int ShowBox(const QString& caption, const QString& text, BoxIcon icon = BoxIcon::None, int buttons = MB_OK);

// The program title, caption of most boxes.
QString ProgramTitle();
// A plain box: the framework's application box with caption "VMC70" and the exclamation icon.
int PlainBox(const QString& text, int buttons = MB_OK);

// Prints boxes to stderr and answers with the first button.
class ConsoleMessageBoxes final : public MessageBoxService {
public:
    int Show(const BoxRecord& box) override;
};

// Records every box; answers from a queue, then with a default answer.
class ScriptedMessageBoxes final : public MessageBoxService {
public:
    int Show(const BoxRecord& box) override;
    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    void SetDefaultAnswer(int answer) { m_default = answer; }
    // Called for every box before it is answered (tests use it to act while a box is "open").
    void SetObserver(std::function<void(const BoxRecord&)> f) { m_observer = std::move(f); }
    const std::vector<BoxRecord>& Boxes() const { return m_boxes; }
    std::vector<QString> Texts() const;
    void Clear() { m_boxes.clear(); }

private:
    std::vector<BoxRecord> m_boxes;
    std::deque<int> m_answers;
    int m_default = -1; // -1: first button of the set
    std::function<void(const BoxRecord&)> m_observer;
};

int FirstButtonAnswer(int buttons);

} // namespace vmc
