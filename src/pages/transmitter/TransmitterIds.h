#pragma once
// Dialog resources and control ids of the transmitter information, setup and status windows and
// of the command tester. Controls carry these numbers as objectName.

namespace res {

// "Transmitter Information" page.
inline constexpr int IDD_TRANSMITTER_INFO = 185;
inline constexpr int IDC_INFO_POLLING = 1079;
inline constexpr int IDC_INFO_TAG = 1080;
inline constexpr int IDC_INFO_MANUFACTURER = 1225;
inline constexpr int IDC_INFO_TYPE = 1226;
inline constexpr int IDC_INFO_PRODUCT_ID = 1083;
inline constexpr int IDC_INFO_DISTRIBUTOR = 1227;
inline constexpr int IDC_INFO_UNIQUE_ID = 1084;
inline constexpr int IDC_INFO_MESSAGE = 1085;
inline constexpr int IDC_INFO_DESCRIPTOR = 1086;
inline constexpr int IDC_INFO_YEAR = 1087;
inline constexpr int IDC_INFO_MONTH = 1088;
inline constexpr int IDC_INFO_DAY = 1089;
inline constexpr int IDC_INFO_YEAR_SPIN = 1010;
inline constexpr int IDC_INFO_MONTH_SPIN = 1022;
inline constexpr int IDC_INFO_DAY_SPIN = 1024;
inline constexpr int IDC_INFO_FINAL_ASSEMBLY = 1090;
inline constexpr int IDC_INFO_UNIVERSAL_REV = 1091;
inline constexpr int IDC_INFO_DEVICE_REV = 1092;
inline constexpr int IDC_INFO_SOFTWARE_REV = 1093;
inline constexpr int IDC_INFO_HARDWARE_REV = 1096;
inline constexpr int IDC_INFO_REQUEST_PREAMBLES = 1025;
inline constexpr int IDC_INFO_REQUEST_SPIN = 1026;
inline constexpr int IDC_INFO_RESPONSE_PREAMBLES = 1019;
inline constexpr int IDC_INFO_RESPONSE_SPIN = 1020;
inline constexpr int IDC_INFO_TODAY = 1180;

// "Sensor && Output Information" page.
inline constexpr int IDD_SENSOR_OUTPUT_INFO = 186;
inline constexpr int IDC_SENSOR_SERIAL = 1000;
inline constexpr int IDC_SENSOR_MIN_SPAN = 1001;
inline constexpr int IDC_SENSOR_TYPE = 1002;
inline constexpr int IDC_SENSOR_UPPER = 1003;
inline constexpr int IDC_SENSOR_LOWER = 1004;
inline constexpr int IDC_SENSOR_ALARM = 1005;
inline constexpr int IDC_SENSOR_WRITE_PROTECT = 1006;
inline constexpr int IDC_SENSOR_PERCENT_SET = 1007;
inline constexpr int IDC_SENSOR_LOWER_UNIT = 1008;
inline constexpr int IDC_SENSOR_UPPER_UNIT = 1009;
inline constexpr int IDC_SENSOR_SPAN_UNIT = 1010;
inline constexpr int IDC_SENSOR_READ_PERCENT = 1180;
inline constexpr int IDC_SENSOR_GAIN = 1366;
inline constexpr int IDC_SENSOR_ZERO_GROUP = 1390; // 1390 to 1392

// "Transmitter Setup" page.
inline constexpr int IDD_TRANSMITTER_SETUP = 187;
inline constexpr int IDC_SETUP_PV = 1020;
inline constexpr int IDC_SETUP_SV = 1021;
inline constexpr int IDC_SETUP_AO = 1022;
inline constexpr int IDC_SETUP_PERCENT = 1023;
inline constexpr int IDC_SETUP_PV_UNIT = 1024;
inline constexpr int IDC_SETUP_SV_UNIT = 1025;
inline constexpr int IDC_SETUP_VARIABLE = 1011;
inline constexpr int IDC_SETUP_SENSOR = 1012;
inline constexpr int IDC_SETUP_SENSOR_LIST = 1180;
inline constexpr int IDC_SETUP_UNIT = 1013;
inline constexpr int IDC_SETUP_DAMPING = 1026;
inline constexpr int IDC_SETUP_TRANSFER = 1015;
inline constexpr int IDC_SETUP_UPPER = 1016;
inline constexpr int IDC_SETUP_LOWER = 1017;
inline constexpr int IDC_SETUP_UPPER_UNIT = 1009;
inline constexpr int IDC_SETUP_LOWER_UNIT = 1008;
inline constexpr int IDC_SETUP_LOW_CUT = 1038;
inline constexpr int IDC_SETUP_RANGE_RESET = 1367;

// "Low Cut Mode".
inline constexpr int IDD_LOW_CUT_MODE = 233;
inline constexpr int IDC_LOWCUT_LINEAR = 1028;
inline constexpr int IDC_LOWCUT_ZERO = 1029;
inline constexpr int IDC_LOWCUT_RANGE = 1472;
inline constexpr int IDC_LOWCUT_READ = 1003;
inline constexpr int IDC_LOWCUT_WRITE = 1006;

// "Transmitter Status".
inline constexpr int IDD_TRANSMITTER_STATUS = 209;
inline constexpr int IDC_STATUS_EEPROM_LIST = 1039;
inline constexpr int IDC_STATUS_CONFIG_INIT = 1040;
inline constexpr int IDC_STATUS_SELF_TEST = 1041;
inline constexpr int IDC_STATUS_MASTER_RESET = 1042;
inline constexpr int IDC_STATUS_EXT_MEM_WRITE = 1043;
inline constexpr int IDC_STATUS_SELF_RECOVERY = 1476;
inline constexpr int IDC_STATUS_MCU_STATUS = 1180;
inline constexpr int IDC_STATUS_READ = 4000;

// "Please wait for a while...".
inline constexpr int IDD_WAIT = 176;
inline constexpr int IDC_WAIT_TEXT = 1000;
inline constexpr int IDC_WAIT_ANIMATION = 1001;

// "HART Command Test".
inline constexpr int IDD_COMMAND_TEST = 172;
inline constexpr int IDC_TEST_COMMAND = 1268;
inline constexpr int IDC_TEST_OFFSET = 1288;
inline constexpr int IDC_TEST_OFFSET_SPIN = 1289;
inline constexpr int IDC_TEST_DATA_TYPE = 1270;
inline constexpr int IDC_TEST_DATA_VALUE = 1271;
inline constexpr int IDC_TEST_DATA_LENGTH = 1272;
inline constexpr int IDC_TEST_REQUEST_LIST = 1284;
inline constexpr int IDC_TEST_RESPONSE_COMMAND = 1275;
inline constexpr int IDC_TEST_DATA_BYTES = 1276;
inline constexpr int IDC_TEST_RESPONSE_CODE0 = 1277;
inline constexpr int IDC_TEST_RESPONSE_CODE1 = 1278;
inline constexpr int IDC_TEST_DATA_BUFFER = 1019;
inline constexpr int IDC_TEST_ADD = 1285;
inline constexpr int IDC_TEST_REMOVE = 1286;
inline constexpr int IDC_TEST_RUN = 1282;

} // namespace res
