// One move-only owner for every kind of handle: the close function is a
// template parameter, copies are deleted, so no handle is ever closed twice or
// left open. Aliases for the Win32 handle types live in ui/Win32Handle.h.
#pragma once
#include <utility>

namespace ui {

template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid; }
  T release() { return std::exchange(handle_, Invalid); }
  void reset(T handle = Invalid) {
    const T old = std::exchange(handle_, handle);
    if (old != Invalid) Close(old);
  }

 private:
  T handle_ = Invalid;
};

}  // namespace ui
