// The C++ library's own errors arrive as the program's Error, in Japanese,
// so that the error box can show them like any other.
#include "Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(LibraryErrors, OutOfRangeAndLengthErrorsAreTheProgramsOwn) {
    const std::string text = "abc";
    EXPECT_THROW((void)text.substr(4), Error);
    std::vector<int> numbers;
    EXPECT_THROW((void)numbers.at(0), Error);
    std::string grown;
    EXPECT_THROW(grown.reserve(grown.max_size() + 1), Error);
    try {
        (void)text.substr(9);
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "位置が範囲外です");
    }
}

} // namespace
