#include "resources/Menus.h"

#include "resources/CommandIds.h"

#include <QHash>

namespace res {
namespace {

MenuItem Item(const char* caption, int id) { return MenuItem{QString::fromUtf8(caption), id, {}}; }
MenuItem Separator() { return MenuItem{}; }
MenuItem Popup(const char* caption, std::vector<MenuItem> items) {
    return MenuItem{QString::fromUtf8(caption), 0, std::move(items)};
}

std::vector<MenuItem> SystemMenu() {
    return {Item("Log File Setup(&L)", ID_LOGFILE_SETUP), Item("Open(&O)", ID_FILE_OPEN_TEXT), Separator(),
            Item("Com. Setup(&S)", ID_COM_SETUP), Item("Com. Connect(&C)", ID_COM_CONNECT), Separator(),
            Item("Exit(&X)", ID_APP_EXIT)};
}

std::vector<MenuItem> ViewMenu() {
    return {Item("Tool Bar(&T)", ID_VIEW_TOOLBAR), Item("Status Bar(&S)", ID_VIEW_STATUS_BAR), Separator(),
            Item("Tag(&A)", ID_VIEW_TAG), Item("Unique ID(&U)", ID_VIEW_UNIQUEID)};
}

std::vector<MenuItem> AdminMenu() {
    return {
        Popup("System(&S)", SystemMenu()),
        Popup("Search(&E)", {Item("Searching HART Device(&S)", ID_SEARCH_DEVICE), Separator(),
                             Item("Mod Bus(&M)", ID_MODBUS), Item("Test", ID_TEST),
                             Item("Device Setting", ID_DEVICE_SETTING), Item("Auto DAC Trim", ID_AUTO_DAC_TRIM),
                             Item("Test Report(&T)", ID_TEST_REPORT),
                             Item("Auto Sensor Full Trim", ID_AUTO_SENSOR_FULL_TRIM),
                             Item("Initialize for Temp", ID_INITIALIZE_TEMP),
                             Item("Auto Calibration For Temp", ID_AUTOCAL_TEMP), Separator(),
                             Item("PollingAddress Setting", ID_POLLING_ADDRESS_SETTING),
                             Item("Frame Debug", ID_FRAME_DEBUG),
                             Item("Chamber Controller", ID_CHAMBER_CONTROLLER),
                             Item("Remote Control", ID_REMOTE_CONTROL)}),
        Popup("Transmitter Setup(&X)",
              {Item("Transmitter Information(&I)", ID_TRANSMITTER_INFO),
               Item("Transmitter Setup(&E)", ID_TRANSMITTER_SETUP),
               Item("Transmitter Status(&A)", ID_TRANSMITTER_STATUS), Item("Totalize(&T)", ID_TOTALIZE),
               Item("GWR Level", ID_GWR_LEVEL), Item("LCD Display Mode(&D)", ID_LCD_DISPLAY_MODE), Separator(),
               Item("Reference Setup(&R)", ID_REFERENCE_SETUP), Item("For Debug(&D)", ID_FOR_DEBUG),
               Item("Self Compensation(&F)", ID_SELF_COMPENSATION), Item("Command Test(&C)", ID_COMMAND_TEST),
               Item("Test Mode(&T)", ID_TEST_MODE), Item("CFG_MULT", ID_CFG_MULT),
               Item("Auto Zeroing", ID_AUTO_ZEROING)}),
        Item("Data Trend(&T)", ID_DATA_TREND),
        Popup("Auto Calibration(&A)",
              {Popup("Pressure Transmitter(&P)",
                     {Item("Setup(&S)", ID_AUTOCAL_SETUP), Item("Auto Calibration(&A)", ID_AUTOCAL_PROGRAM),
                      Item("Auto Calibration Start(&U)", ID_AUTOCAL_START), Separator(),
                      Item("All Zero Trim", ID_ALL_ZERO_TRIM), Item("Changing Unit", ID_CHANGING_UNIT),
                      Item("Others Setup", ID_OTHERS_SETUP)}),
               Item("Imsi", ID_IMSI), Item("Imsi2", ID_IMSI2)}),
        Popup("View(&V)", ViewMenu()),
        Popup("Help(&H)", {Item("VMC70 Info(&I)", ID_APP_ABOUT)}),
    };
}

std::vector<MenuItem> UserMenu() {
    return {
        Popup("System(&S)", SystemMenu()),
        Popup("Search(&E)", {Item("Searching HART Device(&S)", ID_SEARCH_DEVICE)}),
        Popup("Transmitter Setup(&X)",
              {Item("Transmitter Information(&I)", ID_TRANSMITTER_INFO),
               Item("Transmitter Setup(&X)", ID_TRANSMITTER_SETUP),
               Item("Transmitter Status(&S)", ID_TRANSMITTER_STATUS), Item("Totalize(&T)", ID_TOTALIZE),
               Item("GWR Level", ID_GWR_LEVEL), Item("LCD Display Mode(&L)", ID_LCD_DISPLAY_MODE)}),
        Item("Data Trend(&T)", ID_DATA_TREND),
        Popup("View(&V)", ViewMenu()),
        Popup("Help(&H)", {Item("VMC70 Info(&A)...", ID_APP_ABOUT)}),
    };
}

std::vector<MenuItem> TreePopup() {
    return {Popup("Device", {Item("Transmitter Information(&I)", ID_TRANSMITTER_INFO),
                             Item("Transmitter Setup(&X)", ID_TRANSMITTER_SETUP),
                             Item("Transmitter Status(&S)", ID_TRANSMITTER_STATUS), Separator(),
                             Item("LCD Display Mode(&L)", ID_LCD_DISPLAY_MODE), Separator(),
                             Item("Data Trend(&D)", ID_DATA_TREND)})};
}

} // namespace

const std::vector<MenuItem>& Menu(int resourceId) {
    static const std::vector<MenuItem> admin = AdminMenu();
    static const std::vector<MenuItem> user = UserMenu();
    static const std::vector<MenuItem> popup = TreePopup();
    static const std::vector<MenuItem> none;
    switch (resourceId) {
    case IDR_MENU_ADMIN: return admin;
    case IDR_MENU_USER: return user;
    case IDR_MENU_TREE_POPUP: return popup;
    default: return none;
    }
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_TRANSMITTER_STATUS},
        {QKeySequence(Qt::CTRL | Qt::Key_D), ID_LCD_DISPLAY_MODE},
        {QKeySequence(Qt::CTRL | Qt::Key_E), ID_TRANSMITTER_SETUP},
        {QKeySequence(Qt::CTRL | Qt::Key_I), ID_TRANSMITTER_INFO},
        {QKeySequence(Qt::CTRL | Qt::Key_L), ID_LOGFILE_SETUP},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_SEARCH_DEVICE},
        {QKeySequence(Qt::CTRL | Qt::Key_T), ID_DATA_TREND},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_APP_EXIT},
    };
    return table;
}

