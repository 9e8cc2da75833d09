// Control, menu and resource numbers of the program, shared by the C++ code, the resource scripts
// and the end-to-end robot. Only preprocessor lines: resource scripts include this file.
#ifndef ZARVO_RESOURCES_RESOURCE_IDS_H
#define ZARVO_RESOURCES_RESOURCE_IDS_H

// Icons and bitmaps.
#define IDI_ZARVO 1

// Race panel (main window).
#define IDC_START 2001
#define IDC_STOP 2002
#define IDC_CLEAR 2003
#define IDC_MANUAL_LAP_FIRST 2201
#define IDC_MANUAL_LAP_LAST 2220

// String table entries that let a test read the edition of a built program.
#define IDS_EDITION 100
#define IDS_CAPTION_ERROR 101

#endif
