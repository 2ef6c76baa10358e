// The programs' terminate handler. The library's default one names the
// exception on stderr, which a -mwindows program does not have, and brings a
// C++ name demangler of 46 KB for it. Defined here, it keeps the library's
// out of the link: std::terminate still ends the program with abort(), only
// without the words nobody could read. Like the ANSI stand-ins, it must be
// linked as an object, ahead of the runtime.
#include <cstdlib>
#include <exception>

void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }
