#include "Screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace e2e {

namespace {

COLORREF fromPixel(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

BITMAPINFO topDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A memory DC with a DIB section selected, which it copies out when done.
class DibCanvas {
  public:
    DibCanvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = topDownInfo(width, height);
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (!dc_ || !bitmap_) {
            throw std::runtime_error("cannot make a DIB section");
        }
        old_ = SelectObject(dc_, bitmap_);
    }
    ~DibCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return dc_; }
    Capture copy() const {
        GdiFlush();
        Capture capture(width_, height_);
        std::memcpy(capture.pixels().data(), bits_, capture.pixels().size() * 4);
        return capture;
    }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

} // namespace

COLORREF Capture::at(int x, int y) const {
    return fromPixel(pixels_[size_t(y) * width_ + x] & 0xFFFFFF);
}

int Capture::countOtherThan(COLORREF background) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            count += at(x, y) != background;
        }
    }
    return count;
}

RECT Capture::inkBounds(COLORREF background) const {
    RECT bounds{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (at(x, y) != background) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
        }
    }
    return bounds.right > bounds.left ? bounds : RECT{0, 0, 0, 0};
}

bool Capture::operator==(const Capture& other) const {
    if (width_ != other.width_ || height_ != other.height_) {
        return false;
    }
    for (size_t i = 0; i < pixels_.size(); ++i) {
        if ((pixels_[i] ^ other.pixels_[i]) & 0xFFFFFF) {
            return false;
        }
    }
    return true;
}

bool Capture::saveBmp(const std::string& path) const {
    // 24 bits a pixel: viewers take the unused fourth byte of a 32-bit BMP,
    // which BitBlt leaves 0, for alpha and show the picture as transparent.
    // Bottom-up rows, the one order that every reader (Wine's LoadImage too) takes.
    const size_t rowSize = (size_t(width_) * 3 + 3) & ~size_t(3);
    std::vector<unsigned char> image(rowSize * height_);
    for (int y = 0; y < height_; ++y) {
        unsigned char* row = &image[rowSize * (height_ - 1 - y)];
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t pixel = pixels_[size_t(y) * width_ + x];
            row[x * 3] = pixel & 0xFF;
            row[x * 3 + 1] = (pixel >> 8) & 0xFF;
            row[x * 3 + 2] = (pixel >> 16) & 0xFF;
        }
    }
    BITMAPINFO info = topDownInfo(width_, height_);
    info.bmiHeader.biHeight = height_;
    info.bmiHeader.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = DWORD(file.bfOffBits + image.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        return false;
    }
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                    std::fwrite(image.data(), 1, image.size(), out) == image.size();
    return std::fclose(out) == 0 && ok;
}

Capture captureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("captureScreen: empty rectangle " + std::to_string(width) +
                                    "x" + std::to_string(height));
    }
    DibCanvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    const BOOL copied =
        BitBlt(canvas.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (!copied) {
        throw std::runtime_error("BitBlt from the screen failed");
    }
    return canvas.copy();
}

Capture renderText(const LOGFONTA& font, const std::string& text, int width, int height,
                   UINT drawFlags, COLORREF foreground, COLORREF background) {
    DibCanvas canvas(width, height);
    RECT rect{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(canvas.dc(), &rect, brush);
    DeleteObject(brush);

    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(canvas.dc(), handle);
    SetTextColor(canvas.dc(), foreground);
    SetBkColor(canvas.dc(), background);
    SetBkMode(canvas.dc(), OPAQUE);
    DrawTextA(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &rect, drawFlags);
    SelectObject(canvas.dc(), old);
    DeleteObject(handle);
    return canvas.copy();
}

Capture drawIcon(HICON icon, int width, int height, COLORREF background) {
    DibCanvas canvas(width, height);
    const RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(canvas.dc(), &all, brush);
    DeleteObject(brush);
    DrawIcon(canvas.dc(), 0, 0, icon);
    Capture capture = canvas.copy();
    for (std::uint32_t& pixel : capture.pixels()) {
        pixel &= 0xFFFFFF; // DrawIcon may leave alpha where the screen has none
    }
    return capture;
}

LOGFONTA makeFont(const char* face, LONG height) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

} // namespace e2e
