#include "playlist/playlist_number.h"

#include <wctype.h>

// First code unit of each run of ten decimal digits, ASCII first.
static const wchar_t digitZeros[] = {
    0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
    0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10,
};

// Value of a decimal digit of the ASCII or one of the Unicode digit ranges, else -1.
static int decimalDigitValue(wchar_t unit)
{
    for (wchar_t zero : digitZeros) {
        if (unit >= zero && unit < zero + 10)
            return unit - zero;
    }
    return -1;
}

unsigned int parsePlaylistNumber(const wchar_t* begin, const wchar_t* end)
{
    const long long limit = 2147483647LL;
    const wchar_t* p = begin;
    while (p < end && iswspace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == L'+' || *p == L'-')) {
        negative = *p == L'-';
        ++p;
    }
    long long value = 0;
    for (int digit; p < end && (digit = decimalDigitValue(*p)) >= 0; ++p) {
        // Once past the limit the value only has to stay there.
        if (value <= limit)
            value = value * 10 + digit;
    }
    if (negative)
        return 0;
    return static_cast<unsigned int>(value > limit ? limit : value);
}
