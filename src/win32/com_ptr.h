// Owner of one COM interface pointer: released on every path, so a shell
// link or file dialog that fails half way leaks nothing.
#pragma once

#include <unknwn.h>

#include <utility>

namespace corvane {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For creation calls that fill an out-pointer; drops what was held first.
  Interface** Put() {
    Reset();
    return &pointer_;
  }

  // Asks the held object for another of its interfaces.
  template <typename Other>
  HRESULT As(ComPtr<Other>& other) const {
    if (pointer_ == nullptr) return E_POINTER;
    return pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Put()));
  }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

// COM initialised for the calling thread for as long as the object lives.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  bool Ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace corvane
