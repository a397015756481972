// The runtime's last word when an exception escapes everything: the
// program ends at once. The static C++ runtime's own handler would print the
// exception's demangled type to a standard error nobody sees in a windowed
// program, and it brings the whole demangler (some 50 KB) into the program
// file. Defining the handler here keeps the runtime's copy out of the link;
// handlers for what window procedures throw are in handler_guard.cpp.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
