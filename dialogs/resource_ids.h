// Control ids of the dialog templates in dialogs/dialogs.rc (the five editors, the problem
// report and the go-to dialog). Shared by the resource script (hence plain #defines) and by
// the dialogs' logic and window procedures.
#pragma once

// Unit editor, template "UNIT_DATA".
#define IDC_UNIT_TYPE 1037
#define IDC_UNIT_HP 1038
#define IDC_UNIT_MAXHP 1039
#define IDC_UNIT_BUILDTIME 1040
#define IDC_UNIT_GENERAL 1041
#define IDC_UNIT_MOVEMENT 1042
#define IDC_UNIT_MORALE 1043
#define IDC_UNIT_EARLYPOLICY 1044
#define IDC_UNIT_LATEPOLICY 1045
#define IDC_UNIT_CHANGETURN 1046
#define IDC_UNIT_TARGET 1047
#define IDC_UNIT_APPLY 1048
#define IDC_UNIT_DIALOGUE 1049
#define IDC_UNIT_ATTACK 1050
#define IDC_UNIT_DIRECTION 1051

// Building editor, template "BUILDING_DATA".
#define IDC_BUILDING_FACILITYLEVEL 1002
#define IDC_BUILDING_INDUSTRY 1004
#define IDC_BUILDING_AIRPORT 1005
#define IDC_BUILDING_MISSILE 1006
#define IDC_BUILDING_NUCLEAR 1007
#define IDC_BUILDING_APPEARANCE 1008
#define IDC_BUILDING_FLAG 1009
#define IDC_BUILDING_TARGET 1010
#define IDC_BUILDING_DIALOGUE 1011
#define IDC_BUILDING_FIRE 1012
#define IDC_BUILDING_CODE 1018
#define IDC_BUILDING_CITYNAME 1019
#define IDC_BUILDING_APPLY 1020
#define IDC_BUILDING_FACILITYTYPE 1021
#define IDC_BUILDING_DEFENCE 1022
#define IDC_BUILDING_HEXID 1034

// General editor, template "GENERAL_DIALOG".
#define IDC_GENERAL_ATTACH 1020
#define IDC_GENERAL_ADD 1021
#define IDC_GENERAL_CURRENT 1024
#define IDC_GENERAL_RANKTEXT 1025
#define IDC_GENERAL_RANK 1026
#define IDC_GENERAL_COMMANDER 1027

// Raw hex editor, template "HEX_DIALOG". The byte boxes are made at run time.
#define IDC_HEX_OWNER 1034
#define IDC_HEX_APPLY 1035

// Team editor, template "TEAM_DIALOG". The labelled number edits are made at run time with
// ids 1-8 and 10-24.
#define IDC_TEAM_ADD 1021
#define IDC_TEAM_LIST 1053
#define IDC_TEAM_DELETE 1056
#define IDC_TEAM_APPLY 1057
#define IDC_TEAM_COUNTRY 1058
#define IDC_TEAM_SWATCH 1061

// Go-to dialog, template "GOTO_DIALOG".
#define IDC_GOTO_TEXT 1080
#define IDC_GOTO_APPLY 1081

// Problem report, template "PROBLEMS_DIALOG". 定位 and 关闭 carry the ids of IDOK and IDCANCEL,
// so that Enter and Esc reach them as clicks of those buttons.
#define IDC_PROBLEMS_LOCATE 1
#define IDC_PROBLEMS_CLOSE 2
#define IDC_PROBLEMS_COUNT 1070
#define IDC_PROBLEMS_LIST 1071
#define IDC_PROBLEMS_REFRESH 1072

// Find dialog, template "FIND_DIALOG". 全选 carries the id of IDOK, so that Enter reaches it.
#define IDC_FIND_SELECT 1
#define IDC_FIND_OWNER 1090
#define IDC_FIND_UNIT 1091
#define IDC_FIND_BUILDING 1092
#define IDC_FIND_PROBLEMS 1093
#define IDC_FIND_COUNT 1094
