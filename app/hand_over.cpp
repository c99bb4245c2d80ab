#include "app/hand_over.h"

#include "app/command_line.h"
#include "base/report.h"
#include "app/start_turn.h"
#include "base/player_globals.h"
#include "base/report.h"

int handOver(HWND runningPlayer, const wchar_t* commandLine)
{
    NewListResult result = openCommandLineText(commandLine);
    bool posted = result == NEW_LIST_WRITTEN && PostMessageW(runningPlayer, WM_APP_RELOAD_PLAYLIST, 0, 0);
    endStartTurn(&startTurn);
    if (result == NEW_LIST_WRITTEN && !posted)
        showErrorMessage(nullptr, L"起動中のプレーヤーにファイルを渡せませんでした。");
    else if (result == NEW_LIST_NOTHING)
        showMessage(nullptr,
                    L"既に起動しています。\n但しファイル（複数可）、プレイリストまたはフォルダーをドラッグアンドドロップして"
                    L"既存のプロセスに開かせることは出来ます。",
                    L"確認", MB_OK | MB_ICONINFORMATION);
    // A list that could not be written has been reported; the running player keeps its own. This
    // process ends right away: its reports must be seen before it does.
    waitForReportsDismissed();
    return 0;
}
