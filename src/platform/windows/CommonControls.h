#pragma once

// Loads the common controls from the system folder (never from the program's
// own folder, where anyone may have left a DLL of that name) and registers the
// progress bar class. True when the controls offer 32-bit progress ranges.
bool LoadCommonControls();
