#pragma once
// Dialog resources and the numeric ids of the controls that carry behaviour. Every such control
// has its id as its objectName, so tests and the resource tables address it the same way.
#include <QString>

namespace res {

inline QString IdName(int id) { return QString::number(id); }

// About box.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_ABOUT_VARIANT = 1356;
inline constexpr int IDC_ABOUT_VERSION = 1368;

// Search option form.
inline constexpr int IDD_SEARCH_OPTION = 270;
inline constexpr int IDC_AUTO_SEARCHING = 1379;
inline constexpr int IDC_ADDRESS_0 = 1380; // box N is 1380 + N
inline constexpr int IDC_OPTION_SHOWHIDE = 1180;
inline constexpr int IDC_SEARCH_NOW = 1396;

// Search dialog.
inline constexpr int IDD_SEARCH = 139;
inline constexpr int IDC_SEARCH_ANIMATION = 1003;
inline constexpr int IDC_SEARCH_ADDRESS = 1004;
inline constexpr int IDC_SEARCH_PROGRESS = 1005;
inline constexpr int IDCANCEL_BUTTON = 2;
inline constexpr int IDOK_BUTTON = 1;

// Com. Setup.
inline constexpr int IDD_COM_SETUP = 140;
inline constexpr int IDC_AUTO_COMPORT = 1353;
inline constexpr int IDC_COMPORT = 1354;
inline constexpr int IDC_RETRY_COUNT = 1001;
inline constexpr int IDC_PRIMARY_MASTER = 1002;
inline constexpr int IDC_SECONDARY_MASTER = 1003;

// Polling Addr.
inline constexpr int IDD_POLLING_ADDR = 228;
// Check box of address n (0..15).
inline constexpr int PollingAddrBoxId(int n) { return n <= 8 ? 1194 + n : 1096 + (n - 9); }

// PollingAddress Setting.
inline constexpr int IDD_POLLING_ADDRESS_SETTING = 255;
inline constexpr int IDC_PAS_COUNT = 1044;
inline constexpr int IDC_PAS_IN_ORDER = 1310;
inline constexpr int IDC_PAS_ALL_ZERO = 1311;
inline constexpr int IDC_PAS_AUTOMATIC = 1312;
inline constexpr int IDC_PAS_MANUAL = 1313;
inline constexpr int IDC_PAS_RUN = 1358;
inline constexpr int IDC_PAS_LINE1 = 1359;
inline constexpr int IDC_PAS_LINE2 = 1357;
inline constexpr int IDC_PAS_LINE3 = 1360;
inline constexpr int IDC_PAS_PRODUCT_ID = 1165;
// "Polling n" (n = 1..15): 1180 to 1195 without 1183.
inline constexpr int PollingButtonId(int n) { return n <= 3 ? 1179 + n : 1180 + n; }

// Device tree images.
inline constexpr int IDB_TREE_ROOT = 137;
inline constexpr int IDB_TREE_DEVICE = 135;
inline constexpr int IDB_TREE_DEVICE_SELECTED = 136;

} // namespace res
