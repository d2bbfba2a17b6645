// Resource identifiers of Scourly.exe, shared by the .rc files, the code and
// the end-to-end drivers (which find the dialogs' controls by these ids).
#pragma once

#define IDI_SCOURLY 1
#define IDB_IMAGES16 101
#define IDB_IMAGES24 102
#define IDB_IMAGES32 103

// The about picture, drawn for 100, 150 and 200 percent (draw_about.py).
#define IDR_ABOUT_GIF100 110
#define IDR_ABOUT_GIF150 111
#define IDR_ABOUT_GIF200 112

#define IDD_OPTIONS 200
#define IDD_FILE_TYPE 201
#define IDD_ABOUT 202

// TUOptionsDialog. OKBtn is IDOK, CancelBtn IDCANCEL.
#define IDC_OPTIONS_PAGECONTROL1 1001
#define IDC_OPTIONS_LABEL1 1002
#define IDC_OPTIONS_LABEL4 1003
#define IDC_OPTIONS_OPTIONBOX 1004
#define IDC_OPTIONS_ADD 1005
#define IDC_OPTIONS_REMOVE 1006
#define IDC_OPTIONS_CHECK 1007
#define IDC_OPTIONS_RESET 1008
#define IDC_OPTIONS_TEMPFILES 1009
#define IDC_OPTIONS_LABEL2 1010
#define IDC_OPTIONS_LABEL3 1011
#define IDC_OPTIONS_DRIVESBOX 1012
#define IDC_OPTIONS_BUTTON1 1013
// The "Keep" page.
#define IDC_OPTIONS_KEEPLABEL 1014
#define IDC_OPTIONS_KEEPBOX 1015
#define IDC_OPTIONS_ADDFILE 1016
#define IDC_OPTIONS_ADDFOLDER 1017
#define IDC_OPTIONS_REMOVEKEEP 1018

// TFileTypeDlg. OKBtn is IDOK, CancelBtn IDCANCEL.
#define IDC_FILETYPE_LABEL1 1101
#define IDC_FILETYPE_EDIT1 1102

// TAboutDialog.
#define IDC_ABOUT_LABEL1 1201
#define IDC_ABOUT_GIFIMAGE1 1202
