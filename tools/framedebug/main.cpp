// framedebug: the frame monitor. Listens as "FrameDebug"; the link reports every request and
// every answer it judges. Shows them as timestamped hex lines and can append them to a file.
#include "FrameAssembler.h"
#include "platform/RemoteEndpoint.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextStream>
#include <QToolBar>
#include <cstdio>
#include <memory>

namespace {

class Sink {
public:
    bool OpenFile(const QString& path, QString* error) {
        auto f = std::make_unique<QFile>(path);
        if (!f->open(QIODevice::Append | QIODevice::Text)) {
            *error = f->errorString();
            return false;
        }
        m_file = std::move(f);
        return true;
    }
    void CloseFile() { m_file.reset(); }
    bool HasFile() const { return m_file != nullptr; }
    void Write(const QString& line) {
        if (m_file) {
            m_file->write(line.toUtf8() + '\n');
            m_file->flush(); // a crash loses nothing already shown
        }
    }

private:
    std::unique_ptr<QFile> m_file;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("FrameDebug"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("HART frame monitor for Korvex VMC70."));
    p.addHelpOption();
    QCommandLineOption logOpt(QStringLiteral("log"), QStringLiteral("Append every frame to this file."),
                              QStringLiteral("file"));
    QCommandLineOption consoleOpt(QStringLiteral("console"), QStringLiteral("No window: print frames to stdout."));
    p.addOptions({logOpt, consoleOpt});
    p.process(app);

    vmc::EndpointServer server;
    QString error;
    if (!server.Listen(QStringLiteral("FrameDebug"), &error)) {
        std::fprintf(stderr, "framedebug: %s\n", qPrintable(error));
        return 1;
    }
    Sink sink;
    if (p.isSet(logOpt) && !sink.OpenFile(p.value(logOpt), &error)) {
        std::fprintf(stderr, "framedebug: %s: %s\n", qPrintable(p.value(logOpt)), qPrintable(error));
        return 1;
    }
    framedebug::FrameAssembler assembler;
    const bool console = p.isSet(consoleOpt);

    QMainWindow window;
    auto* view = new QPlainTextEdit(&window);
    view->setReadOnly(true);
    view->setMaximumBlockCount(20000);
    view->setFont(QFont(QStringLiteral("Monospace")));
    window.setCentralWidget(view);
    window.setWindowTitle(QStringLiteral("FrameDebug"));
    window.resize(900, 500);
    QToolBar* bar = window.addToolBar(QStringLiteral("Frames"));
    QAction* pause = bar->addAction(QStringLiteral("Pause"));
    pause->setCheckable(true);
    bar->addAction(QStringLiteral("Clear"), view, &QPlainTextEdit::clear);
    QAction* logAction = bar->addAction(QStringLiteral("Log to file..."));
    logAction->setCheckable(true);
    logAction->setChecked(sink.HasFile());
    QObject::connect(logAction, &QAction::toggled, &window, [&](bool on) {
        if (!on) {
            sink.CloseFile();
            window.statusBar()->showMessage(QStringLiteral("Logging stopped"));
            return;
        }
        const QString path = QFileDialog::getSaveFileName(&window, QStringLiteral("Append frames to"), QString(),
                                                          QStringLiteral("Text files (*.txt *.log)"));
        QString why;
        if (path.isEmpty() || !sink.OpenFile(path, &why)) {
            logAction->setChecked(false);
            if (!why.isEmpty())
                window.statusBar()->showMessage(why);
            return;
        }
        window.statusBar()->showMessage(QStringLiteral("Appending to ") + path);
    });

    server.SetHandler([&](const vmc::RemoteMessage& m) {
        if (m.msg == vmc::WM_CLOSE) {
            QApplication::quit();
            return;
        }
        auto frame = assembler.Feed(m, QDateTime::currentDateTime());
        if (!frame)
            return;
        const QString line = framedebug::FormatFrame(*frame);
        sink.Write(line);
        if (console) {
            std::printf("%s\n", qPrintable(line));
            std::fflush(stdout);
        } else if (!pause->isChecked()) {
            view->appendPlainText(line);
        }
    });
    if (!console)
        window.show();
    return app.exec();
}
