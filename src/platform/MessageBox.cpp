#include "platform/MessageBox.h"

#include <cstdio>

namespace vmc {
namespace {

std::shared_ptr<MessageBoxService>& Current() {
    static std::shared_ptr<MessageBoxService> service = std::make_shared<ConsoleMessageBoxes>();
    return service;
}

} // namespace

MessageBoxService& MessageBoxes() { return *Current(); }

std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service) {
    auto previous = Current();
    Current() = service ? std::move(service) : std::make_shared<ConsoleMessageBoxes>();
    return previous;
}

int ShowBox(const QString& caption, const QString& text, BoxIcon icon, int buttons) {
    return MessageBoxes().Show(BoxRecord{caption, text, icon, buttons});
}

QString ProgramTitle() { return QStringLiteral("Korvex VMC70 Ver 2.3.33"); }

int PlainBox(const QString& text, int buttons) {
    return ShowBox(QStringLiteral("VMC70"), text, BoxIcon::Warning, buttons);
}

int FirstButtonAnswer(int buttons) {
    switch (buttons) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

int ConsoleMessageBoxes::Show(const BoxRecord& box) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(box.caption), qPrintable(box.text.trimmed()));
    return FirstButtonAnswer(box.buttons);
}

int ScriptedMessageBoxes::Show(const BoxRecord& box) {
    m_boxes.push_back(box);
    if (m_observer)
        m_observer(box);
    if (!m_answers.empty()) {
        const int a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return m_default >= 0 ? m_default : FirstButtonAnswer(box.buttons);
}

std::vector<QString> ScriptedMessageBoxes::Texts() const {
    std::vector<QString> out;
    for (const auto& b : m_boxes)
        out.push_back(b.text);
    return out;
}

} // namespace vmc
