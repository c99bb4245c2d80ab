// Starts of the same user and program folder take turns: a start holds the turn from before it
// looks for a running player until it has created its main window or handed its files over, so
// that starts launched together make one player and never write the hand-over file at once.
#pragma once

#include <windows.h>

// Waits for the turn (at most a few seconds; a start that cannot get it goes on without it) and
// opens the marker shared by the starts (playlist/start_grouping.h). The result is given back
// to endStartTurn; nullptr when the turn could not be had.
HANDLE takeStartTurn();
// Ends the turn (nothing for nullptr) and forgets it. No box is shown while a turn is held: the
// other starts would wait behind it.
void endStartTurn(HANDLE* turn);

// The turn this process took at its start.
extern HANDLE startTurn;
