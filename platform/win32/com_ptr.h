// Owners for COM: an interface pointer released when its holder goes, and a
// per-call COM apartment (CoInitialize / CoUninitialize).
#pragma once

#include <objbase.h>

#include <string>

namespace scourly {

// Owns one reference to a COM interface.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // The out-parameter of a call that hands over a new reference; whatever
  // was held before is released first.
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

  void Reset() {
    if (p_) {
      T* p = p_;
      p_ = nullptr;
      p->Release();
    }
  }

 private:
  T* p_ = nullptr;
};

// The system's text for an OLE result, or "OLE error XXXXXXXX" when it has
// none.
std::string OleErrorText(HRESULT hr);

// CoInitialize for the lifetime of the holder. A failing result is raised as
// an AppError carrying the OLE error's text; CoUninitialize runs only when
// the initialisation counted (S_OK or S_FALSE).
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace scourly
