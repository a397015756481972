// The program's resources as Windows reads them, compiled into this test from
// the same app.rc and generated icons.rc as corvane.exe: every numbered icon
// with each of its sizes in 32-bit colour, the icon groups in the order a
// shortcut's icon index counts them, the version resource, and the manifest
// (common controls 6, DPI awareness, no elevation, supported systems).
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <winver.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Entry icons a user can choose, and the reconnect-wait variants 100 above.
constexpr int kFirstEntryIcon = 8;
constexpr int kLastEntryIcon = 21;
constexpr int kCustomEntryIcon = 101;
constexpr int kWaitOffset = 100;
constexpr int kOnlineTimeIcon = 130;  // the clock on the online-time button

std::vector<int> AllIconNumbers() {
  std::vector<int> numbers;
  for (int n = 1; n <= kLastEntryIcon; ++n) numbers.push_back(n);  // 1-7 dialing, 8-21 entries
  numbers.push_back(kCustomEntryIcon);
  for (int n = kFirstEntryIcon; n <= kLastEntryIcon; ++n) numbers.push_back(n + kWaitOffset);
  numbers.push_back(kOnlineTimeIcon);
  return numbers;
}

// Tray and button icons stop at 48 pixels; the others can be a window's icon
// or the dialing picture on a 200 % screen and go up to 64.
std::vector<int> SizesOf(int number) {
  std::vector<int> sizes{16, 20, 24, 32, 40, 48};
  if (number <= kLastEntryIcon) sizes.push_back(64);
  return sizes;
}

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

IconPtr LoadNumberedIcon(int number, int size) {
  return IconPtr(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// The colour image of an icon as top-down BGRA words; empty when unreadable.
std::vector<std::uint32_t> Pixels(HICON icon, int* size = nullptr) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  BitmapPtr color(info.hbmColor);
  BitmapPtr mask(info.hbmMask);
  BITMAP bm{};
  if (!color || GetObjectW(color.get(), sizeof bm, &bm) == 0) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, color.get(), 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != bm.bmHeight) return {};
  if (size != nullptr) *size = bm.bmWidth;
  return pixels;
}

// The raw icon group (GRPICONDIR) of a numbered icon, or nullptr.
const BYTE* IconGroup(int number) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  if (found == nullptr) return nullptr;
  return static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
}

// An icon image is a PNG (the larger sizes) or a 32-bit bitmap with its AND
// mask; either way it must be drawn at `size` with an alpha channel.
void ExpectImageOfSize(const BYTE* data, DWORD length, int size) {
  static constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (length >= 8 && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0) {
    // The IHDR chunk follows the signature: length, type, width, height
    // (big-endian), bit depth, colour type.
    ASSERT_GE(length, 33u);
    const auto bigEndian = [](const BYTE* p) { return int(p[0]) << 24 | int(p[1]) << 16 | int(p[2]) << 8 | int(p[3]); };
    EXPECT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
    EXPECT_EQ(bigEndian(data + 16), size);
    EXPECT_EQ(bigEndian(data + 20), size);
    EXPECT_EQ(data[24], 8);  // bits per channel
    EXPECT_EQ(data[25], 6);  // red, green, blue and alpha
    return;
  }
  BITMAPINFOHEADER header;
  ASSERT_GE(length, sizeof header);
  std::memcpy(&header, data, sizeof header);
  EXPECT_EQ(header.biWidth, size);
  EXPECT_EQ(header.biHeight, 2 * size);  // colour image and AND mask
  EXPECT_EQ(header.biBitCount, 32);
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(Icons, EveryNumberHoldsEachSizeAsA32BitImageWithAlpha) {
  HMODULE self = GetModuleHandleW(nullptr);
  for (int number : AllIconNumbers()) {
    SCOPED_TRACE("icon " + std::to_string(number));
    const BYTE* group = IconGroup(number);
    ASSERT_NE(group, nullptr);
    for (int size : SizesOf(number)) {
      SCOPED_TRACE("size " + std::to_string(size));
      // The image Windows picks for this size must be drawn for it, not scaled.
      const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, size, size, LR_DEFAULTCOLOR);
      HRSRC image = FindResourceW(self, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3) /* RT_ICON */);
      ASSERT_NE(image, nullptr);
      ExpectImageOfSize(static_cast<const BYTE*>(LockResource(LoadResource(self, image))),
                        SizeofResource(self, image), size);

      IconPtr icon = LoadNumberedIcon(number, size);
      ASSERT_TRUE(icon);
      int width = 0;
      const std::vector<std::uint32_t> pixels = Pixels(icon.get(), &width);
      ASSERT_EQ(width, size);
      // A picture on a transparent ground with smoothed edges: some pixels
      // clear, some solid, some in between.
      const auto alpha = [](std::uint32_t p) { return p >> 24; };
      EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [&](auto p) { return alpha(p) == 0; }));
      EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [&](auto p) { return alpha(p) == 255; }));
      EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [&](auto p) { return alpha(p) > 0 && alpha(p) < 255; }));
    }
  }
  EXPECT_EQ(IconGroup(0), nullptr);
  EXPECT_EQ(IconGroup(100), nullptr);
  EXPECT_EQ(LoadIconW(self, MAKEINTRESOURCEW(kLastEntryIcon + 1)), nullptr);
}

TEST(Icons, LoadIconFindsEveryNumber) {
  for (int number : AllIconNumbers()) {
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number)), nullptr) << "icon " << number;
  }
}

