// main() of the test programs that run under Wine. The result is also
// written to the file named by DORMIX_RESULT, so that the harness can tell a
// finished run from a process that was killed (Wine's end of the session
// ends processes with exit code 0).
#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (const char* path = std::getenv("DORMIX_RESULT"))  // a Unix path: Wine's drive Z:
    if (std::FILE* f = std::fopen((std::string("Z:") + path).c_str(), "wb")) {
      std::fprintf(f, "%d\n", result);
      std::fclose(f);
    }
  return result;
}
