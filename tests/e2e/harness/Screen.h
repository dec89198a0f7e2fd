// What is on the screen, pixel by pixel, and what text would look like.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A 32-bit top-down pixel buffer.
class Capture {
  public:
    Capture() = default;
    Capture(int width, int height)
        : width_(width), height_(height), pixels_(size_t(width) * height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const; // as GetPixel returns it
    // Pixels whose colour differs from `background`.
    int countOtherThan(COLORREF background) const;
    // The smallest rectangle holding every pixel not of `background`; empty when none.
    RECT inkBounds(COLORREF background) const;
    bool operator==(const Capture& other) const;

    // For looking at a failure by eye; returns false when the file cannot be written.
    bool saveBmp(const std::string& path) const;

    std::vector<std::uint32_t>& pixels() { return pixels_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_; // 0x00RRGGBB
};

// Copies a screen rectangle (screen coordinates) with BitBlt.
Capture captureScreen(const RECT& area);

// Draws `text` with DrawTextA into a width x height bitmap of `background`,
// with the font `font` describes: what a control of that size would show.
Capture renderText(const LOGFONTA& font, const std::string& text, int width, int height,
                   UINT drawFlags, COLORREF foreground = RGB(0, 0, 0),
                   COLORREF background = RGB(255, 255, 255));

// `icon` drawn by DrawIcon at (0, 0) into a width x height bitmap of `background`.
Capture drawIcon(HICON icon, int width, int height, COLORREF background);

// A LOGFONTA with this face and height, everything else the defaults.
LOGFONTA makeFont(const char* face, LONG height);

} // namespace e2e