// The chooser offers 8..21, the tray shows N+100 while waiting: each must be
// a picture of its own, and the dialing frames must change from one to the next.
TEST(Icons, PicturesAreDistinct) {
  std::vector<std::pair<int, std::vector<std::uint32_t>>> seen;
  for (int number : AllIconNumbers()) {
    IconPtr icon = LoadNumberedIcon(number, 32);
    ASSERT_TRUE(icon) << number;
    std::vector<std::uint32_t> pixels = Pixels(icon.get());
    ASSERT_FALSE(pixels.empty()) << number;
    for (const auto& [other, otherPixels] : seen) {
      EXPECT_NE(pixels, otherPixels) << "icons " << other << " and " << number << " look the same";
    }
    seen.emplace_back(number, std::move(pixels));
  }
}

// A shortcut names its icon by position among the file's icon groups; the
// program gives icon N as position N-1, so groups 0..20 must be icons 1..21.
TEST(Icons, ShortcutIconIndexNMinus1IsIconN) {
  const std::wstring path = ModulePath();
  EXPECT_EQ(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), AllIconNumbers().size())
      << "an icon of the file is missing from this test's list";
  const int large = GetSystemMetrics(SM_CXICON);
  for (int number = 1; number <= kLastEntryIcon; ++number) {
    HICON extracted = nullptr;
    ASSERT_EQ(ExtractIconExW(path.c_str(), number - 1, &extracted, nullptr, 1), 1u) << number;
    IconPtr owned(extracted);
    IconPtr loaded = LoadNumberedIcon(number, large);
    ASSERT_TRUE(loaded);
    const std::vector<std::uint32_t> pixels = Pixels(owned.get());
    EXPECT_FALSE(pixels.empty());
    EXPECT_EQ(pixels, Pixels(loaded.get())) << "index " << number - 1 << " is not icon " << number;
  }
}

std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& translation, const wchar_t* name) {
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring query = L"\\StringFileInfo\\" + translation + L"\\" + name;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr) {
    return L"<missing>";
  }
  return std::wstring(text, wcsnlen(text, length));
}

TEST(VersionResource, ReadsBackTheBuildVersionAndNames) {
  const std::wstring path = ModulePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof *fixed);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(CORVANE_VERSION_MINOR, CORVANE_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(CORVANE_VERSION_BUILD, CORVANE_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  // Explorer finds the strings through the translation the block declares.
  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 2 * sizeof(WORD));
  wchar_t key[9];
  swprintf(key, 9, L"%04x%04x", translation[0], translation[1]);

  const std::wstring version = std::to_wstring(CORVANE_VERSION_MAJOR) + L"." + std::to_wstring(CORVANE_VERSION_MINOR) +
                               L"." + std::to_wstring(CORVANE_VERSION_PATCH) + L"." +
                               std::to_wstring(CORVANE_VERSION_BUILD);
  EXPECT_EQ(VersionString(block, key, L"CompanyName"), L"Tamberlo");
  EXPECT_EQ(VersionString(block, key, L"ProductName"), L"Corvane");
  EXPECT_NE(VersionString(block, key, L"FileDescription"), L"<missing>");
  EXPECT_EQ(VersionString(block, key, L"FileVersion"), version);
  EXPECT_EQ(VersionString(block, key, L"ProductVersion"), version);
  EXPECT_EQ(VersionString(block, key, L"OriginalFilename"), L"corvane.exe");
}

// The controls come from the comctl32 the program imports; the manifest must
// bind that import to the version 6 assembly. (Its DllGetVersion cannot
// tell: Wine's version 6 answers 5.81.)
TEST(Manifest, BindsCommonControls6) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&classes));
  HMODULE comctl = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &comctl));
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
  std::wstring lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return towlower(c); });
  EXPECT_NE(lower.find(L"_microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos) << lower;
}

// The activation context made from the program's manifest at start.
const HANDLE kProcessDefault = nullptr;

std::wstring ManifestSetting(const wchar_t* space, const wchar_t* name) {
  wchar_t value[128] = {};
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, kProcessDefault, space, name, value, ARRAYSIZE(value), &written)) return L"<missing>";
  return value;
}

TEST(Manifest, DeclaresPerMonitorDpiAwarenessWithFallbacks) {
  EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true/pm");

  // Where the system applies it (Windows 10 and later), the process is
  // per-monitor aware.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using ContextFn = void*(WINAPI*)();
  using AwarenessFn = int(WINAPI*)(void*);
  auto threadContext =
      reinterpret_cast<ContextFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  auto awarenessOf = reinterpret_cast<AwarenessFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (threadContext != nullptr && awarenessOf != nullptr) {
    EXPECT_EQ(awarenessOf(threadContext()), 2 /* DPI_AWARENESS_PER_MONITOR_AWARE */);
  }
}

TEST(Manifest, RunsAsInvoker) {
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
  SIZE_T written = 0;
  ASSERT_TRUE(QueryActCtxW(0, kProcessDefault, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                           &written));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_FALSE(level.UiAccess);
}

TEST(Manifest, ListsWindows7To11AsSupported) {
  alignas(8) BYTE buffer[1024] = {};
  SIZE_T written = 0;
  ASSERT_TRUE(QueryActCtxW(0, kProcessDefault, nullptr, CompatibilityInformationInActivationContext, buffer,
                           sizeof buffer, &written));
  // The element layout grew over Windows versions; find each id by its bytes.
  EXPECT_EQ(reinterpret_cast<const ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(buffer)->ElementCount, 4u);
  const GUID expected[] = {
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // Windows 7
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // Windows 8
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // Windows 8.1
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // Windows 10 and 11
  };
  const BYTE* begin = buffer;
  const BYTE* end = begin + std::min<SIZE_T>(written, sizeof buffer);
  for (const GUID& id : expected) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&id);
    EXPECT_NE(std::search(begin, end, bytes, bytes + sizeof id), end) << std::hex << id.Data1;
  }
}

}  // namespace
