// Resource ids of zartune.exe: the only place these numbers are written.
#pragma once

// A dialog control that no code addresses.
#define IDC_STATIC -1

// Shared by the frame's menu, toolbar, icon and document string.
#define IDR_MAINFRAME 128

#define IDD_MAIN_FORM 101
#define IDD_ABOUTBOX 130
#define IDD_EXPLANATION 146
#define IDI_EXPLANATION 147
#define IDB_ABOUT 152
#define IDI_ABOUT 161

// Strings.
#define IDS_APP_TITLE 57344
#define IDS_IDLE_PROMPT 57345

// Status-bar panes; their strings size them.
#define ID_PANE_MODE 57346
#define ID_PANE_OS 57347

// Commands of the menu and the toolbar.
#define ID_HELP_WEBSITE 32772
#define ID_FILE_BACKUP 32775
#define ID_CPL_INTERNET 32776
#define ID_CPL_SYSTEM 32777
#define ID_CPL_MODEMS 32778
#define ID_CPL_NETWORK 32779
#define ID_TOOLBAR_SPACER 32780
#define ID_FILE_APPLY 32781
#define ID_FILE_EVERTIE 32786
#define ID_FILE_RESTORE 32787
#define ID_HELP_FAQ 32792
#define ID_HELP_SUPPORT 32793
#define ID_HELP_FEEDBACK 32794
#define ID_HELP_RECOMMEND 32795
#define ID_FILE_RESTORE_PREVIOUS 32796
#define ID_TOOLS_FIND_MTU 32797
#define ID_TOOLS_CURRENT_SETTINGS 32798
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_TOPICS 57666
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Main form (dialog 101).
// The help links ask the program for this cursor; the program carries none,
// so they fall back to their own link cursor.
#define IDC_LINK_CURSOR 32513
#define IDC_MTU_EDIT 1010
#define IDC_LINK_MTU 1011
#define IDC_LINK_RWIN 1012
#define IDC_LINK_TTL 1013
#define IDC_APPLY 1014
#define IDC_RWIN_DEFAULT 1015
#define IDC_RWIN_CUSTOM 1017
#define IDC_PROGRESS 1021
#define IDC_TTL_EDIT 1022
#define IDC_TTL_DEFAULT 1023
#define IDC_TTL_CUSTOM 1025
#define IDC_KEEPALIVE_DEFAULT 1029
#define IDC_PMTU 1031
#define IDC_BLACKHOLE 1032
#define IDC_LINK_KEEPALIVE 1033
#define IDC_LINK_GENERAL 1034
#define IDC_BLANK_KEEPALIVE 1036
#define IDC_RWIN_LIST 1041
#define IDC_NDI_DEFAULT 1042
#define IDC_KEEPALIVE_LIST 1043
#define IDC_NDI_CUSTOM 1044
#define IDC_MODE 1045
#define IDC_CONNECTION_TYPE 1046
#define IDC_LINK_NDI 1048
#define IDC_BLANK_NDI 1049
#define IDC_NDI_LIST 1050
#define IDC_HTTP10_LIST 1051
#define IDC_BLANK_GENERAL 1052
#define IDC_HELP_BUTTON 1053
#define IDC_HTTP11_LIST 1054
#define IDC_KEEPALIVE_CUSTOM 1055
#define IDC_EVERTIE 1056
#define IDC_BLANK_MTU 1057
#define IDC_BLANK_RWIN 1058
#define IDC_BLANK_TTL 1059
#define IDC_LABEL_TYPE 1067
#define IDC_GROUP_MTU 1068
#define IDC_GROUP_RWIN 1069
#define IDC_GROUP_TTL 1070
#define IDC_GROUP_KEEPALIVE 1071
#define IDC_GROUP_GENERAL 1072
#define IDC_GROUP_NDI 1074
#define IDC_LABEL_HTTP11 1075
#define IDC_LABEL_HTTP10 1076
#define IDC_LABEL_MODE 1079
#define IDC_MTU_DEFAULT 1080
#define IDC_MTU_CUSTOM 1081

// Explanation dialog (146).
#define IDC_EXPLAIN_HELP 1049
#define IDC_EXPLAIN_ICON 1050
#define IDC_EXPLAIN_TEXT 1051

// About box (130).
#define IDC_ABOUT_WEB_LABEL 1002
#define IDC_ABOUT_CLOSE 1005
#define IDC_ABOUT_LEGAL_1 1008
#define IDC_ABOUT_LEGAL_2 1009
#define IDC_ABOUT_SUPPORT_LABEL 1010
#define IDC_ABOUT_WEB_LINK 1090
#define IDC_ABOUT_MAIL_LINK 1091

// Keep-alive dialog (155) and its icons: 157 in the dialog, 158 its window
// icon when it is the program's only window.
#define IDD_KEEPALIVE 155
#define IDI_KEEPALIVE 157
#define IDI_KEEPALIVE_WINDOW 158
#define IDC_PING_HELP 3
#define IDC_PING_DEFAULTS 4
#define IDC_PING_MANUAL 1026
#define IDC_PING_ICON 1050
#define IDC_PING_INTERVAL 1060
#define IDC_PING_SOUND 1062
#define IDC_PING_AUTOMATIC 1063
#define IDC_PING_HOST 1064
#define IDC_PING_INTRO 1065
#define IDC_PING_ANIMATION 1066

// Find Largest MTU dialog (170): ids 1200 to 1219.
#define IDD_FIND_MTU 170

// Current Settings dialog (180): ids 1300 to 1319.
#define IDD_CURRENT_SETTINGS 180
#define IDC_CURRENT_LIST 1300
#define IDC_CURRENT_NOTE 1301
#define IDC_CURRENT_PROBLEM 1302
#define IDC_CURRENT_REFRESH 1303
#define IDC_CURRENT_COPY 1304
#define IDC_CURRENT_HELP 1305
