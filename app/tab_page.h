// What the main window's commands do on one tab. TMainForm keeps the
// window's controls and routes each command to the active tab's page, so
// that a tab's scan, refresh, deletion and list live together.
#pragma once

namespace scourly {

// The Delete key's virtual-key code.
inline constexpr int kVkDelete = 46;

class TabPage {
 public:
  virtual ~TabPage() = default;

  // The tab's sheet comes into view (the refresh step of its list, or the
  // Browser Cache tab's show handler).
  virtual void SheetShow() = 0;

  // Find Files' own step on this tab. False when Find Files must end at once,
  // without setting the toolbar buttons.
  virtual bool FindFiles() = 0;
  // The File menu's scan of this tab, after the tab was brought to front.
  virtual void MenuScan() = 0;

  // The rows of the list Stop and Clear look at, and Clear's emptying of it.
  virtual int RowCount() const = 0;
  virtual void ClearList() = 0;

  // The delete commands, after their notice and their button changes.
  virtual void DeleteSelected(bool toRecycleBin) = 0;
  virtual void DeleteAll() = 0;

  // Select All and Invert Selection on the tab's list.
  virtual void SelectAll() = 0;
  virtual void InvertSelection() = 0;

  // "Open Selected file": the current entry with its associated program.
  virtual void Open() = 0;
};

}  // namespace scourly
