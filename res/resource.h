// Resource IDs of the pictures compiled into dormix.exe (res/dormix.rc).
// The pictures are drawn by res/artwork.sh. The application icon is the
// named resource MAINICON.
#ifndef DORMIX_RESOURCE_H
#define DORMIX_RESOURCE_H

// Pictures (packed DIBs in RCDATA, loaded with ui::LoadPicture).
#define IDB_PAGE_CLOCK      102 // page icons, 32 x 32 on white, stored at 64 x 64
#define IDB_PAGE_GENERAL    103
#define IDB_PAGE_PROTECTION 104
#define IDB_PAGE_SHORTCUTS  105
#define IDB_PAGE_MESSAGES   106
#define IDB_MENU_GLYPHS     110 // 22 menu images of 16 x 16, stored at 32 x 32, 24-bit, magenta transparent

// Tray icons, 16 x 16 and 32 x 32.
#define IDI_TRAY_ENABLED    201 // clock enabled
#define IDI_TRAY_DISABLED   202 // clock disabled

#endif
