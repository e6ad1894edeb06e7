#pragma once
// Dialog resources and control ids of the trim pages, the DAC trim wizards, the zero adjustment,
// sensor trim, reference and linearization dialogs. Controls carry their id as objectName.
#include <array>

namespace res {

// "Transmitter Trim" page.
inline constexpr int IDD_TRANSMITTER_TRIM = 190;
inline constexpr int IDC_TRIM_PV = 1020;
inline constexpr int IDC_TRIM_SV = 1021;
inline constexpr int IDC_TRIM_AO = 1022;
inline constexpr int IDC_TRIM_PERCENT = 1023;
inline constexpr int IDC_TRIM_PV_UNIT = 1024;
inline constexpr int IDC_TRIM_SV_UNIT = 1025;
inline constexpr int IDC_TRIM_SPAN = 1027;
inline constexpr int IDC_TRIM_ZERO = 1028;
inline constexpr int IDC_TRIM_SENSOR_ZERO = 1029;
inline constexpr int IDC_TRIM_SENSOR_FULL = 1030;
inline constexpr int IDC_TRIM_FIXED_CURRENT = 1031;
inline constexpr int IDC_TRIM_FIXED_MODE = 1032;
inline constexpr int IDC_TRIM_DAC_CURRENT = 1033;
inline constexpr int IDC_TRIM_DAC_VOLTAGE = 1034;
inline constexpr int IDC_TRIM_DISPLAY_INFO = 1035;
inline constexpr int IDC_TRIM_LOOP_TEST = 1036;
inline constexpr int IDC_TRIM_ZERO_ADJUST = 1037;
inline constexpr int IDC_TRIM_CJ_LINEARIZATION = 1038;
inline constexpr int IDC_TRIM_MINUTES = 1039;

// "Loop Time".
inline constexpr int IDC_LOOPTIME_CURRENT = 1001;
inline constexpr int IDC_LOOPTIME_REMAINING = 1002;
inline constexpr int IDC_LOOPTIME_PROGRESS = 1003;
inline constexpr int IDC_LOOPTIME_AO = 1004;
inline constexpr int IDC_LOOPTIME_STOP = 1005;

// DAC trim wizard pages.
inline constexpr int IDD_DACTRIM_WIZARD1 = 163;
inline constexpr int IDD_DACTRIM_WIZARD2 = 161;
inline constexpr int IDD_DACTRIM_CURRENT3 = 165;
inline constexpr int IDD_DACTRIM_WIZARD4 = 164;
inline constexpr int IDD_DACTRIM_CURRENT5 = 166;
inline constexpr int IDD_DACTRIM_VOLTAGE0 = 220;
inline constexpr int IDD_DACTRIM_VOLTAGE3 = 221;
inline constexpr int IDD_DACTRIM_VOLTAGE5 = 222;
inline constexpr int IDC_DACTRIM_VALUE = 1044;    // resistance or meter value
inline constexpr int IDC_DACTRIM_SETUP = 1006;

// "Zero Adjustment".
inline constexpr int IDD_ZERO_ADJUSTMENT = 217;
inline constexpr int IDC_ZA_ADJUSTING_PV = 1044;
inline constexpr int IDC_ZA_ZERO_OFFSET = 1045;
inline constexpr int IDC_ZA_MEASURED_PV = 1046;
inline constexpr int IDC_ZA_FACTORY_ADJ = 1047;
inline constexpr int IDC_ZA_FACTORY_OFFSET = 1048;
inline constexpr int IDC_ZA_UNIT1 = 1185;
inline constexpr int IDC_ZA_UNIT2 = 1186;
inline constexpr int IDC_ZA_READ = 1003;
inline constexpr int IDC_ZA_WRITE = 1006;
inline constexpr int IDC_ZA_FACTORY_ZERO = 1180;
inline constexpr int IDC_ZA_CLEAR = 1403;

// "Sensor Full Trim".
inline constexpr int IDD_SENSOR_FULL_TRIM = 229;
inline constexpr int IDC_SFT_LOWER = 1437;
inline constexpr int IDC_SFT_UPPER = 1438;
inline constexpr int IDC_SFT_LOWER_CURRENT_LABEL = 1440;
inline constexpr int IDC_SFT_LOWER_CURRENT = 1010;
inline constexpr int IDC_SFT_LOWER_MODIFY_LABEL = 1442;
inline constexpr int IDC_SFT_LOWER_MODIFY = 1008;
inline constexpr int IDC_SFT_UPPER_CURRENT_LABEL = 1443;
inline constexpr int IDC_SFT_UPPER_CURRENT = 1009;
inline constexpr int IDC_SFT_UPPER_MODIFY_LABEL = 1444;
inline constexpr int IDC_SFT_UPPER_MODIFY = 1011;
inline constexpr int IDC_SFT_LOWER_POINT = 1439;
inline constexpr int IDC_SFT_UPPER_POINT = 1012;
inline constexpr int IDC_SFT_LOWER_UNIT = 1411;
inline constexpr int IDC_SFT_UPPER_UNIT = 1410;
inline constexpr int IDC_SFT_POINT_UNIT = 1441;
inline constexpr int IDC_SFT_READ = 1003;
inline constexpr int IDC_SFT_SETUP = 4;
inline constexpr int IDC_SFT_REQ_LOWER = 1004;
inline constexpr int IDC_SFT_REQ_UPPER = 1005;
inline constexpr int IDC_SFT_FACTORY_RECALL = 1403;
inline constexpr int IDC_SFT_FACTORY_FULL = 1180;
inline constexpr int IDC_SFT_AUTO_ADDED_LABEL = 1389;
inline constexpr int IDC_SFT_AUTO_ADDED = 1044;
inline constexpr int IDC_SFT_STATUS = 1388;

// "Reference Setup" and "Ref. Zero Point".
inline constexpr int IDD_REFERENCE_SETUP = 223;
inline constexpr int IDC_REF_MAKE_CODE = 1396;
inline constexpr int IDC_REF_PRESCALE_READ = 1009;
inline constexpr int IDC_REF_PRESCALE_1 = 1028; // 1029, 1030, 1031 for 2, 4, 8
inline constexpr int IDC_REF_NORVANE = 1034;
inline constexpr int IDC_REF_XIYI = 1046;
inline constexpr int IDC_REF_SAIC = 1047;
inline constexpr int IDC_REF_READ = 1003;
inline constexpr int IDC_REF_ZERO_POINT = 1004;
inline constexpr int IDD_REF_ZERO_POINT = 225;
inline constexpr int IDC_RZP_HIGH = 1398;
inline constexpr int IDC_RZP_LOW = 1008;
inline constexpr int IDC_RZP_REQ = 1003;
inline constexpr int IDC_RZP_READ = 3;

// Linearization tables and the transfer-function setup.
inline constexpr int IDD_VARIABLE_LINEARIZATION = 212;
inline constexpr int IDD_CJ_LINEARIZATION = 243;
inline constexpr int IDD_TRANSFER_FN_SETUP = 213;
inline constexpr int IDC_LIN_VARIABLE = 1045;
inline constexpr int IDC_LIN_UNIT = 1013;
inline constexpr int IDC_LIN_TRANSFER_FN = 1059;
inline constexpr int IDC_LIN_READ = 1003;
inline constexpr int IDC_LIN_WRITE = 1006;
inline constexpr int IDC_TFN_VARIABLE = 1045;
inline constexpr int IDC_TFN_VAR_LINEARIZATION = 1145; // 1146 "User Defined", 1147 "Not Used"
inline constexpr int IDC_TFN_CJ_LINEARIZATION = 1148;  // 1149, 1150
inline constexpr int IDC_TFN_SETUP = 1151;

// Rows of the 22-point variable table: current edit, modified edit, "Use" box.
struct LinRowIds {
    int current;
    int modified;
    int use;
};
inline constexpr std::array<LinRowIds, 22> kVariableLinRows = {{
    {1044, 1056, 1067}, {1047, 1057, 1087}, {1048, 1058, 1088}, {1049, 1060, 1089}, {1050, 1061, 1090},
    {1051, 1062, 1091}, {1052, 1063, 1092}, {1053, 1064, 1093}, {1054, 1065, 1094}, {1055, 1066, 1095},
    {1126, 1127, 1128}, {1096, 1106, 1116}, {1097, 1107, 1117}, {1098, 1108, 1118}, {1099, 1109, 1119},
    {1100, 1110, 1120}, {1101, 1111, 1121}, {1102, 1112, 1122}, {1103, 1113, 1123}, {1104, 1114, 1124},
    {1105, 1115, 1125}, {1129, 1130, 1131},
}};
// Rows of the 10-point cold-junction table: measured, fixed, "Use".
inline constexpr std::array<LinRowIds, 10> kCJLinRows = {{
    {1286, 1050, 1287}, {1046, 1051, 1288}, {1047, 1052, 1289}, {1048, 1053, 1290}, {1049, 1054, 1291},
    {1055, 1061, 1096}, {1056, 1062, 1097}, {1057, 1063, 1098}, {1058, 1064, 1099}, {1060, 1065, 1100},
}};

} // namespace res
