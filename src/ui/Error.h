// Errors raised by the program's own logic. They abandon the running handler
// and reach the application's top-level handler, which shows what() in a
// message box and lets the program carry on. Not a std::runtime_error: that
// one keeps its text in the library's old copy-on-write string, which would
// bring a second string implementation into the executable.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace ui {

class Error : public std::exception {
 public:
  explicit Error(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace ui
