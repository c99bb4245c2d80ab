// Resource and command ids of the player, kept by hand in blocks.
#pragma once

// Icons (block 100..199)
#define IDI_PLAYER 100
#define IDI_ABOUT 101
#define IDI_PLAYING 102

// Dialog templates (block 200..299)
#define IDD_ABOUT 200
#define IDD_VOLUME 201

// Controls (block 2000..2099; local to their dialog)
#define IDC_ABOUT_LINK 2000
#define IDC_VOLUME_TRACKBAR 2001

// Menu commands (block 1001..1025, then one id per play-order position from 2000)
#define IDM_EXIT 1001
#define IDM_README 1002
#define IDM_ABOUT 1003
#define IDM_OPEN_FILES 1004
#define IDM_OPEN_FOLDER 1005
#define IDM_OPEN_PLAYLIST 1006
#define IDM_EXPORT_PLAYLIST 1007
#define IDM_PLAY 1008
#define IDM_PAUSE 1009
#define IDM_STOP 1010
#define IDM_PREVIOUS 1011
#define IDM_NEXT 1012
#define IDM_FIRST_TRACK 1013
#define IDM_REPEAT 1014
#define IDM_SHUFFLE 1015
#define IDM_VOLUME 1016
#define IDM_SORT_ON_OPEN 1017
#define IDM_BALLOON_ON_OPEN 1018
#define IDM_MSG_MESSAGE_BOX 1019
#define IDM_MSG_BALLOON 1020
#define IDM_MSG_HIDDEN 1021
#define IDM_AUTOPLAY_REGISTER 1022
#define IDM_SEEK 1023
#define IDM_SORT_BY_FULL_PATH 1024
#define IDM_SORT_LOADED_PLAYLIST 1025
#define IDM_SELECT_FIRST 2000
// Command ids travel in 16 bits: the selection list ends at this id.
#define IDM_SELECT_LAST 65535

#ifndef RC_INVOKED
static_assert(IDI_PLAYER >= 100 && IDI_PLAYING < 200, "icons stay in 100..199");
static_assert(IDD_ABOUT >= 200 && IDD_VOLUME < 300, "dialogs stay in 200..299");
static_assert(IDC_ABOUT_LINK >= 2000 && IDC_VOLUME_TRACKBAR < 2100, "controls stay in 2000..2099");
static_assert(IDM_EXIT == 1001 && IDM_SORT_LOADED_PLAYLIST == 1025, "menu commands fill 1001..1025");
static_assert(IDM_SORT_LOADED_PLAYLIST - IDM_EXIT + 1 == 25, "no gap in the menu command block");
static_assert(IDM_MSG_HIDDEN - IDM_MSG_MESSAGE_BOX == 2, "message display ids are the three styles in order");
static_assert(IDM_SELECT_FIRST > IDM_SORT_LOADED_PLAYLIST, "track selection follows the commands");
static_assert(IDM_SELECT_LAST <= 0xFFFF, "a command id fits the low word of wParam");
#endif
