// Where the dialog first stands, kept free of Windows calls so that it can be
// checked on its own.
#pragma once

// Along one axis: the start of a window `size` long centred on the desktop
// that begins at `origin` and is `extent` long. A monitor left of or above the
// primary one puts the origin below 0. A desktop shorter than the window gets
// the window's start at its own, so that the caption stays within reach.
inline int CentredOnDesktop(int origin, int extent, int size) {
    const int offset = (extent - size) / 2;
    return origin + (offset < 0 ? 0 : offset);
}
