// Where the dialog's controls sit, in client pixels at 96 dots per inch with
// a 12-pixel font, and how that layout follows the screen's density.
#pragma once

#include "Win32.h"

struct ControlBox {
    int left;
    int top;
    int width;
    int height;
};

namespace layout {
constexpr int ClientWidth = 481;
constexpr int ClientHeight = 214;
constexpr int ReferenceTextHeight = 12; // "0" in the dialog font at 96 dpi
constexpr int ReferenceDensity = 96;
constexpr int FontHeight = -12;
constexpr int StoredLeft = 168; // where the hidden dialog sits until it is centred
constexpr int StoredTop = 134;

constexpr ControlBox Label1 = {8, 64, 465, 12};
constexpr ControlBox Label2 = {8, 16, 318, 12};
constexpr ControlBox PathLabel = {8, 96, 469, 33};
constexpr ControlBox Bevel1 = {6, 82, 433, 1};
constexpr ControlBox Label3 = {8, 156, 453, 12};
constexpr ControlBox Button1 = {318, 180, 75, 25};
constexpr ControlBox Button2 = {400, 180, 75, 25};
constexpr ControlBox ProgressBar1 = {8, 136, 465, 17};
} // namespace layout

// Scales edges, not sizes, so that controls that touch keep touching.
ControlBox ScaleBox(const ControlBox& box, int numerator, int denominator);

// The dialog font's LOGFONT for a given height.
LOGFONTA DialogLogFont(int height);

RECT ToRect(const ControlBox& box);
