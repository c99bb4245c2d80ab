#include "base/wide_text.h"

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

bool formatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...)
{
    if (capacity == 0)
        return false;
    va_list args;
    va_start(args, format);
    int written = __mingw_vsnwprintf(buffer, capacity, format, args);
    va_end(args);
    buffer[capacity - 1] = L'\0';
    if (written < 0) {
        buffer[0] = L'\0';
        return false;
    }
    return static_cast<size_t>(written) < capacity;
}

bool copyText(wchar_t* buffer, size_t capacity, const wchar_t* text)
{
    if (capacity == 0)
        return false;
    size_t i = 0;
    for (; i + 1 < capacity && text[i] != L'\0'; ++i)
        buffer[i] = text[i];
    buffer[i] = L'\0';
    return text[i] == L'\0';
}

void endWithEllipsis(wchar_t* buffer, size_t capacity)
{
    if (capacity >= 2)
        buffer[capacity - 2] = L'\u2026';
}

void copyTextShortened(wchar_t* buffer, size_t capacity, const wchar_t* text)
{
    if (!copyText(buffer, capacity, text))
        endWithEllipsis(buffer, capacity);
}

const wchar_t* fileNamePart(const wchar_t* path)
{
    const wchar_t* name = path;
    if (path[0] != L'\0' && path[1] == L':')
        name = path + 2;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    return name;
}

static wchar_t asciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool equalsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (asciiLower(*a) != asciiLower(*b))
            return false;
    }
    return *a == *b;
}

const wchar_t* textAfterLastDot(const wchar_t* path)
{
    const wchar_t* dot = wcsrchr(path, L'.');
    return dot ? dot + 1 : nullptr;
}

bool hasExtensionIn(const wchar_t* path, const wchar_t* const* extensions)
{
    const wchar_t* extension = textAfterLastDot(path);
    for (; extension && *extensions; ++extensions) {
        if (equalsIgnoringAsciiCase(extension, *extensions))
            return true;
    }
    return false;
}
