// Gives a form its Win32 windows: a fixed-frame main window and one standard
// child window per control, kept in step with the control models.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/services.h"
#include "platform/win32/windows_api.h"

namespace quorvane::win32 {

class Win32FormHost : public FormHost, private ControlView {
 public:
  Win32FormHost();
  // Destroys the window if it still exists. The form may already be gone:
  // its models are not touched from here on.
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  // Creates the main window and the controls' windows, attaches itself as
  // the view of every control and shows the window when the form is shown.
  // One form per host.
  void Realize(TForm& form) override;
  CursorView* Cursor() override { return &cursor_; }

  // The main window; null before Realize and after the window is destroyed.
  HWND Window() const { return main_; }
  // The window of one control of the realized form, or null.
  HWND WindowOf(const TControl& control) const;

 private:
  class ListLines;
  class CursorShow : public CursorView {
   public:
    void Show(TCursor cursor) override;
    TCursor Current() const { return current_; }
    void SetWindow(HWND window) { window_ = window; }

   private:
    TCursor current_ = TCursor::Default;
    HWND window_ = nullptr;
  };
  struct Entry {
    TControl* control = nullptr;
    HWND window = nullptr;
  };

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void Changed(TControl& control, Property property) override;

  LRESULT HandleFormMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // WM_COMMAND of any window that parents controls.
  void Command(WPARAM wparam, LPARAM lparam);
  void CreateTree(TControl& control, HWND parent);
  HWND CreateControlWindow(TControl& control, HWND parent);
  void StackInOrder(const std::vector<TControl*>& order);
  void FillList(TListBox& list);
  void UpdateTabText(TTabSheet& sheet);
  void MoveFocusOnFrom(HWND window);
  bool HoldsFocus(HWND window) const;
  HFONT FontFor(const FontSpec& font);

  TForm* form_ = nullptr;
  HWND main_ = nullptr;
  bool detached_ = false;
  HWND saved_focus_ = nullptr;
  CursorShow cursor_;
  std::unordered_map<const TControl*, Entry> by_control_;
  std::unordered_map<HWND, TControl*> by_window_;
  std::unordered_map<HWND, WNDPROC> panel_procs_;
  std::vector<std::unique_ptr<ListLines>> list_lines_;
  std::map<std::pair<std::string, int>, HFONT> fonts_;
};

}  // namespace quorvane::win32
