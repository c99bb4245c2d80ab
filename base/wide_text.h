// Bounded text helpers: every buffer of the player has a fixed size, and nothing may run past it.
#pragma once

#include <stddef.h>

// Formats into buffer (capacity units, terminator included). The result is always terminated;
// it is cut when it does not fit, and the return value tells whether the whole text fit.
// Wide string arguments are written %ls.
bool formatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...);

// Copies text into buffer, cut to capacity - 1 units; true when nothing was cut.
bool copyText(wchar_t* buffer, size_t capacity, const wchar_t* text);

// Marks a full buffer whose text was cut (by formatText or copyText): its last unit before the
// terminator becomes an ellipsis, so that the user sees the text was shortened.
void endWithEllipsis(wchar_t* buffer, size_t capacity);

// As copyText, but a cut text ends with an ellipsis.
void copyTextShortened(wchar_t* buffer, size_t capacity, const wchar_t* text);

// The last component of a path (file name and extension): the text after the last '\' or '/',
// else after a leading drive "X:", else the whole path.
const wchar_t* fileNamePart(const wchar_t* path);

// Compares the ASCII letters A-Z case-insensitively and every other unit exactly.
bool equalsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);

// The text after the last '.' of path, or nullptr when there is no dot.
const wchar_t* textAfterLastDot(const wchar_t* path);

// True when the text after the last '.' of path is one of extensions (ASCII letters compared
// case-insensitively; the list ends with nullptr).
bool hasExtensionIn(const wchar_t* path, const wchar_t* const* extensions);
