#include "DialogLayout.h"

#include <cstring>

ControlBox ScaleBox(const ControlBox& box, int numerator, int denominator) {
    ControlBox scaled;
    scaled.left = MulDiv(box.left, numerator, denominator);
    scaled.top = MulDiv(box.top, numerator, denominator);
    scaled.width = MulDiv(box.left + box.width, numerator, denominator) - scaled.left;
    scaled.height = MulDiv(box.top + box.height, numerator, denominator) - scaled.top;
    return scaled;
}

LOGFONTA DialogLogFont(int height) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    const char face[] = "ＭＳ Ｐゴシック"; // the blank is an ASCII space
    std::memcpy(font.lfFaceName, face, sizeof face);
    return font;
}

RECT ToRect(const ControlBox& box) {
    RECT rect = {box.left, box.top, box.left + box.width, box.top + box.height};
    return rect;
}
