#include "support/process_resources.h"

#include <psapi.h>
#include <winternl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/heap_probe.h"
#include "support/program_under_test.h"
#include "win32/unique_handle.h"

namespace corvane::testing {
namespace {

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// The system's list of processes carries each one's handle count. Wine
// fills it from the wineserver's own tables, where GetProcessHandleCount
// answers 0 for every process.
DWORD HandleCount(DWORD processId) {
  std::vector<ULONGLONG> buffer(64 * 1024);  // ULONGLONG keeps the records aligned
  ULONG needed = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                            static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG)), &needed)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2 + needed / sizeof(ULONGLONG));
  }
  if (status != 0) return 0;
  const auto* record = reinterpret_cast<const std::byte*>(buffer.data());
  for (;;) {
    const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(record);
    if (HandleToULong(process->UniqueProcessId) == processId) return process->HandleCount;
    if (process->NextEntryOffset == 0) return 0;
    record += process->NextEntryOffset;
  }
}

// Wine keeps each process's GDI objects in a handle table of its own, found
// through the process's PEB as on old Windows: a live entry has a type, a
// free one has type 0. The layout is that of 64-bit processes.
DWORD GdiObjectsInHandleTable(HANDLE process) {
  struct HandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
  };
  static_assert(sizeof(HandleEntry) == 24);
  constexpr size_t kEntries = 0x10000;
  constexpr size_t kPebGdiSharedHandleTable = 0xF8;

  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
  UINT64 table = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const std::byte*>(basic.PebBaseAddress) + kPebGdiSharedHandleTable,
                         &table, sizeof table, nullptr) ||
      table == 0) {
    return 0;
  }
  std::vector<HandleEntry> entries(kEntries);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(HandleEntry), nullptr)) {
    return 0;
  }
  DWORD live = 0;
  for (const HandleEntry& entry : entries) live += entry.type != 0 ? 1 : 0;
  return live;
}

struct WindowCount {
  DWORD processId;
  DWORD windows = 0;
};

BOOL CALLBACK CountIfOwned(HWND window, LPARAM countAddress) {
  auto* count = reinterpret_cast<WindowCount*>(countAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == count->processId) ++count->windows;
  return TRUE;
}

BOOL CALLBACK CountWithDescendants(HWND window, LPARAM countAddress) {
  CountIfOwned(window, countAddress);
  EnumChildWindows(window, CountIfOwned, countAddress);
  return TRUE;
}

// Wine keeps USER objects in the wineserver and has no call that counts
// them per process (GetGuiResources is a stub), so only the windows are
// countable: top-level, message-only and their descendants. Menus are not;
// icons show up in the GDI count by their bitmaps.
DWORD WindowsOwnedBy(DWORD processId) {
  WindowCount count{processId};
  const auto address = reinterpret_cast<LPARAM>(&count);
  EnumWindows(CountWithDescendants, address);
  for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountWithDescendants(window, address);
  }
  return count.windows;
}

// A text written into another process's memory, freed with it.
class RemoteText {
 public:
  RemoteText(HANDLE process, const std::string& text)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, text.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    if (address_ != nullptr && !WriteProcessMemory(process, address_, text.c_str(), text.size() + 1, nullptr)) {
      VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
      address_ = nullptr;
    }
  }
  ~RemoteText() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteText(const RemoteText&) = delete;
  RemoteText& operator=(const RemoteText&) = delete;
  void* Address() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

// Loads heap_probe.dll into the process with a thread of its own that runs
// LoadLibraryA (which the system maps at the same address in every process),
// and reads what the probe wrote before it unloaded itself.
HeapProbeFigures ProbeHeaps(HANDLE process) {
  HeapProbeFigures figures{};
  const UniqueKernelHandle block(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                    sizeof(HeapProbeFigures), kHeapProbeBlockName));
  if (!block) return figures;
  const UniqueMappedView view(MapViewOfFile(block.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HeapProbeFigures)));
  const RemoteText probePath(process, PathBesideThisProgram("heap_probe.dll"));
  if (!view || probePath.Address() == nullptr) return figures;
  // Through void (*)(): the one function-pointer cast that warns of nothing.
  const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  const UniqueKernelHandle thread(CreateRemoteThread(process, nullptr, 0, loadLibrary, probePath.Address(), 0, nullptr));
  if (!thread || WaitForSingleObject(thread.get(), 10000) != WAIT_OBJECT_0) return figures;
  figures = *static_cast<const HeapProbeFigures*>(view.get());
  return figures;
}

}  // namespace

bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

ProcessResources MeasureProcess(HANDLE process) {
  ProcessResources resources;
  resources.handles = HandleCount(GetProcessId(process));
  if (RunningUnderWine()) {
    resources.gdiObjects = GdiObjectsInHandleTable(process);
    resources.userObjects = WindowsOwnedBy(GetProcessId(process));
  } else {
    resources.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    resources.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) resources.workingSet = memory.WorkingSetSize;
  const HeapProbeFigures heaps = ProbeHeaps(process);
  resources.processHeapBytes = heaps.processHeapBytes;
  resources.otherHeapBytes = heaps.otherHeapBytes;
  return resources;
}

}  // namespace corvane::testing
