#pragma once

#include "Platform.h"

// The program body: sets the application title, creates the dialog and runs
// it until it closes. Returns the program's exit code.
int Update(Platform& platform);
