// Test entry: a QApplication on the offscreen platform, a shrunken time scale, and a scripted
// message-box responder so no test ever blocks on a box.
#include "platform/MessageBox.h"
#include "platform/TimeScale.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vmc::SetTimeScale(0.05);
    vmc::SetMessageBoxService(std::make_shared<vmc::ScriptedMessageBoxes>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
