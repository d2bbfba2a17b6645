// Screen readers: a control that draws its own rows, or a common control
// whose parts the platform's proxy cannot see (Wine's proxies report no
// children for list boxes, toolbars, status bars and headers), answers
// Active Accessibility itself. The control names its parts through
// AccessibleParts, asked at the moment a reader asks, so a million rows cost
// nothing until read; AccessibleControl answers WM_GETOBJECT with one
// IAccessible over them and raises the events a standard control raises.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace scourly::gui {

// The parts of one control, numbered from 0 (a reader sees child ids from 1).
class AccessibleParts {
 public:
  virtual ~AccessibleParts() = default;
  virtual long Role() const = 0;      // of the control (ROLE_SYSTEM_LIST, ...)
  virtual long PartRole() const = 0;  // of every part (ROLE_SYSTEM_LISTITEM, ...)
  virtual int Count() const = 0;
  virtual std::wstring Name(int part) const = 0;
  virtual long State(int part) const = 0;  // STATE_SYSTEM_* flags
  // The part's rectangle in the control's client coordinates; false when it
  // has none.
  virtual bool Bounds(int part, RECT& client) const = 0;
  // The part under a point of the client area, -1 for none.
  virtual int PartAt(POINT client) const;
  // The part holding the keyboard focus, -1 when none does.
  virtual int Focused() const { return -1; }
  // The selected parts, ascending.
  virtual std::vector<int> Selected() const { return {}; }
  // What the part's default action is called, empty for none; running it.
  virtual std::wstring DefaultAction(int) const { return {}; }
  virtual bool DoDefaultAction(int) { return false; }
};

class AccessibleObject;

// Binds one control window to its parts: answers WM_GETOBJECT for the client
// area, and raises events with child ids from the parts' numbers. The
// object a reader holds outlives neither the window nor this binding: both
// cut it off (a call then fails with "disconnected").
class AccessibleControl {
 public:
  AccessibleControl() = default;
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;
  ~AccessibleControl();

  // Subclasses `control`, whose parts `parts` names.
  void Attach(HWND control, std::unique_ptr<AccessibleParts> parts);
  HWND hwnd() const { return hwnd_; }

  // The focused part, when the control has the keyboard focus and the part
  // differs from the one last announced (EVENT_OBJECT_FOCUS).
  void AnnounceFocus();
  // The selection is now `selected` (ascending): the events of a list box.
  void AnnounceSelection(const std::vector<int>& selected);
  // The parts were replaced: readers fetch them again; no selection known.
  void AnnounceReplaced();
  // A part's state changed (a check mark).
  void AnnounceState(int part);

 private:
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  void Detach();
  void Notify(DWORD event, int part) const;

  HWND hwnd_ = nullptr;
  std::unique_ptr<AccessibleParts> parts_;
  AccessibleObject* object_ = nullptr;  // made when first asked for, one reference held
  int announcedFocus_ = -2;
  std::vector<int> announcedSelection_;
};

// The rows of a list box (owner-drawn, with or without data): count, state,
// place, focus and selection come from the list box itself; names (and check
// marks) from the model, through the callbacks.
class ListBoxParts : public AccessibleParts {
 public:
  using NameOf = std::function<std::wstring(int row)>;
  using CheckedOf = std::function<bool(int row)>;  // empty: rows carry no check box
  using Toggle = std::function<void(int row)>;

  ListBoxParts(HWND list, NameOf name, CheckedOf checked = {}, Toggle toggle = {});

  long Role() const override { return ROLE_SYSTEM_LIST; }
  long PartRole() const override { return ROLE_SYSTEM_LISTITEM; }
  int Count() const override;
  std::wstring Name(int row) const override { return name_(row); }
  long State(int row) const override;
  bool Bounds(int row, RECT& client) const override;
  int PartAt(POINT client) const override;
  int Focused() const override;
  std::vector<int> Selected() const override;
  std::wstring DefaultAction(int row) const override;
  bool DoDefaultAction(int row) override;

 private:
  bool MultiSelect() const;

  HWND list_;
  NameOf name_;
  CheckedOf checked_;
  Toggle toggle_;
};

}  // namespace scourly::gui
