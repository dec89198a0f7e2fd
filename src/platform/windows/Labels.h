// The labels and the separator line have no windows: the dialog paints them
// onto its own client area, in the order they were created.
#pragma once

#include "DialogLayout.h"
#include "Text.h"
#include "Win32.h"

struct Label {
    ControlBox box;
    Text caption;
    HFONT font = nullptr;
    bool visible = true;
    bool wordBreak = false;   // wraps onto further lines
    bool anchorRight = false; // widens with the dialog
    bool autoSize = false;    // takes the size of its text
};

void PaintLabel(HDC dc, const Label& label);
// The separator: one shadow and one highlight polyline round its rectangle.
void PaintBevel(HDC dc, const ControlBox& box);
// The size DrawTextA gives the caption on the screen, for a label sized to its text.
SIZE MeasureLabel(const Label& label);
