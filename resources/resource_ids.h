// Control, menu and resource numbers of the program, shared by the C++ code, the resource scripts
// and the end-to-end robot. Only preprocessor lines: resource scripts include this file.
#ifndef ZARVO_RESOURCES_RESOURCE_IDS_H
#define ZARVO_RESOURCES_RESOURCE_IDS_H

// Icons and bitmaps.
#define IDI_ZARVO 1
// Pictures of the Start, Stop and Clear buttons; bitmap 2 is also the menus' checked-state mark.
#define IDB_START 2
#define IDB_STOP 3
#define IDB_CLEAR 4
// Menu bitmaps of the items 1001, 1003, 1005, 1006 and 1007 to 1014.
#define IDB_MENU_NEW 5
#define IDB_MENU_SAVE 6
#define IDB_MENU_QUIT 7
#define IDB_MENU_CIRCUITS 8
#define IDB_MENU_DRIVERS 9
#define IDB_MENU_CARS 10
#define IDB_MENU_FREQUENCIES 11
#define IDB_MENU_RUNS 12
#define IDB_MENU_SOUND 13
#define IDB_MENU_DISPLAY 14
#define IDB_MENU_INTERFACE 15
#define IDB_MENU_IMPORT 21
// Session tree images 0 to 3: track, drivers, parameters, runs.
#define IDI_TREE_TRACK 17
#define IDI_TREE_DRIVERS 18
#define IDI_TREE_PARAMETERS 19
#define IDI_TREE_SESSIONS 20

// Menu commands of the main window.
#define IDM_NEW_SESSION 1001
#define IDM_LOAD_SESSION 1002
#define IDM_SAVE 1003
#define IDM_SAVE_AS 1004
#define IDM_IMPORT_SMARTPHONE 1005
#define IDM_QUIT 1006
#define IDM_CIRCUITS 1007
#define IDM_DRIVERS 1008
#define IDM_CARS 1009
#define IDM_FREQUENCIES 1010
#define IDM_RUNS_SYNTHESIS 1011
#define IDM_SOUND 1012
#define IDM_DISPLAY 1013
#define IDM_INTERFACE 1014
#define IDM_HELP 1016
// Pop-up menus of the session tree.
#define IDM_RENAME_SESSION 1051
#define IDM_TRACK 1052
#define IDM_PARTICIPANTS 1053
#define IDM_RUN_PARAMETERS 1054
#define IDM_ADD_RUN 1055

// Race panel (main window).
#define IDC_START 2001
#define IDC_STOP 2002
#define IDC_CLEAR 2003
#define IDC_START_LABEL 2004
#define IDC_STOP_LABEL 2005
#define IDC_CLEAR_LABEL 2006
#define IDC_PERSONAL_CHIPS 2101
#define IDC_MIXED_SCAN 2102
#define IDC_SCAN 2103
#define IDC_SCAN_STATUS 2104
#define IDC_MANUAL_LAP_FIRST 2201
#define IDC_MANUAL_LAP_LAST 2220
#define IDC_CLOCK_GROUP 2221
#define IDC_COUNTDOWN_GROUP 2222
#define IDC_TRANSPONDER_MODE_GROUP 2223
#define IDC_SESSION_TREE 4000

// String table entries that let a test read the edition of a built program.
#define IDS_EDITION 100
#define IDS_CAPTION_ERROR 101

// Smartphone import dialog "IMPORTSMARTPHONE": lane k (1..11) has its phone name in the edit
// 2900 + k, its database driver in the list 2911 + k, its number in 2926 + k and its arrow in
// 2937 + k; 2923 to 2926 are the headings (in bold).
#define IDC_IMPORT_PHONE_NAME_FIRST 2901
#define IDC_IMPORT_PC_DRIVER_FIRST 2912
#define IDC_IMPORT_HEADING 2923
#define IDC_IMPORT_PHONE_HEADING 2924
#define IDC_IMPORT_PC_HEADING 2925
#define IDC_IMPORT_LANE_HEADING 2926
#define IDC_IMPORT_LANE_NUMBER_FIRST 2927
#define IDC_IMPORT_ARROW_FIRST 2938

// Track dialog "COURSEPISTE".
#define IDC_TRACK_LABEL 4101
#define IDC_TRACK_CIRCUITS 4102
#define IDC_TRACK_CIRCUIT_NAME 4103
#define IDC_TRACK_LENGTH 4104
#define IDC_TRACK_RECORD 4105
#define IDC_TRACK_RECORD_HOLDER 4106
#define IDC_TRACK_LOCATION 4107
#define IDC_TRACK_MINIMUM_LAP 4108
// Participants list dialog "LISTEPILOTES" (4200: its heading, in bold).
#define IDC_PARTICIPANTS_HEADING 4200
#define IDC_PARTICIPANTS_COUNT 4201
#define IDC_PARTICIPANTS_LIST 4202
#define IDC_PARTICIPANTS_DATABASE 4203
#define IDC_PARTICIPANTS_ADD 4204
#define IDC_PARTICIPANTS_REMOVE 4205
// Race parameters dialog "COURSEPARAMETRES" (4400: its heading, in bold).
#define IDC_PARAMETERS_HEADING 4400
#define IDC_PARAMETERS_BY_LAPS_TIME 4401
#define IDC_PARAMETERS_BY_BEST_LAP 4402
#define IDC_PARAMETERS_TIME 4403
#define IDC_PARAMETERS_LAPS 4404
#define IDC_PARAMETERS_MINUTES 4405
#define IDC_PARAMETERS_LAP_TARGET 4406
#define IDC_PARAMETERS_COUNTDOWN 4407
#define IDC_PARAMETERS_STAGGERED 4408
#define IDC_PARAMETERS_FINISH_LAP 4409
#define IDC_PARAMETERS_ALL_LAPS 4410
#define IDC_PARAMETERS_MINUTES_LABEL 4411
#define IDC_PARAMETERS_LAPS_LABEL 4412

#endif
