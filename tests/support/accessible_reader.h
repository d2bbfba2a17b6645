// A screen reader's view of one control for the tests: the object oleacc
// hands out for the control's client area, and its children's texts and
// numbers. Works in the program's process and from another one.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace scourly::support {

inline VARIANT ChildId(long id) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = id;
  return v;
}

class AccessibleReader {
 public:
  explicit AccessibleReader(HWND control) {
    // The interface id from the compiler: liboleacc.a's IID_IAccessible is
    // not the interface's id.
    hr = AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&acc));
  }
  AccessibleReader(const AccessibleReader&) = delete;
  AccessibleReader& operator=(const AccessibleReader&) = delete;
  ~AccessibleReader() {
    if (acc) acc->Release();
  }

  long Count() const {
    long n = -1;
    acc->get_accChildCount(&n);
    return n;
  }
  // "<none>" when there is no text.
  std::wstring Name(long id) const { return Text(&IAccessible::get_accName, id); }
  std::wstring DefaultAction(long id) const { return Text(&IAccessible::get_accDefaultAction, id); }
  long Role(long id) const { return Number(&IAccessible::get_accRole, id); }
  long State(long id) const { return Number(&IAccessible::get_accState, id); }

  HRESULT hr = E_FAIL;
  IAccessible* acc = nullptr;

 private:
  std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long id) const {
    BSTR text = nullptr;
    (acc->*get)(ChildId(id), &text);
    std::wstring s = text ? text : L"<none>";
    SysFreeString(text);
    return s;
  }
  long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long id) const {
    VARIANT v;
    VariantInit(&v);
    (acc->*get)(ChildId(id), &v);
    return V_VT(&v) == VT_I4 ? V_I4(&v) : -1;
  }
};

}  // namespace scourly::support
