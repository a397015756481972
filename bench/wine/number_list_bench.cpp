// Whole-process measurement under Wine: the real program's phone-list
// drop-down filling the real combo box from a long phone list, against
// merely reading the same file's lines, in the same run. Not a test: it
// only prints figures. Usage: number_list_bench [lines] [repetitions].
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "support/program_under_test.h"
#include "win32/win32_file_system.h"

namespace {

using namespace corvane;
using namespace corvane::testing;

double Seconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string WritePhoneList(int lines) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "corvane_bench_phones.txt";
  std::ofstream file(path, std::ios::binary);
  file << "City,State /Province,Country,PhoneNo.,,,,,,Comment,,,,AreaCode,CountryCode,,CountryId,Use DialingRules,\r\n";
  for (int i = 1; i < lines; ++i) {
    file << "Location" << i << ",AZ,US,520 " << 3000000 + i << ",,1,,1,1,Location" << i << "AZUS\r\n";
  }
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string path = WritePhoneList(lines);

  Win32FileSystem files;
  std::vector<double> readTimes;
  for (int i = 0; i < std::max(repetitions, 5); ++i) {
    std::vector<std::string> read;
    const double start = Seconds();
    files.ReadLines(path, read);
    readTimes.push_back(Seconds() - start);
  }

  // List mode: the program waits for the user instead of dialing.
  const std::string entry = "Benchlist";
  SeedEntry(entry, {{"UseList", "1"}, {"PhoneList", path}, {"UserList", path}});
  std::vector<double> fillTimes;
  int items = 0;
  {
    ProgramUnderTest program(entry);
    HWND dialer = program.MainWindow();
    HWND combo = dialer != nullptr ? GetDlgItem(dialer, IDC_CMBLIST) : nullptr;
    if (combo == nullptr) {
      std::fprintf(stderr, "the dialer window or its phone list box did not appear\n");
      return 1;
    }
    for (int i = 0; i < repetitions; ++i) {
      // Opening the list raises the drop-down handler before the list shows;
      // the message returns once the handler has filled the box.
      const double start = Seconds();
      SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
      fillTimes.push_back(Seconds() - start);
      items = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
      SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
  }
  DeleteEntry(entry);
  DeleteFileA(path.c_str());

  const double read = Median(readTimes);
  const double fill = Median(fillTimes);
  std::printf("phone list of %d lines, median of %d\n", lines, repetitions);
  std::printf("read the file's lines          %10.2f ms\n", read * 1000);
  std::printf("drop-down into the real combo  %10.2f ms  (%d items)\n", fill * 1000, items);
  std::printf("ratio                          %10.1f x\n", fill / read);
  return items == lines ? 0 : 1;
}
