// The settings store's registry: HKEY_LOCAL_MACHINE, and HKEY_CURRENT_USER
// for the autostart entry, through the 8-bit API.
#include <windows.h>

#include <vector>

#include "app/Settings.h"
#include "ui/Win32Handle.h"

namespace app {

namespace {

class Win32Key : public RegistryKey {
 public:
  // The root is not closed: it is a predefined key.
  explicit Win32Key(HKEY root) : key_(root) {}
  explicit Win32Key(ui::unique_hkey key) : owned_(std::move(key)), key_(owned_.get()) {}

  std::unique_ptr<RegistryKey> Open(const std::string& path, bool create) override {
    HKEY key = nullptr;
    // A user without the right to write here can still read.
    if ((create &&
         RegCreateKeyExA(key_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) ||
        RegOpenKeyExA(key_, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
      return std::make_unique<Win32Key>(ui::unique_hkey(key));
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

  void DeleteValue(const std::string& name) override { RegDeleteValueA(key_, name.c_str()); }

 private:
  ui::unique_hkey owned_;
  HKEY key_;
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

}  // namespace app
