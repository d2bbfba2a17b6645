#include "ui/controls/accessible.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "lists/accessible_text.h"
#include "platform/win32/com_ptr.h"

namespace scourly::gui {
namespace {

// The interface ids come from the compiler: MinGW's liboleacc.a links
// IID_IAccessible to the bytes of an import thunk, so every query for it
// would fail.
const IID& kIidAccessible = __uuidof(IAccessible);

constexpr HRESULT kDisconnected = RPC_E_DISCONNECTED;

void SetEmpty(VARIANT* v) {
  VariantInit(v);
  V_VT(v) = VT_EMPTY;
}

void SetChild(VARIANT* v, long id) {
  VariantInit(v);
  V_VT(v) = VT_I4;
  V_I4(v) = id;
}

// Nothing a control's model raises may unwind through COM.
template <class F>
HRESULT Guarded(F&& step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

// One COM object implementing `I` (and the interfaces `I` derives from,
// named in `Bases`), freed with its last reference. Only the UI thread
// calls it, so the count needs no lock.
template <class I, class... Bases>
class ComObject : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(I) || ((iid == __uuidof(Bases)) || ...)) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  ULONG refs_ = 1;
};

namespace {

// The selected children of a list, for a reader that asks for them all.
class ChildEnum final : public ComObject<IEnumVARIANT> {
 public:
  explicit ChildEnum(std::vector<long> ids, size_t at = 0) : ids_(std::move(ids)), at_(at) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    for (; n < count && at_ < ids_.size(); ++n) SetChild(&out[n], ids_[at_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    at_ += count;
    if (at_ > ids_.size()) {
      at_ = ids_.size();
      return S_FALSE;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    return Guarded([&] {
      *out = new ChildEnum(ids_, at_);
      return S_OK;
    });
  }

 private:
  std::vector<long> ids_;
  size_t at_;
};

}  // namespace

int AccessibleParts::PartAt(POINT client) const {
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    RECT rc;
    if (Bounds(i, rc) && PtInRect(&rc, client)) return i;
  }
  return -1;
}

// One control's client area as a reader sees it. The control itself answers
// what the platform's proxy knows of any window (parent, own name, window
// state); the parts are answered from AccessibleParts at each call.
class AccessibleObject final : public ComObject<IAccessible, IDispatch> {
 public:
  AccessibleObject(HWND hwnd, AccessibleParts* parts) : hwnd_(hwnd), parts_(parts) {}

  // The window or its binding is going: every later call fails, and readers
  // in other processes are let go of.
  void Disconnect() {
    parts_ = nullptr;
    standard_.Reset();
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
  }

