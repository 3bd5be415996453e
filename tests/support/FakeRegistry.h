// An in-memory registry behind app::RegistryKey, for the settings store's
// unit tests and its fuzz target. Keys are held by full path; every write is
// kept and journalled as "<key>\<name>=<data>", the settings key shown as
// "Dormix" and the Run key as "Run"; the keys left open are counted; a denied
// path opens neither for reading nor for creating.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"

namespace fake_registry {

using Journal = std::vector<std::string>;

struct Store {
  std::map<std::string, std::map<std::string, app::RegistryValue>> keys;
  std::set<std::string> denied, readOnly;
  Journal writes;
  int openKeys = 0;
};

class FakeKey : public app::RegistryKey {
 public:
  FakeKey(Store& store, std::string path) : store_(store), path_(std::move(path)) {
    ++store_.openKeys;
  }
  ~FakeKey() override { --store_.openKeys; }

  std::unique_ptr<RegistryKey> Open(const std::string& path, bool create) override {
    const std::string full = path_.empty() ? path : path_ + "\\" + path;
    if (store_.denied.count(full)) return nullptr;
    if (create) {
      store_.keys[full];
    } else if (!HasKey(full)) {
      return nullptr;
    }
    return std::make_unique<FakeKey>(store_, full);
  }
  std::optional<app::RegistryValue> Read(const std::string& name) override {
    const auto key = store_.keys.find(path_);
    if (key == store_.keys.end()) return std::nullopt;
    const auto it = key->second.find(name);
    if (it == key->second.end()) return std::nullopt;
    return it->second;
  }
  bool WriteString(const std::string& name, const std::string& data) override {
    if (!Writable()) return false;
    store_.keys[path_][name] = {app::kRegSz, data};
    Log(name + "=" + data);
    return true;
  }
  void WriteDword(const std::string& name, std::uint32_t data) override {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(data >> (8 * i));
    store_.keys[path_][name] = {app::kRegDword, bytes};
    Log(name + "=dword:" + std::to_string(data));
  }
  bool DeleteValue(const std::string& name) override {
    if (!Writable()) return !Read(name);
    store_.keys[path_].erase(name);
    Log(name + " deleted");
    return true;
  }
  bool Writable() override { return !store_.readOnly.count(path_); }

 private:
  // The key itself or a key below it; those all sort after it, among others
  // that only begin with the same characters.
  bool HasKey(const std::string& full) const {
    for (auto at = store_.keys.lower_bound(full); at != store_.keys.end(); ++at) {
      if (at->first == full || at->first.rfind(full + "\\", 0) == 0) return true;
      if (at->first.rfind(full, 0) != 0) return false;
    }
    return false;
  }
  void Log(const std::string& what) {
    std::string key = path_;
    for (const auto& [full, shown] :
         {std::pair{&app::kSettingsKey, "Dormix"}, {&app::kRunKey, "Run"}})
      if (key.rfind(*full, 0) == 0) key = shown + key.substr(full->size());
    store_.writes.push_back(key + "\\" + what);
  }
  Store& store_;
  std::string path_;
};

}  // namespace fake_registry
