// One owner type for every Win32 handle kind the program holds: kernel
// objects, icons, menus, windows and their classes, GDI objects, WinINet
// handles, views of file mappings, texts the shell allocates. Each kind is a
// small traits struct naming its empty value and its free function, so a new
// kind costs two lines and every path that drops the owner frees the handle.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <utility>

namespace corvane {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }

  // Gives up ownership without freeing; the caller now owns the handle.
  Handle release() { return std::exchange(handle_, Traits::Empty()); }

  // Frees what is held (if anything) and takes `handle` instead.
  void reset(Handle handle = Traits::Empty()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Empty() && old != handle) Traits::Free(old);
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { CloseHandle(handle); }
};

// CreateFile answers INVALID_HANDLE_VALUE, not NULL, on failure.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { CloseHandle(handle); }
};

// FindFirstFile answers INVALID_HANDLE_VALUE too, and its search ends with FindClose.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { FindClose(handle); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { DestroyIcon(handle); }
};

struct MenuTraits {
  using Handle = HMENU;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { DestroyMenu(handle); }
};

// Brushes, fonts, pens and bitmaps all go back through DeleteObject.
template <typename GdiHandle>
struct GdiObjectTraits {
  using Handle = GdiHandle;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { DeleteObject(handle); }
};

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { InternetCloseHandle(handle); }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { DestroyWindow(handle); }
};

// A registered window class is named by its atom and module together.
struct RegisteredClass {
  ATOM atom = 0;
  HINSTANCE instance = nullptr;
  bool operator==(const RegisteredClass&) const = default;
};
struct WindowClassTraits {
  using Handle = RegisteredClass;
  static Handle Empty() { return {}; }
  static void Free(Handle handle) { UnregisterClassA(MAKEINTATOM(handle.atom), handle.instance); }
};

// A view of a file mapping: MapViewOfFile's address.
struct MappedViewTraits {
  using Handle = void*;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { UnmapViewOfFile(handle); }
};

// Texts the shell allocates for its caller (known-folder paths).
struct CoTaskStringTraits {
  using Handle = wchar_t*;
  static Handle Empty() { return nullptr; }
  static void Free(Handle handle) { CoTaskMemFree(handle); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueWindowClass = UniqueHandle<WindowClassTraits>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;
using UniqueCoTaskString = UniqueHandle<CoTaskStringTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

}  // namespace corvane
