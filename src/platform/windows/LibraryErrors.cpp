// The few errors the C++ library raises itself (a string or buffer asked to
// grow past its limit, an index out of range), raised as the program's own
// Error. The library's versions would bring its std::logic_error family, and
// with it a second, copy-on-write string implementation: a quarter of the
// shipped file. Only libstdc++ reports these through these functions.
#include "Error.h" // includes the library's configuration, which tells which library it is

#if defined(__GLIBCXX__)

namespace {

// In Japanese like every other text the user sees: the library's own texts
// are English and name its internals.
const char* const OutOfRangeText = "位置が範囲外です";

} // namespace

namespace std {

[[noreturn]] void __throw_logic_error(const char*) {
    throw Error("不正な操作です");
}
[[noreturn]] void __throw_length_error(const char*) {
    throw Error("データが長すぎます");
}
[[noreturn]] void __throw_out_of_range(const char*) {
    throw Error(OutOfRangeText);
}
[[noreturn]] void __throw_invalid_argument(const char*) {
    throw Error("引数が不正です");
}
[[noreturn]] void __throw_bad_alloc() {
    throw Error("メモリが不足しています");
}
[[noreturn]] void __throw_bad_array_new_length() {
    throw Error("配列の長さが不正です");
}

[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    throw Error(OutOfRangeText);
}

} // namespace std

#endif
