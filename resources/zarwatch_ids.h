// Resource ids of zarwatch.exe: the only place these numbers are written.
#pragma once

#define IDI_ANIMATION_FIRST 129
#define IDI_ANIMATION_2 130
#define IDI_ANIMATION_3 131
#define IDI_ANIMATION_LAST 132
#define IDI_ENABLED 136
#define IDR_TRAY_MENU 137  // also the tray icon's id
#define IDI_DISABLED 140

#define ID_TRAY_OPEN 32784
#define ID_TRAY_EVERTIE 32785
#define ID_TRAY_SIMULATE 32786
#define ID_TRAY_SUPPORT 32787
#define ID_TRAY_WEBSITE 32788
#define ID_TRAY_DISABLE 32790
#define ID_TRAY_ABOUT 32791
#define ID_TRAY_HELP 32792
#define ID_TRAY_FAQ 32793
#define ID_TRAY_RECOMMEND 32794
#define ID_TRAY_FEEDBACK 32795
