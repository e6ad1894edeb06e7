#include "resources/Strings.h"

#include <QHash>

namespace res {
namespace {

const QHash<int, QString>& Table() {
    static const QHash<int, QString> table = {
        {IDS_APP_TITLE, QStringLiteral("VMC70")},
        {IDS_IDLE_MESSAGE, QStringLiteral("READY")},
        {IDS_PANE_BLANK, QStringLiteral(" ")},
        {IDS_PANE_RETRY, QStringLiteral("Retry :")},
        {IDS_PANE_POLLING, QStringLiteral("Polling:")},
        {IDS_SOCKETS_FAILED, QStringLiteral("Windows 소켓 초기화에 실패하였습니다.")},
        {32776, QStringLiteral("Logging File Setup.\nLog File")},
        {32777, QStringLiteral("Comport Setup\nCom.Setup")},
        {32778, QStringLiteral("Hart Modem Connect.\nHart Modem Connect")},
        {32781, QStringLiteral("Device Connect.\nDevice Connect")},
        {32782, QStringLiteral("Transmitter Setup.\nTransmitter Setup")},
        {32784, QStringLiteral("View Transmitter Data.\nView Data")},
        {32787, QStringLiteral("Transmitter Information confirm\nTransmitter Information")},
        {32793, QStringLiteral("LCD Display Setup.\nLCD Display Mode")},
        {32795, QStringLiteral("Transmitter Status confirm.\nTransmitter Status")},
        {57664, QStringLiteral("About VMC70 Information.\nProgram Information")},
        {57665, QStringLiteral("Close Program.\nExit")},
    };
    return table;
}

} // namespace

QString LoadString(int id) { return Table().value(id); }

QString CommandPrompt(int commandId) { return LoadString(commandId).section(QLatin1Char('\n'), 0, 0); }

QString CommandTip(int commandId) { return LoadString(commandId).section(QLatin1Char('\n'), 1, 1); }

QString TitleText() { return QStringLiteral("Korvex VMC70 Ver 2.3.33"); }

QString VersionText() { return QStringLiteral("Ver 2.3.33"); }

} // namespace res
