// A stand-in for a user's action: appends one line to the file its first
// argument names, holding its second argument and then the CORVANE_*
// variables it found in its environment, in a fixed order, each after a
// '|' ("-" for one that is not set).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  static const char* const kNames[] = {"CORVANE_EVENT",      "CORVANE_ENTRY",          "CORVANE_NUMBER",
                                       "CORVANE_LOGIN",      "CORVANE_SPEED",          "CORVANE_SECONDS",
                                       "CORVANE_BYTES_SENT", "CORVANE_BYTES_RECEIVED", "CORVANE_ENDED_BY"};
  std::string line = argv[2];
  for (const char* name : kNames) {
    const char* value = std::getenv(name);
    line += '|';
    line += value != nullptr ? value : "-";
  }
  line += '\n';
  FILE* file = std::fopen(argv[1], "ab");
  if (file == nullptr) return 1;
  std::fputs(line.c_str(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}
