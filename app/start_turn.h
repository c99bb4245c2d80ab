// Starts of the same user and program folder take turns: a start holds the turn from before it
// looks for a running player until it has created its main window or handed its files over, so
// that starts launched together make one player and never write the hand-over file at once.
#pragma once

#include <windows.h>

// Waits for the turn (at most a few seconds; a start that cannot get it goes on without it) and
// opens the marker shared by the starts (playlist/start_grouping.h). The result is given back
// to endStartTurn; nullptr when the turn could not be had.
HANDLE takeStartTurn();
void endStartTurn(HANDLE turn);
