// What the ready dialog's windowless labels and separator show on screen,
// compared pixel by pixel with the same text drawn here the same way.
#include "UpdaterFixture.h"

#include <sstream>

using namespace updater;

namespace {

constexpr int lineHeight = 12; // the dialog font at 96 dpi

// The size `text` takes when drawn `width` wide with these flags.
SIZE measured(const std::string& text, int width, UINT flags) {
    HDC dc = CreateCompatibleDC(nullptr);
    const LOGFONTA description = dialogFont();
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Pixels of `area` (client coordinates) not of the dialog's background.
int inkIn(HWND dialog, const RECT& area) {
    return labelOnScreen(dialog, area).countOtherThan(GetSysColor(COLOR_BTNFACE));
}

std::string colour(COLORREF value) {
    std::ostringstream out;
    out << "RGB(" << int(GetRValue(value)) << "," << int(GetGValue(value)) << ","
        << int(GetBValue(value)) << ")";
    return out.str();
}

class LabelsOnScreen : public DrivenUpdaterTest {
  protected:
    // Ready for an install folder of this name, in front.
    HWND startReadyIn(const std::string& name) {
        install = folder + "\\" + name;
        return startReady();
    }
};

} // namespace

TEST_F(LabelsOnScreen, ReadyDialogShowsItsLabelsAndSeparator) {
    HWND dialog = startReadyIn("ザルミナ表");
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";

    // Label2 is as big as its text.
    const std::string label2 = "「ザルミナ」を最新版にアップデートします。";
    const SIZE label2Size = measured(label2, 318, labelFlags);
    const RECT label2Box{8, 16, 8 + label2Size.cx, 16 + label2Size.cy};
    EXPECT_TRUE(labelShows(dialog, label2Box, label2, labelFlags));
    EXPECT_TRUE(labelShows(dialog, label1Box,
                           "以下の場所にインストールされている「ザルミナ」をアップデートします。",
                           labelFlags));
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, install, pathLabelFlags)) << install;

    // Bevel1: one row, shadow at its left end and highlight after it, with
    // the dialog's background all round.
    const e2e::Capture strip = labelOnScreen(dialog, {5, 81, 440, 84});
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int wrong = 0;
    std::string first;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const bool onLine = y == 1 && x > 0 && x < strip.width() - 1;
            const COLORREF expected =
                !onLine ? face : GetSysColor(x == 1 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
            if (strip.at(x, y) != expected && wrong++ == 0) {
                first = "client (" + std::to_string(x + 5) + "," + std::to_string(y + 81) +
                        ") is " + colour(strip.at(x, y)) + ", not " + colour(expected);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "first wrong pixel: " << first;
}

// The "&" is not shown, and the character after it is underlined.
TEST_F(LabelsOnScreen, AmpersandInThePathUnderlinesTheNextCharacter) {
    HWND dialog = startReadyIn("R&D ザルミナ");
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, install, pathLabelFlags)) << install;
    EXPECT_FALSE(labelOnScreen(dialog, pathLabelBox) ==
                 labelRendered(install, pathLabelBox, pathLabelFlags | DT_NOPREFIX))
        << "the path is shown with its \"&\"";
}

// A screen reader is told the labels as they are drawn, the "&" left out,
// and that Label3 is hidden before a run.
TEST_F(LabelsOnScreen, ScreenReaderIsToldTheLabelsAsDrawn) {
    HWND dialog = startReadyIn("R&D ザルミナ");
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    std::string path = install;
    path.erase(path.find('&'), 1);
    const std::vector<Told> told = toldOf(dialog);
    ASSERT_GE(told.size(), 6u) << "four labels and two buttons";
    EXPECT_EQ(told[0].name,
              utf16("以下の場所にインストールされている「ザルミナ」をアップデートします。"));
    EXPECT_EQ(told[1].name, utf16("「ザルミナ」を最新版にアップデートします。"));
    EXPECT_EQ(told[2].name, utf16(path));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(told[i].role, ROLE_SYSTEM_STATICTEXT) << i;
        EXPECT_EQ(told[i].state & STATE_SYSTEM_INVISIBLE, i == 3 ? STATE_SYSTEM_INVISIBLE : 0) << i;
    }
}

// Two lines show whole; the label's height cuts the third.
TEST_F(LabelsOnScreen, LongPathWithSpacesWrapsAndIsCutAtTheLabelsHeight) {
    std::string name = "ザルミナ";
    for (int i = 0; i < 8; ++i) {
        name += " WMWMWMW";
    }
    HWND dialog = startReadyIn(name);
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const int width = pathLabelBox.right - pathLabelBox.left;
    ASSERT_GE(measured(install, width, pathLabelFlags).cy, 3 * lineHeight) << install;
    const RECT ink =
        labelRendered(install, pathLabelBox, pathLabelFlags).inkBounds(GetSysColor(COLOR_BTNFACE));
    ASSERT_GT(ink.bottom, 2 * lineHeight) << "nothing of the third line would show";
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, install, pathLabelFlags)) << install;
    EXPECT_EQ(inkIn(dialog, {8, pathLabelBox.bottom, 477, 136}), 0) << "drawn below the label";
}

// The last folder's name alone is wider than the label, so the line it is on
// runs past the right edge and is cut there.
TEST_F(LabelsOnScreen, LongPathWithoutSpacesIsCutAtTheRightEdge) {
    const std::string name = "ZarminaUpdateTarget_WMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWM";
    HWND dialog = startReadyIn(name);
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const int width = pathLabelBox.right - pathLabelBox.left;
    ASSERT_GT(measured(name, width, labelFlags).cx, width);
    const RECT ink =
        labelRendered(install, pathLabelBox, pathLabelFlags).inkBounds(GetSysColor(COLOR_BTNFACE));
    ASSERT_GE(ink.right, width - 2) << "the path would not reach the right edge";
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, install, pathLabelFlags)) << install;
    EXPECT_EQ(inkIn(dialog, {pathLabelBox.right, 96, 481, 129}), 0) << "drawn past the label";
}
