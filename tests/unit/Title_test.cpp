// The application title derived from the executable's path.
#include "ui/Title.h"

#include <gtest/gtest.h>

TEST(TitleFromPath, DropsDirectoryAndEverythingFromTheFirstDotAndLowersAllButTheFirst) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Program Files\\Dormix\\Dormix.exe", "Dormix"},
      {"C:\\Program Files\\Dormix\\DORMIX.EXE", "Dormix"},
      {"Z:\\build\\win32\\dormix.exe", "dormix"},
      {"Dormix.exe", "Dormix"},
      {"C:\\x\\My.Tool.v2.exe", "My"},
      {"C:\\x.dir\\NoDot", "Nodot"},
      {"C:\\x\\.hidden.exe", ""},
      {"/unix/path/Other-Name.EXE", "Other-name"},
      {"C:\\x\\sleepWELL.exe", "sleepwell"},
      {"C:\\x\\\xC4" "BC.exe", "\xC4" "bc"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::TitleFromPath(c.path), c.title) << c.path;
}
