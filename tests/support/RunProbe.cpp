// A program for the run action's tests, started by Dormix:
//   run_probe [/wait] ARGUMENT...
// Writes its arguments, one a line, to "ran.txt" in its current folder;
// with /wait it then runs until "go.txt" is there (a minute at most).
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  std::FILE* ran = std::fopen("ran.txt", "wb");
  if (!ran) return 3;
  bool wait = false;
  for (int i = 1; i < argc; ++i) {
    wait = wait || std::strcmp(argv[i], "/wait") == 0;
    std::fprintf(ran, "%s\n", argv[i]);
  }
  std::fclose(ran);
  for (int i = 0; wait && i < 600 && GetFileAttributesA("go.txt") == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  return 0;
}
