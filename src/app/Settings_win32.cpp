// The settings store's registry: HKEY_LOCAL_MACHINE, and HKEY_CURRENT_USER
// for the autostart entry, through the 8-bit API; and the conversion of texts
// stored in the ANSI code page.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "app/Settings.h"
#include "ui/Win32Handle.h"

namespace app {

namespace {

class Win32Key : public RegistryKey {
 public:
  // The root is not closed: it is a predefined key.
  explicit Win32Key(HKEY root) : key_(root) {}
  Win32Key(ui::unique_hkey key, bool writable) : owned_(std::move(key)), key_(owned_.get()), writable_(writable) {}

  std::unique_ptr<RegistryKey> Open(const std::string& path, bool create) override {
    HKEY key = nullptr;
    // A user without the right to write here can still read.
    if (create && RegCreateKeyExA(key_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                  nullptr, &key, nullptr) == ERROR_SUCCESS)
      return std::make_unique<Win32Key>(ui::unique_hkey(key), true);
    if (RegOpenKeyExA(key_, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
      return std::make_unique<Win32Key>(ui::unique_hkey(key), false);
    return nullptr;
  }

  std::optional<RegistryValue> Read(const std::string& name) override {
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<char> data;
    // The value may grow between the calls; ask again with the new size.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
      data.resize(size);
      result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_SUCCESS)
        return RegistryValue{type, std::string(data.begin(), data.begin() + size)};
    }
    return std::nullopt;
  }

  bool WriteString(const std::string& name, const std::string& data) override {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
  }

  void WriteDword(const std::string& name, std::uint32_t data) override {
    const DWORD value = data;
    RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  }

  // A key open for reading only refuses to delete even a missing value.
  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS || !Read(name);
  }

  bool Writable() override { return writable_; }

 private:
  ui::unique_hkey owned_;
  HKEY key_;
  bool writable_ = true;
};

}  // namespace

RegistryKey& LocalMachine() {
  static Win32Key root(HKEY_LOCAL_MACHINE);
  return root;
}

RegistryKey& CurrentUser() {
  static Win32Key root(HKEY_CURRENT_USER);
  return root;
}

std::optional<std::string> AnsiToUtf8(const std::string& text) {
  char number[8] = {};
  if (GetACP() != CP_UTF8 ||
      !GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number))
    return std::nullopt;
  // A text that is not valid in that code page stays as it is; so does every
  // text where the system names no ANSI code page (0: the process's UTF-8).
  const UINT codePage = std::strtoul(number, nullptr, 10);
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wide <= 0) return std::nullopt;
  std::wstring utf16(wide, L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, utf16.data(), wide);
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

}  // namespace app