const std::vector<int>& ToolBarButtons() {
    static const std::vector<int> buttons = {ID_APP_EXIT,         0, ID_COM_CONNECT,        ID_COM_SETUP,
                                             ID_LOGFILE_SETUP,    0, ID_SEARCH_DEVICE,      0,
                                             ID_TRANSMITTER_INFO, ID_TRANSMITTER_SETUP, ID_TRANSMITTER_STATUS,
                                             ID_LCD_DISPLAY_MODE, 0, ID_DATA_TREND,         0,
                                             ID_APP_ABOUT};
    return buttons;
}

QString CommandIconPath(int commandId) {
    static const QHash<int, QString> icons = {
        {ID_APP_EXIT, QStringLiteral(":/icons/exit.svg")},
        {ID_COM_CONNECT, QStringLiteral(":/icons/connect.svg")},
        {ID_COM_SETUP, QStringLiteral(":/icons/comsetup.svg")},
        {ID_LOGFILE_SETUP, QStringLiteral(":/icons/logfile.svg")},
        {ID_SEARCH_DEVICE, QStringLiteral(":/icons/search.svg")},
        {ID_TRANSMITTER_INFO, QStringLiteral(":/icons/information.svg")},
        {ID_TRANSMITTER_SETUP, QStringLiteral(":/icons/setup.svg")},
        {ID_TRANSMITTER_STATUS, QStringLiteral(":/icons/status.svg")},
        {ID_LCD_DISPLAY_MODE, QStringLiteral(":/icons/lcd.svg")},
        {ID_DATA_TREND, QStringLiteral(":/icons/trend.svg")},
        {ID_APP_ABOUT, QStringLiteral(":/icons/about.svg")},
    };
    return icons.value(commandId);
}

} // namespace res
