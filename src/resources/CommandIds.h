#pragma once
// Command identifiers shared by both menus, the tool bar, the accelerators and the tree pop-up.
// The numbers are the program's own (stored nowhere, but pages and tests address commands by them).

namespace res {

enum CommandId : int {
    ID_LOGFILE_SETUP = 32776,
    ID_COM_SETUP = 32777,
    ID_COM_CONNECT = 32778,
    ID_VIEW_TAG = 32779,
    ID_VIEW_UNIQUEID = 32780,
    ID_SEARCH_DEVICE = 32781,
    ID_TRANSMITTER_SETUP = 32782,
    ID_COMMAND_TEST = 32783,
    ID_DATA_TREND = 32784,
    ID_TRANSMITTER_INFO = 32787,
    ID_LCD_DISPLAY_MODE = 32793,
    ID_REFERENCE_SETUP = 32794,
    ID_TRANSMITTER_STATUS = 32795,
    ID_FILE_OPEN_TEXT = 32796,
    ID_AUTOCAL_SETUP = 32802,
    ID_AUTOCAL_PROGRAM = 32805,
    ID_AUTOCAL_START = 32809,
    ID_IMSI = 32811,
    ID_SELF_COMPENSATION = 32812,
    ID_FOR_DEBUG = 32813,
    ID_MODBUS = 32814,
    ID_TEST_REPORT = 32815,
    ID_IMSI2 = 32816,
    ID_ALL_ZERO_TRIM = 32817,
    ID_CHANGING_UNIT = 32818,
    ID_TEST = 32819,
    ID_OTHERS_SETUP = 32820,
    ID_DEVICE_SETTING = 32821,
    ID_AUTO_DAC_TRIM = 32822,
    ID_AUTO_SENSOR_FULL_TRIM = 32823,
    ID_AUTOCAL_TEMP = 32825,
    ID_INITIALIZE_TEMP = 32826,
    ID_FRAME_DEBUG = 32827,
    ID_CHAMBER_CONTROLLER = 32828,
    ID_TEST_MODE = 32833,
    ID_POLLING_ADDRESS_SETTING = 32841,
    ID_TOTALIZE = 32846,
    ID_CFG_MULT = 32847,
    ID_AUTO_ZEROING = 32848,
    ID_REMOTE_CONTROL = 32849,
    ID_GWR_LEVEL = 32850,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// Menu and accelerator resources.
inline constexpr int IDR_MENU_ADMIN = 128;
inline constexpr int IDR_MENU_USER = 139;
inline constexpr int IDR_MENU_TREE_POPUP = 138;
inline constexpr int IDR_TOOLBAR = 129;

} // namespace res
