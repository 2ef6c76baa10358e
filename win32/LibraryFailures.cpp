// How the programs end when the C++ library fails: an allocation refused, a
// string or vector asked to grow past its limit, an empty std::function
// called. Built without exceptions, nothing of ours could catch what the
// library throws then, so it always came to std::terminate and abort(). Ended
// here at once, the same way, the programs leave out the library's throwing
// helpers and what they bring: the exception classes, a second string
// implementation for their messages, and the stderr report and C++ name
// demangler of the default terminate handler.
// These definitions stand in for the library's own, so, like the ANSI
// stand-ins, they must be linked as an object, ahead of the runtime; a helper
// missing here brings the library's back, and the link then fails on the
// ones defined twice.
#include <cstdlib>
#include <exception>
#include <new>

void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
}  // namespace std

// The library's throws std::bad_alloc, which would bring the unwinder's
// throwing half; no new-handler is ever installed, so there is nothing to retry.
void* operator new(std::size_t size)
{
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) std::abort();
    return memory;
}
