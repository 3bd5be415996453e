// The MSI's custom action that checks its public properties before anything
// is written: each one given is read by its setting's kind in the settings'
// layout, and set again in the form the settings store it (CLOCK=9:45 is
// "09:45", CLOCKACTION=LogOff is "2"). One that is not of its kind fails the
// install, with a message in its log that names the property and what it
// takes.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cstdlib>
#include <string>

#include "app/SettingsLayout.h"

namespace {

std::string Property(MSIHANDLE install, const char* name) {
  char none[1] = "";
  DWORD size = 0;
  if (MsiGetPropertyA(install, name, none, &size) != ERROR_MORE_DATA) return {};
  std::string value(++size, '\0');
  if (MsiGetPropertyA(install, name, value.data(), &size) != ERROR_SUCCESS) return {};
  value.resize(size);
  return value;
}

// The text goes in as a field of its own: brackets in it are not formatted.
void LogError(MSIHANDLE install, const std::string& text) {
  const MSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringA(record, 0, "[1]");
  MsiRecordSetStringA(record, 1, text.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_ERROR, record);
  MsiCloseHandle(record);
}

UINT Check(MSIHANDLE install) {
  for (const app::Row& row : app::Layout()) {
    if (!row.msiProperty) continue;
    const std::string given = Property(install, row.msiProperty);
    if (given.empty()) continue;
    if (const std::optional<std::string> accepted = app::Accept(row.accepts, given)) {
      MsiSetPropertyA(install, row.msiProperty, accepted->c_str());
      continue;
    }
    const std::string shown = given.size() > 40 ? given.substr(0, 40) + "..." : given;
    LogError(install, std::string(row.msiProperty) + "=" + shown + " is refused: give " + app::Describe(row.accepts) +
                          ". Nothing was installed.");
    return ERROR_INSTALL_FAILURE;
  }
  return ERROR_SUCCESS;
}

}  // namespace

// The library's own end for an uncaught error prints the error's type by
// its demangled name: 75 KB of demangler and formatter, more than all the
// rest of the DLL. No error leaves CheckProperties, so ending is enough.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// No error may unwind into the installer: one (out of memory) fails the install.
extern "C" __declspec(dllexport) UINT __stdcall CheckProperties(MSIHANDLE install) {
  try {
    return Check(install);
  } catch (const std::exception& error) {
    LogError(install, error.what());
  } catch (...) {
  }
  return ERROR_INSTALL_FAILURE;
}
