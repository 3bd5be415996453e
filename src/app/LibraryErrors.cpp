// The errors the C++ library raises from its containers and conversions (a
// length past the largest, a position past the end, a number that is none),
// thrown as a type of dormix.exe's own. The library's own types keep their
// text in its old copy-on-write string: throwing any of them brings that
// whole second string implementation into the executable (80 KB with its
// unwind tables). Handlers catch std::exception and see the same text.
// Linked into dormix.exe only: the test programs use the library's own.
#include <cstdarg>
#include <cstring>
#include <exception>
#include <new>

namespace __gnu_cxx {
// The library's own formatter of these texts (%s, %zu and %%).
int __snprintf_lite(char* buffer, std::size_t size, const char* format, std::va_list arguments);
}  // namespace __gnu_cxx

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* text) { std::strncpy(text_, text, sizeof text_ - 1); }
  LibraryError(const char* format, std::va_list arguments) {
    __gnu_cxx::__snprintf_lite(text_, sizeof text_, format, arguments);
  }
  const char* what() const noexcept override { return text_; }

 private:
  char text_[256] = {};
};

}  // namespace

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
void __throw_out_of_range_fmt(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  LibraryError error(format, arguments);
  va_end(arguments);
  throw error;
}
}  // namespace std
