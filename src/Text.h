// Every caption, message, path and registry name of the updater is a byte
// string in code page 932 (Shift-JIS): the bytes that reach the ANSI ("A")
// functions of Windows. Sources are UTF-8 and are compiled with a cp932
// execution character set, so a literal such as "実　行" is already cp932.
#pragma once

#include <string>

using Text = std::string;
