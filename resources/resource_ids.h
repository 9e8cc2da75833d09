// Control, menu and resource numbers of the program, shared by the C++ code, the resource scripts
// and the end-to-end robot. Only preprocessor lines: resource scripts include this file.
#ifndef ZARVO_RESOURCES_RESOURCE_IDS_H
#define ZARVO_RESOURCES_RESOURCE_IDS_H

// Icons and bitmaps.
#define IDI_ZARVO 1

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

#endif
