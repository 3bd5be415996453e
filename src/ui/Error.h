// Errors raised by the program's own logic. They abandon the running handler
// and reach the application's top-level handler, which shows what() in a
// message box and lets the program carry on.
#pragma once
#include <stdexcept>
#include <string>

namespace ui {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ui
