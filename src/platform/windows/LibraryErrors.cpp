// The few errors the C++ library raises itself (a string or buffer asked to
// grow past its limit, an index out of range), raised as the program's own
// Error. The library's versions would bring its std::logic_error family, and
// with it a second, copy-on-write string implementation: a quarter of the
// shipped file. Only libstdc++ reports these through these functions.
#include "Error.h" // includes the library's configuration, which tells which library it is

#if defined(__GLIBCXX__)

namespace std {

[[noreturn]] void __throw_logic_error(const char* what) {
    throw Error(what);
}
[[noreturn]] void __throw_length_error(const char* what) {
    throw Error(what);
}
[[noreturn]] void __throw_out_of_range(const char* what) {
    throw Error(what);
}
[[noreturn]] void __throw_invalid_argument(const char* what) {
    throw Error(what);
}
[[noreturn]] void __throw_bad_alloc() {
    throw Error("out of memory");
}
[[noreturn]] void __throw_bad_array_new_length() {
    throw Error("array too long");
}

[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    throw Error("out of range");
}

} // namespace std

#endif
