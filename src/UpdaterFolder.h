#pragma once

#include "Text.h"

// True for a byte that starts a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char byte);

// The folder part of a program path: everything up to and including its last
// backslash or colon, found character by character so that the second byte of
// a double-byte character (0x5C in "表" or "ソ") is never taken for a
// separator. Empty when the path has no separator.
Text UpdaterFolder(const Text& programPath);

// The program file's base name without its extension, lower-cased after its
// first character ("Update"), as the owner window is first titled. Only
// single-byte letters change case; the second byte of a double-byte
// character (55 in "ザ", 83 55) is no letter.
Text ProgramBaseTitle(const Text& programPath);
