// What the stand-in window shows, shared with the tests that check it.
#pragma once

#include <windows.h>

namespace standin {

inline const char* const className = "E2EStandIn";
// A full-width space (81 40) and a trail byte of 0x5C (表 is 95 5C) test that
// text passes through as cp932 bytes.
inline const char* const title = "テスト窓　表示";

inline constexpr COLORREF background = RGB(0x12, 0x9A, 0xCD);

inline constexpr int labelId = 100;
inline const char* const labelText = "表示ラベル 0123";
inline const char* const labelFontFace = "ＭＳ Ｐゴシック";
inline constexpr int labelFontHeight = -12;
inline constexpr RECT labelRect{10, 10, 130, 26};

inline constexpr int editId = 101;
inline constexpr int buttonId = 102;
inline const char* const buttonText = "実行";
inline constexpr int reportId = 103;
inline const char* const clickedText = "押した";
inline constexpr int progressId = 104;
inline constexpr int progressMaximum = 50;
inline constexpr int progressPosition = 20;

} // namespace standin
