// The names and command lines of a program started as an action.
#include "program/Program.h"

#include <cctype>

namespace program {

namespace {
// A caption's room for a program's file name beside "Run " and its time.
constexpr std::size_t kLongestName = 24;

std::string LowerExtension(const std::string& path) {
  const std::string name = FileName(path);
  const std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}
}  // namespace

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  // A drive's root keeps its backslash: "C:" alone is that drive's current folder.
  return path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash);
}

Kind KindOf(const std::string& path) {
  const std::string extension = LowerExtension(path);
  if (extension == ".exe" || extension == ".com") return Kind::kExecutable;
  if (extension == ".bat" || extension == ".cmd") return Kind::kBatch;
  return Kind::kDocument;
}

std::string CommandLineOf(const schedule::Run& run) {
  const std::string line = "\"" + run.program + "\"" + (run.arguments.empty() ? "" : " " + run.arguments);
  return KindOf(run.program) == Kind::kBatch ? "/c \"" + line + "\"" : line;
}

std::string RunName(const std::string& path) {
  const std::string name = FileName(path);
  return "Run " + (name.size() <= kLongestName ? name : name.substr(0, kLongestName - 3) + "...");
}

}  // namespace program
