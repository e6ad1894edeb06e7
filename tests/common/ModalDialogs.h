#pragma once
// Driving modal dialogs from a test: the test starts what opens the dialog, and the callback runs
// on it once it is shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace testing_support {

// Runs f on the next modal dialog of type D once it is shown.
template <class D, class F> void WhenDialogOpens(F f) {
    // A timer rather than a self-rescheduling callback: nothing keeps itself alive, and the
    // callback runs from a timer event, where a nested wait still gets the link's answers (inside
    // a posted call Qt holds back the other posted events, and with them those answers).
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, f]() mutable {
        if (auto* d = dynamic_cast<D*>(QApplication::activeModalWidget()); d && d->isVisible()) {
            timer->stop();
            timer->deleteLater();
            f(*d);
        }
    });
    timer->start();
}

} // namespace testing_support
