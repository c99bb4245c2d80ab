#include "ui/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wchar.h>

#include "base/player_globals.h"
#include "base/report.h"
#include "base/system_calls.h"
#include "base/wide_text.h"
#include "playlist/entry_building.h"

int playlistOpenFilterIndex;
int exportFilterIndex;
static int openFilesFilterIndex;

// Pattern pairs; each literal's own terminator ends its list.
static const wchar_t openFilesFilters[] =
    L"MP3 形式サウンド (*.mp3)\0*.mp3\0"
    L"Wave サウンド (*.wav)\0*.wav\0"
    L"Windows Media オーディオ ファイル (*.wma)\0*.wma\0"
    L"MIDI シーケンス (*.mid)\0*.mid\0"
    L"すべてのファイル (*.*)\0*.*\0";
static const wchar_t playlistOpenFilters[] =
    L"プレイリスト ファイル (*.vpl;*.vppl)\0*.vpl;*.vppl\0"
    L"TSV ファイル (*.tsv)\0*.tsv\0"
    L"すべてのファイル (*.*)\0*.*\0";
static const wchar_t exportFilters[] =
    L"TSV ファイル (*.tsv)\0*.tsv\0"
    L"すべてのファイル (*.*)\0*.*\0";

static const DWORD selectionUnits = 20480;

// Several files: the folder, then each name as its own string, then an empty string.
static PlaylistEntry* entriesOfSeveralFiles(const wchar_t* selection, size_t* count)
{
    wchar_t prefix[TEXT_BUFFER_UNITS];
    bool prefixFits = formatText(prefix, TEXT_BUFFER_UNITS, L"%ls\\", selection);
    size_t capacity = 128;
    PlaylistEntry* entries = allocatePlaylistEntries(capacity);
    for (const wchar_t* name = selection + wcslen(selection) + 1; entries && *name != L'\0'; name += wcslen(name) + 1) {
        if (*count == capacity - 1 && !growEntries(&entries, &capacity, 128)) {
            HeapFree(GetProcessHeap(), 0, entries);
            return nullptr;
        }
        if (prefixFits && storeJoinedPath(&entries[*count], prefix, name))
            ++*count;
    }
    return entries;
}

PlaylistEntry* chooseAudioFiles(HWND owner, int* count)
{
    static wchar_t selection[selectionUnits];
    const DWORD flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!systemFileDialog(FILE_DIALOG_OPEN, owner, openFilesFilters, &openFilesFilterIndex, selection, selectionUnits,
                          L"音声ファイルを開く（複数可）", flags))
        return nullptr;
    size_t stored = 0;
    PlaylistEntry* entries;
    if (PathIsDirectoryW(selection)) {
        entries = entriesOfSeveralFiles(selection, &stored);
    } else {
        entries = allocatePlaylistEntries(2);
        if (entries && storeEntryPath(&entries[0], selection))
            stored = 1;
    }
    if (entries && stored == 0) {
        HeapFree(GetProcessHeap(), 0, entries);
        return nullptr;
    }
    *count = static_cast<int>(stored);
    return entries;
}

static int CALLBACK browseFolderCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

bool chooseFolder(HWND owner, wchar_t* path)
{
    path[0] = L'\0';
    LPITEMIDLIST music = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_MYMUSIC, &music))) {
        SHGetPathFromIDListW(music, path);
        CoTaskMemFree(music);
    }
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = path;
    browse.lpszTitle = L"フォルダーを開く";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = browseFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(path);
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return false;
    bool named = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return named;
}

bool choosePlaylistFile(HWND owner, wchar_t* path)
{
    return systemFileDialog(FILE_DIALOG_OPEN, owner, playlistOpenFilters, &playlistOpenFilterIndex, path,
                            TEXT_BUFFER_UNITS, L"プレイリストを開く",
                            OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
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

static const wchar_t overwriteQuestion[] = L"「%ls」は既に存在しています。上書きしますか？";
// The question's own units ("%ls" and the terminator aside): the path gets the rest of the buffer.
static const size_t overwriteQuestionUnits = ARRAYSIZE(overwriteQuestion) - 4;

// Asked whatever the message display setting says: the user must answer before a file is lost.
static bool mayOverwrite(HWND owner, const wchar_t* path)
{
    if (!PathFileExistsW(path))
        return true;
    wchar_t shownPath[TEXT_BUFFER_UNITS - overwriteQuestionUnits];
    copyTextShortened(shownPath, ARRAYSIZE(shownPath), path);
    wchar_t question[TEXT_BUFFER_UNITS];
    formatText(question, TEXT_BUFFER_UNITS, overwriteQuestion, shownPath);
    return askUser(owner, question, L"上書き保存確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

// No flags: the player asks before replacing a file and completes a bare name itself.
bool chooseExportFile(HWND owner, wchar_t* path)
{
    if (!systemFileDialog(FILE_DIALOG_SAVE, owner, exportFilters, &exportFilterIndex, path, TEXT_BUFFER_UNITS,
                          L"プレイリストファイルに書き出す", 0))
        return false;
    completePlaylistFileName(path);
    return mayOverwrite(owner, path);
}
