// The text of the error box, kept free of Windows calls so that it can be
// checked on its own.
#pragma once

#include "Text.h"

// The error's message, with "." appended when its last character, taken as
// the bytes of that character, compares above "." as unsigned bytes. The last
// character is found in code page 932, so both bytes of a double-byte
// character are compared.
Text ErrorBoxText(const Text& message);