  // ---- IDispatch: no type information ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // ---- IAccessible ----
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!parts_) return kDisconnected;
    IAccessible* standard = Standard();
    return standard ? standard->get_accParent(parent) : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    if (!parts_) return kDisconnected;
    return Guarded([&] {
      *count = parts_->Count();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    // Parts are simple children: the reader asks this object about them.
    return part >= 0 ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, &IAccessible::get_accName,
                [this](int part) { return parts_->Name(part); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, &IAccessible::get_accValue, nullptr);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return Text(child, text, &IAccessible::get_accDescription, nullptr);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return Text(child, text, &IAccessible::get_accHelp, nullptr);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return Text(child, text, &IAccessible::get_accKeyboardShortcut, nullptr);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return Text(child, text, &IAccessible::get_accDefaultAction,
                [this](int part) { return parts_->DefaultAction(part); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    SetEmpty(role);
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    SetChild(role, part < 0 ? parts_->Role() : parts_->PartRole());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    SetEmpty(state);
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
      SetChild(state, part < 0 ? OwnState() : parts_->State(part));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    SetEmpty(focus);
    if (!parts_) return kDisconnected;
    if (GetFocus() != hwnd_) return S_FALSE;
    return Guarded([&] {
      const int part = parts_->Focused();
      SetChild(focus, part >= 0 ? part + 1 : CHILDID_SELF);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    SetEmpty(selection);
    if (!parts_) return kDisconnected;
    return Guarded([&] {
      std::vector<int> parts = parts_->Selected();
      if (parts.empty()) return S_FALSE;
      if (parts.size() == 1) {
        SetChild(selection, parts.front() + 1);
        return S_OK;
      }
      std::vector<long> ids(parts.begin(), parts.end());
      for (long& id : ids) ++id;
      V_VT(selection) = VT_UNKNOWN;
      V_UNKNOWN(selection) = new ChildEnum(std::move(ids));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    if (part < 0 && flags == SELFLAG_TAKEFOCUS) {
      SetFocus(hwnd_);
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
      RECT rc{};
      if (part < 0) {
        GetClientRect(hwnd_, &rc);
      } else if (!parts_->Bounds(part, rc)) {
        return S_FALSE;
      }
      POINT corner{rc.left, rc.top};
      ClientToScreen(hwnd_, &corner);
      *left = corner.x;
      *top = corner.y;
      *width = rc.right - rc.left;
      *height = rc.bottom - rc.top;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    SetEmpty(end);
    int part;
    HRESULT hr = PartOf(start, part);
    if (FAILED(hr)) return hr;
    return Guarded([&]() -> HRESULT {
      const int n = parts_->Count();
      int to = -1;
      if (part < 0) {
        if (direction == NAVDIR_FIRSTCHILD) to = 0;
        else if (direction == NAVDIR_LASTCHILD) to = n - 1;
        else if (IAccessible* standard = Standard()) return standard->accNavigate(direction, start, end);
        else return S_FALSE;
      } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) {
        to = part + 1;
      } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) {
        to = part - 1;
      } else {
        return E_INVALIDARG;  // a part has no children
      }
      if (to < 0 || to >= n) return S_FALSE;
      SetChild(end, to + 1);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    SetEmpty(hit);
    if (!parts_) return kDisconnected;
    return Guarded([&] {
      POINT pt{x, y};
      ScreenToClient(hwnd_, &pt);
      RECT client;
      GetClientRect(hwnd_, &client);
      if (!PtInRect(&client, pt)) return S_FALSE;
      const int part = parts_->PartAt(pt);
      SetChild(hit, part >= 0 ? part + 1 : CHILDID_SELF);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    if (part < 0) return DISP_E_MEMBERNOTFOUND;
    return Guarded([&] { return parts_->DoDefaultAction(part) ? S_OK : DISP_E_MEMBERNOTFOUND; });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  // -1 for the control itself, else the part; an error for an id that names
  // neither, or once disconnected.
  HRESULT PartOf(const VARIANT& child, int& part) const {
    if (!parts_) return kDisconnected;
    if (V_VT(&child) != VT_I4) return E_INVALIDARG;
    const long id = V_I4(&child);
    if (id == CHILDID_SELF) {
      part = -1;
      return S_OK;
    }
    return Guarded([&] {
      if (id < 1 || id > parts_->Count()) return E_INVALIDARG;
      part = static_cast<int>(id - 1);
      return S_OK;
    });
  }

  // The platform's own object for the window: its parent and what any
  // window says of itself.
  IAccessible* Standard() {
    if (!standard_ && !triedStandard_) {
      triedStandard_ = true;
      CreateStdAccessibleObject(hwnd_, OBJID_CLIENT, kIidAccessible, standard_.PutVoid());
    }
    return standard_.get();
  }

  long OwnState() const {
    long state = 0;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    if (style & WS_DISABLED) state |= STATE_SYSTEM_UNAVAILABLE;
    else state |= STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
    return state;
  }

  // A text of the control (from the platform's proxy) or of a part (from
  // `ofPart`, or none).
  using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  HRESULT Text(const VARIANT& child, BSTR* out, StandardText standardText,
               const std::function<std::wstring(int)>& ofPart) {
    if (!out) return E_POINTER;
    *out = nullptr;
    int part;
    HRESULT hr = PartOf(child, part);
    if (FAILED(hr)) return hr;
    if (part < 0) {
      IAccessible* standard = Standard();
      return standard ? (standard->*standardText)(child, out) : S_FALSE;
    }
    if (!ofPart) return S_FALSE;
    return Guarded([&] {
      std::wstring text = ofPart(part);
      if (text.empty()) return S_FALSE;
      *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }

  HWND hwnd_;
  AccessibleParts* parts_;
  ComPtr<IAccessible> standard_;
  bool triedStandard_ = false;
};

// ---- AccessibleControl ----

AccessibleControl::~AccessibleControl() {
  if (hwnd_ && IsWindow(hwnd_))
    RemoveWindowSubclass(hwnd_, &AccessibleControl::Subclass, reinterpret_cast<UINT_PTR>(this));
  Detach();
}

void AccessibleControl::Attach(HWND control, std::unique_ptr<AccessibleParts> parts) {
  hwnd_ = control;
  parts_ = std::move(parts);
  SetWindowSubclass(control, &AccessibleControl::Subclass, reinterpret_cast<UINT_PTR>(this),
                    reinterpret_cast<DWORD_PTR>(this));
}

void AccessibleControl::Detach() {
  if (object_) {
    object_->Disconnect();
    object_->Release();
    object_ = nullptr;
  }
  hwnd_ = nullptr;
}

void AccessibleControl::Notify(DWORD event, int part) const {
  NotifyWinEvent(event, hwnd_, OBJID_CLIENT, part >= 0 ? part + 1 : CHILDID_SELF);
}

void AccessibleControl::AnnounceFocus() {
  if (!hwnd_ || GetFocus() != hwnd_) return;
  const int part = parts_->Focused();
  if (part == announcedFocus_) return;
  announcedFocus_ = part;
  // Without a focused part the window's own focus event has said it all.
  if (part >= 0) Notify(EVENT_OBJECT_FOCUS, part);
}

void AccessibleControl::AnnounceSelection(const std::vector<int>& selected) {
  if (!hwnd_) return;
  for (const SelectionEvent& e : SelectionEvents(announcedSelection_, selected)) {
    static constexpr DWORD kEvents[] = {EVENT_OBJECT_SELECTION, EVENT_OBJECT_SELECTIONADD,
                                        EVENT_OBJECT_SELECTIONREMOVE,
                                        EVENT_OBJECT_SELECTIONWITHIN};
    Notify(kEvents[e.kind], e.row);
  }
  announcedSelection_ = selected;
}

void AccessibleControl::AnnounceReplaced() {
  if (!hwnd_) return;
  announcedSelection_.clear();
  announcedFocus_ = -2;
  Notify(EVENT_OBJECT_REORDER, -1);
}

void AccessibleControl::AnnounceState(int part) {
  if (hwnd_) Notify(EVENT_OBJECT_STATECHANGE, part);
}

LRESULT CALLBACK AccessibleControl::Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                             DWORD_PTR data) {
  auto* self = reinterpret_cast<AccessibleControl*>(data);
  switch (msg) {
    case WM_GETOBJECT:
      // The object id arrives as a 32-bit value, sign-extended or not.
      if (static_cast<LONG>(static_cast<DWORD>(lp)) == OBJID_CLIENT && self->parts_) {
        if (!self->object_) self->object_ = new AccessibleObject(hwnd, self->parts_.get());
        return LresultFromObject(kIidAccessible, wp, static_cast<IAccessible*>(self->object_));
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      self->announcedFocus_ = -2;  // focus coming back is announced again
      self->AnnounceFocus();
      return result;
    }
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      // The input may have moved the focused part (a list box moves its
      // caret without telling its owner when the selection stays).
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      self->AnnounceFocus();
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &AccessibleControl::Subclass, id);
      self->Detach();
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// ---- ListBoxParts ----

ListBoxParts::ListBoxParts(HWND list, NameOf name, CheckedOf checked, Toggle toggle)
    : list_(list), name_(std::move(name)), checked_(std::move(checked)), toggle_(std::move(toggle)) {}

bool ListBoxParts::MultiSelect() const {
  return (GetWindowLongW(list_, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

int ListBoxParts::Count() const {
  LRESULT n = SendMessageW(list_, LB_GETCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int>(n);
}

long ListBoxParts::State(int row) const {
  long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
  const LONG style = GetWindowLongW(list_, GWL_STYLE);
  if (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) state |= STATE_SYSTEM_MULTISELECTABLE;
  if (style & LBS_EXTENDEDSEL) state |= STATE_SYSTEM_EXTSELECTABLE;
  if (style & WS_DISABLED) state |= STATE_SYSTEM_UNAVAILABLE;
  if (SendMessageW(list_, LB_GETSEL, row, 0) > 0) state |= STATE_SYSTEM_SELECTED;
  if (Focused() == row) state |= STATE_SYSTEM_FOCUSED;
  if (checked_ && checked_(row)) state |= STATE_SYSTEM_CHECKED;
  RECT rc, client, both;
  GetClientRect(list_, &client);
  if (!Bounds(row, rc) || !IntersectRect(&both, &rc, &client)) state |= STATE_SYSTEM_OFFSCREEN;
  return state;
}

bool ListBoxParts::Bounds(int row, RECT& client) const {
  return SendMessageW(list_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&client)) != LB_ERR;
}

int ListBoxParts::PartAt(POINT client) const {
  LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit)) return -1;  // outside every row
  const int row = LOWORD(hit);
  return row < Count() ? row : -1;
}

int ListBoxParts::Focused() const {
  if (GetFocus() != list_) return -1;
  LRESULT caret = SendMessageW(list_, LB_GETCARETINDEX, 0, 0);
  return caret >= 0 && caret < Count() ? static_cast<int>(caret) : -1;
}

std::vector<int> ListBoxParts::Selected() const {
  if (!MultiSelect()) {
    LRESULT row = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? std::vector<int>{} : std::vector<int>{static_cast<int>(row)};
  }
  LRESULT n = SendMessageW(list_, LB_GETSELCOUNT, 0, 0);
  std::vector<int> rows(n > 0 ? static_cast<size_t>(n) : 0);
  if (n > 0) SendMessageW(list_, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(rows.data()));
  return rows;
}

std::wstring ListBoxParts::DefaultAction(int row) const {
  if (!toggle_) return {};
  return checked_ && checked_(row) ? L"Uncheck" : L"Check";
}

bool ListBoxParts::DoDefaultAction(int row) {
  if (!toggle_ || row < 0 || row >= Count()) return false;
  toggle_(row);
  return true;
}

}  // namespace scourly::gui
