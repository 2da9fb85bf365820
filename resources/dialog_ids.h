/* Control ids of the six dialogs. Shared by the resource script and the C++
   code, so plain #defines only. */
#ifndef MIRAVEL_DIALOG_IDS_H
#define MIRAVEL_DIALOG_IDS_H

/* Buttons shared by several dialogs. */
#define IDC_OK_BUTTON 1     /* "Kaydet", "Tamam", "Kapat", "Anladım", reminder */
#define IDC_CANCEL_BUTTON 2 /* "İptal" */

/* "AstroDlg": calculation parameters. */
#define IDC_TEMKIN_FIRST 1075 /* İMSAK .. 1084 YATSI, in Vakit order */
#define IDC_TEMKIN_LAST 1084
#define IDC_TEMKIN_DEFAULTS 1085
#define IDC_OPEN_LIST 1086
#define IDC_USE_LIST 1087
#define IDC_LIST_ROW 1088
#define IDC_CITY 1089
#define IDC_COUNTRY 1090
#define IDC_LATITUDE 1091
#define IDC_LONGITUDE 1092
#define IDC_UTC_OFFSET 1093
#define IDC_SUMMER_TIME 1094
#define IDC_IMSAK_ANGLE 1095
#define IDC_YATSI_ANGLE 1096
#define IDC_MODE 1097
#define IDC_ANGLE_DEFAULTS 1098
#define IDC_APPLY 1099
#define IDC_WORK_DATE 1113
#define IDC_WORK_TIME 1114
#define IDC_SYSTEM_ZONE 1115
#define IDC_SYSTEM_SUMMER 1116
#define IDC_REAL_TIME 1117
#define IDC_DIYANET 1152        /* "Diyanet Uyumlu" */
#define IDC_OFFICIAL_HIJRI 1153 /* "Resmi Hicri Takvim" */

/* "SettingsDlg": options. */
#define IDC_MORNING_AT_SUNRISE 1100
#define IDC_MORNING_LEAD 1101
#define IDC_MORNING_AT_IMSAK 1102
#define IDC_REMINDER_LEAD 1106
#define IDC_REMINDER 1107
#define IDC_FRIDAY_SALA_LEAD 1108
#define IDC_SAHUR_SALA_LEAD 1109
#define IDC_REMINDER_SALA 1110
#define IDC_FRIDAY_SALA 1111
#define IDC_SAHUR_SALA 1112
#define IDC_REMAINING_ANY 1049
#define IDC_AUTO_CLOCK 1050
#define IDC_ASR_SANI_ADHAN 1052
#define IDC_AUTOSTART 1059

/* "VakitDlg": times and astronomy. */
#define IDC_TIME_FIRST 1121 /* İMSAK .. 1130 YATSI */
#define IDC_TIME_LAST 1130
#define IDC_WIDEN 1131
#define IDC_CALENDAR 1132
#define IDC_QIBLA 1133
#define IDC_SUN_AZIMUTH 1134
#define IDC_SUN_ALTITUDE 1135
#define IDC_SUN_DISTANCE 1136
#define IDC_SUN_LONGITUDE 1137
#define IDC_SUN_DECLINATION 1138
#define IDC_EQUATION_OF_TIME 1139
#define IDC_MOON_DISTANCE 1140
#define IDC_MOON_PHASE 1141
#define IDC_MOON_LATITUDE 1142
#define IDC_MOON_AZIMUTH 1143
#define IDC_MOON_ALTITUDE 1144
#define IDC_MOON_ILLUMINATION 1145
#define IDC_MAG_DECLINATION 1146
#define IDC_MAG_INTENSITY 1147
#define IDC_MOON_NOTE 1148

/* "RemindDlg". */
#define IDC_REMINDER_TEXT 1105

/* "TallyDlg". */
#define IDC_TALLY_ADD 6
#define IDC_TALLY_NAME 1118
#define IDC_TALLY_VALUE 1119
#define IDC_TALLY_INCREMENT 1120

/* "AboutDlg". */
#define IDC_ABOUT_TEXT 1150
#define IDC_ABOUT_ICON 1151
#define IDC_WEB_PAGE 1103
#define IDC_EMAIL 1104

/* "PlaceDlg": the place picker of "AstroDlg". */
#define IDC_PLACE_SEARCH 1160
#define IDC_PLACE_LIST 1161
#define IDC_PLACE_STATUS 1162
#define IDC_PLACE_OPEN_FILE 1163

#endif
