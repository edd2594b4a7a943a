#pragma once
// Dialog templates and control ids of the engineer tools.
namespace engineer {

enum : int {
    IDD_ENGINEER_LOGON = 135,
    IDD_ENGINEER_DATA = 136,
    IDD_ADVANCED_ENGINEER = 148,
    IDD_FALSING_ALERT = 164,

    // Engineer Logon
    IDC_PASSWORD = 1128,

    // Engineer Data
    IDC_RADIO_BAND = 1187,
    IDC_BAND_SPLIT = 1188,
    IDC_MODEL = 1189,
    IDC_MODULATION = 1190,
    IDC_FREQ_COUNT = 1192,
    IDC_REVISION = 1193,
    IDC_CODING = 1194,
    IDC_BATTERY = 1195,
    IDC_WARRANTY = 1196,
    IDC_MFG_SITE = 1197,
    IDC_BUILD_MONTH = 1198,
    IDC_BUILD_YEAR = 1199,
    IDC_UNIT_NUMBER = 1201,
    IDC_XTAL = 1202,
    IDC_IF = 1203,
    IDC_PLUG_VERSION = 1204,
    IDC_ADVANCED = 1242,
    IDC_STORED_VOICE = 1244,
    IDC_SP = 1250,
    IDC_WARRANTY_LABEL = 1251,

    // Advanced Engineer Data (edit boxes)
    IDC_SCAN_BACK = 1243,
    IDC_RF_OFF_DUTY = 1244,
    IDC_PRE_STABLE = 1245,
    IDC_SQ_V10_LVL = 1246,
    IDC_SQ_V4_LVL = 1247,
    IDC_SQ_ON = 1248,
    IDC_SQ_OFF = 1249,
    IDC_BAT_LVL_0 = 1250,
    IDC_BAT_LVL_1 = 1251,
    IDC_SAMPLE_DUR = 1253,
    IDC_GB_WEIGHT_GOOD = 1254,
    IDC_GB_WEIGHT_BAD = 1255,
    IDC_GOOD_BAD_RATIO = 1256,
    IDC_END_TONE_DUR = 1257,
    IDC_TUNE_PAR_B7 = 1258,
    IDC_TUNE_PAR_B6 = 1259,
    IDC_GAP_TOL = 1260,
    IDC_T1D = 1261,
    IDC_T2D = 1262,
    IDC_TUNE_PAR_L = 1263,
    IDC_LONG_DUR = 1264,
    IDC_MEASURE_MODE = 1265,
    IDC_BANDWIDTH = 1266,
    IDC_GOOD_BAD_RATIO2 = 1267,
    IDC_RATIO_END = 1268,
    IDC_T1D_CNT = 1326,
    IDC_T2D_CNT = 1327,
    IDC_BAT_LVL_2 = 1328,
    IDC_BAT_LVL_3 = 1329,
    IDC_BAT_LVL_4 = 1330,
    IDC_BAT_LVL_5 = 1331,
    IDC_BAT_GAUGE_PERI = 1332,
    IDC_RESTORE_DEFAULT = 1338,

    // Falsing Alert Adjustment
    IDC_FALSING_LEVEL = 1339,
    IDC_FALSING_NO_PRESET = 1360,  // our note when the block matches no preset
};

}  // namespace engineer
