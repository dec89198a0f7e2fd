// The dialog's first place: on the desktop, whatever monitors it spans.
#include "Centring.h"

#include <gtest/gtest.h>

// Two 1024-wide monitors, the second left of the primary: the desktop runs
// from x = -1024 to 1024, and a dialog 487 wide stands across their seam.
TEST(Centring, CountsFromTheDesktopsOwnCorner) {
    EXPECT_EQ(CentredOnDesktop(-1024, 2048, 487), -244);
}
