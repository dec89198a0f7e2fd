// The file calls of the installation lookup and the update run.
#pragma once

#include "Text.h"

// Whether `path` names a file (not a folder) whose last-write time, in local
// time, can be written as an MS-DOS date and time.
bool WindowsFilePresent(const Text& path);
// The running program's full path; empty when it does not fit 260 characters.
Text WindowsOwnProgramPath();
// Puts a copy of `source` in place of `target`, by way of a new copy beside it
// that reaches the disk first; false when `target` was left as it was.
bool WindowsCopyFile(const Text& source, const Text& target);
