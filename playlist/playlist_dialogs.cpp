#include "playlist/playlist_dialogs.h"

#include <shlwapi.h>

#include "app/report.h"
#include "base/player_globals.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playback/mci_device.h"
#include "playback/play_order.h"
#include "playlist/file_dialog.h"
#include "playlist/playlist_file.h"
#include "settings/settings.h"

int playlistOpenFilterIndex;
int exportFilterIndex;

// Pattern pairs; the literal's own terminator ends the list.
static const wchar_t playlistOpenFilters[] =
    L"プレイリスト ファイル (*.vpl;*.vppl)\0*.vpl;*.vppl\0"
    L"TSV ファイル (*.tsv)\0*.tsv\0"
    L"すべてのファイル (*.*)\0*.*\0";
static const wchar_t exportFilters[] =
    L"TSV ファイル (*.tsv)\0*.tsv\0"
    L"すべてのファイル (*.*)\0*.*\0";

static const wchar_t overwriteQuestion[] = L"「%ls」は既に存在しています。上書きしますか？";
// The question's own units ("%ls" and the terminator aside): the path gets the rest of the buffer.
static const size_t overwriteQuestionUnits = ARRAYSIZE(overwriteQuestion) - 4;

void playlistOpenDialog(HWND window)
{
    wchar_t path[TEXT_BUFFER_UNITS];
    if (!runFileDialog(FILE_DIALOG_OPEN, window, playlistOpenFilters, &playlistOpenFilterIndex, path, TEXT_BUFFER_UNITS,
                       L"プレイリストを開く", OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY))
        return;
    if (!readPlaylistFile(path)) {
        showErrorMessage(nullptr, L"プレイリストファイルの読み込みに失敗しました。");
        return;
    }
    closeTrack(window);
    writePlaylistFile(currentPlaylistFilePath);
    playNewList(window);
}

// A name is taken as typed when its last component has a dot; a name too long for the extension
// stays as it is rather than being cut into another name.
void completePlaylistFileName(wchar_t* path)
{
    if (textAfterLastDot(fileNamePart(path)))
        return;
    wchar_t completed[TEXT_BUFFER_UNITS];
    if (formatText(completed, TEXT_BUFFER_UNITS, L"%ls.tsv", path))
        copyText(path, TEXT_BUFFER_UNITS, completed);
}

// Asked whatever the message display setting says: the user must answer before a file is lost.
static bool mayOverwrite(HWND window, const wchar_t* path)
{
    if (!PathFileExistsW(path))
        return true;
    wchar_t shownPath[TEXT_BUFFER_UNITS - overwriteQuestionUnits];
    copyTextShortened(shownPath, ARRAYSIZE(shownPath), path);
    wchar_t question[TEXT_BUFFER_UNITS];
    formatText(question, TEXT_BUFFER_UNITS, overwriteQuestion, shownPath);
    return systemMessageBox(window, question, L"上書き保存確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void exportPlaylistDialog(HWND window)
{
    wchar_t path[TEXT_BUFFER_UNITS];
    // No flags: the player asks before replacing a file and completes a bare name itself.
    if (!runFileDialog(FILE_DIALOG_SAVE, window, exportFilters, &exportFilterIndex, path, TEXT_BUFFER_UNITS,
                       L"プレイリストファイルに書き出す", 0))
        return;
    completePlaylistFileName(path);
    if (mayOverwrite(window, path))
        writePlaylistFile(path);
}
