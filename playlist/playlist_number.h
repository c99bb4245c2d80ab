// The numbers of a playlist line: signed 32-bit decimals in any of the common Unicode digit
// scripts, kept as unsigned milliseconds.
#pragma once


// Reads [begin, end): leading white space, an optional sign, then digits up to the first other
// unit. No digits gives 0, values beyond the signed 32-bit range saturate, negatives give 0.
unsigned int parsePlaylistNumber(const wchar_t* begin, const wchar_t* end);
