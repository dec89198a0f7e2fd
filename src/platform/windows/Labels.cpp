#include "Labels.h"

namespace {

UINT DrawFlags(const Label& label) {
    return DT_EXPANDTABS | DT_LEFT | (label.wordBreak ? DT_WORDBREAK : 0u);
}

void DrawPolyline(HDC dc, int colourIndex, const POINT* points, int count) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colourIndex));
    HGDIOBJ previous = SelectObject(dc, pen);
    Polyline(dc, points, count);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

} // namespace

void PaintLabel(HDC dc, const Label& label) {
    RECT rect = ToRect(label.box);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ previousFont = SelectObject(dc, label.font);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    // Without DT_NOCLIP the text is cut off at the label's edges.
    DrawTextA(dc, label.caption.c_str(), static_cast<int>(label.caption.size()), &rect,
              DrawFlags(label));
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
}

void PaintBevel(HDC dc, const ControlBox& box) {
    const int left = box.left;
    const int top = box.top;
    const int right = box.left + box.width - 1;
    const int bottom = box.top + box.height - 1;
    const POINT shadow[] = {{left, bottom}, {left, top}, {right, top}};
    const POINT highlight[] = {{right, top}, {right, bottom}, {left, bottom}};
    DrawPolyline(dc, COLOR_BTNSHADOW, shadow, 3);
    DrawPolyline(dc, COLOR_BTNHIGHLIGHT, highlight, 3);
}

SIZE MeasureLabel(const Label& label) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, label.font);
    RECT rect = {0, 0, label.box.width, 0};
    DrawTextA(screen, label.caption.c_str(), static_cast<int>(label.caption.size()), &rect,
              DT_CALCRECT | DT_EXPANDTABS | DT_LEFT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    return size;
}
