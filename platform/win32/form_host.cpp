#include "platform/win32/form_host.h"

#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/win32/control_ids.h"

namespace quorvane::win32 {

namespace {

constexpr const char* kFormClass = "QuorvaneForm";
constexpr const char* kSheetClass = "QuorvaneTabSheet";

// A fixed frame: title bar with the close box only, no sizing border.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void RegisterClasses(WNDPROC form_proc, WNDPROC sheet_proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXA form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = form_proc;
  form.hInstance = Instance();
  form.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  RegisterClassExA(&form);

  WNDCLASSEXA sheet{};
  sheet.cbSize = sizeof sheet;
  sheet.lpfnWndProc = sheet_proc;
  sheet.hInstance = Instance();
  sheet.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  sheet.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  sheet.lpszClassName = kSheetClass;
  RegisterClassExA(&sheet);
  registered = true;
}

// Runs an event handler as the message loop does: an error is shown in the
// standard failure box and the program goes on. Nothing may unwind into
// the system's frames that called the window procedure.
template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    if (Application) {
      Application->Dispatch(handler);
    } else {
      handler();
    }
  } catch (...) {
  }
}

// Top to bottom. Controls that take the focus keep their tab order, which
// keyboard navigation reads from the Z-order. Labels are painted on their
// parent in the toolkit, beneath every windowed control and each over the
// ones made before it: a label's text is not cut off by an overlapping
// label created earlier (Label3 over Label1).
std::vector<TControl*> StackingOrder(const std::vector<TControl*>& tab_order) {
  std::vector<TControl*> order;
  for (TControl* control : tab_order)
    if (control->Kind() != ControlKind::Label) order.push_back(control);
  for (auto it = tab_order.rbegin(); it != tab_order.rend(); ++it)
    if ((*it)->Kind() == ControlKind::Label) order.push_back(*it);
  return order;
}

// WM_SETFONT and WM_GETFONT for the windows of our own classes, which
// hold their font as the standard controls do, for the children to ask.
constexpr const char* kFontProperty = "QuorvaneFont";

bool HandleFontMessage(HWND window, UINT message, WPARAM wparam, LRESULT& result) {
  switch (message) {
    case WM_SETFONT:
      SetPropA(window, kFontProperty, reinterpret_cast<HANDLE>(wparam));
      result = 0;
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(GetPropA(window, kFontProperty));
      return true;
    case WM_NCDESTROY:
      RemovePropA(window, kFontProperty);
      return false;
    default:
      return false;
  }
}

bool IsWithin(HWND outer, HWND window) {
  return window && outer && (window == outer || IsChild(outer, window));
}

}  // namespace

// Follows the lines of one list box into its window.
class Win32FormHost::ListLines : public StringsObserver {
 public:
  ListLines(Win32FormHost& host, TListBox& list) : host_(host), list_(list) {}

  void Inserted(int index, const std::string& line) override {
    if (HWND window = host_.WindowOf(list_))
      SendMessageA(window, LB_INSERTSTRING, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(line.c_str()));
  }
  void Replaced(int index, const std::string& line) override {
    HWND window = host_.WindowOf(list_);
    if (!window) return;
    SendMessageA(window, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(window, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(line.c_str()));
    // Deleting the selected line took the selection with it.
    if (list_.ItemIndex() == index) SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void Cleared() override {
    if (HWND window = host_.WindowOf(list_)) SendMessageA(window, LB_RESETCONTENT, 0, 0);
  }

 private:
  Win32FormHost& host_;
  TListBox& list_;
};

void Win32FormHost::CursorShow::Show(TCursor cursor) {
  current_ = cursor;
  // The cursor is shared with every other program: change it only while it
  // is over this window.
  POINT point;
  if (!window_ || !GetCursorPos(&point)) return;
  if (!IsWithin(window_, WindowFromPoint(point))) return;
  SetCursor(LoadCursorA(nullptr, cursor == TCursor::HourGlass ? IDC_WAIT : IDC_ARROW));
}

Win32FormHost::Win32FormHost() = default;

Win32FormHost::~Win32FormHost() {
  detached_ = true;
  if (main_ && IsWindow(main_)) DestroyWindow(main_);
  for (auto& [face, font] : fonts_) DeleteObject(font);
}

HWND Win32FormHost::WindowOf(const TControl& control) const {
  if (&control == form_) return main_;
  auto it = by_control_.find(&control);
  return it == by_control_.end() ? nullptr : it->second.window;
}

void Win32FormHost::Realize(TForm& form) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterClasses(&FormProc, &SheetProc);

  form_ = &form;
  const Bounds& outer = form.GetBounds();
  // The window procedure learns of this host from WM_NCCREATE on.
  main_ = CreateWindowExA(kFormExStyle, kFormClass, form.Caption().c_str(), kFormStyle, outer.left,
                          outer.top, outer.width, outer.height, nullptr, nullptr, Instance(), this);
  if (!main_) return;
  cursor_.SetWindow(main_);
  form.AttachView(this);
  SendMessageA(main_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(form.Font())), FALSE);

  for (TControl* child : form.Children()) CreateTree(*child, main_);

  // Keyboard navigation walks the siblings from the top of the Z-order, so
  // the designed tab order decides the stacking as well; it also puts
  // PageControl2 in front of PageControl1, which share one place.
  std::vector<TControl*> order;
  if (auto* designed = dynamic_cast<TForm1*>(&form)) order = designed->TabOrder();
  for (TControl* child : form.Children()) {
    bool listed = false;
    for (TControl* c : order) listed = listed || c == child;
    if (!listed) order.push_back(child);
  }
  StackInOrder(StackingOrder(order));

  if (form.Visible()) {
    ShowWindow(main_, SW_SHOWNORMAL);
    UpdateWindow(main_);
    if (HWND first = GetNextDlgTabItem(main_, nullptr, FALSE)) SetFocus(first);
  }
}

void Win32FormHost::CreateTree(TControl& control, HWND parent) {
  HWND window = CreateControlWindow(control, parent);
  if (!window) return;
  by_control_[&control] = Entry{&control, window};
  by_window_[window] = &control;
  control.AttachView(this);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.Font())), FALSE);

  switch (control.Kind()) {
    case ControlKind::ListBox: {
      auto& list = static_cast<TListBox&>(control);
      list_lines_.push_back(std::make_unique<ListLines>(*this, list));
      list.SetItemsObserver(list_lines_.back().get());
      FillList(list);
      break;
    }
    case ControlKind::TabSheet: {
      // One tab per sheet, in the order of the page control's sheets.
      int index = 0;
      for (TControl* sibling : control.Parent()->Children()) {
        if (sibling == &control) break;
        if (sibling->Kind() == ControlKind::TabSheet) ++index;
      }
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(control.Caption().c_str());
      SendMessageA(parent, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      break;
    }
    case ControlKind::Panel:
      // A panel may hold buttons or lists: their notifications must reach
      // the same routing as the window's own.
      panel_procs_[window] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PanelProc)));
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      break;
    default:
      break;
  }

  for (TControl* child : control.Children()) CreateTree(*child, window);
  StackInOrder(StackingOrder(control.Children()));
}

HWND Win32FormHost::CreateControlWindow(TControl& control, HWND parent) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  const bool right = control.TextAlignment() == Alignment::Right;
  const char* window_class = nullptr;
  switch (control.Kind()) {
    case ControlKind::Button:
      window_class = "BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::Label:
      window_class = "STATIC";
      style |= right ? SS_RIGHT : SS_LEFT;
      break;
    case ControlKind::Panel:
      window_class = "STATIC";
      style |= (right ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX | WS_CLIPCHILDREN;
      ex_style |= WS_EX_STATICEDGE;
      break;
    case ControlKind::ListBox:
      // Sorting is the model's business: the window shows the lines where
      // the model put them.
      window_class = "LISTBOX";
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
      ex_style |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::PageControl:
      window_class = WC_TABCONTROLA;
      style |= WS_TABSTOP | WS_CLIPCHILDREN;
      ex_style |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::TabSheet:
      window_class = kSheetClass;
      style |= WS_CLIPCHILDREN;
      ex_style |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::Form:
      return nullptr;
  }
  const Bounds& b = control.GetBounds();
  const auto id = static_cast<INT_PTR>(ControlId(control.Name()));
  return CreateWindowExA(ex_style, window_class, control.Caption().c_str(), style, b.left, b.top,
                         b.width, b.height, parent, reinterpret_cast<HMENU>(id), Instance(), this);
}

void Win32FormHost::StackInOrder(const std::vector<TControl*>& order) {
  HWND above = HWND_TOP;
  for (TControl* control : order) {
    HWND window = WindowOf(*control);
    if (!window) continue;
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = window;
  }
}

void Win32FormHost::FillList(TListBox& list) {
  HWND window = WindowOf(list);
  if (!window) return;
  SendMessageA(window, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : list.Items().Lines())
    SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
}

void Win32FormHost::UpdateTabText(TTabSheet& sheet) {
  HWND tabs = WindowOf(*sheet.Parent());
  if (!tabs) return;
  int index = 0;
  for (TControl* sibling : sheet.Parent()->Children()) {
    if (sibling == &sheet) break;
    if (sibling->Kind() == ControlKind::TabSheet) ++index;
  }
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(sheet.Caption().c_str());
  SendMessageA(tabs, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool Win32FormHost::HoldsFocus(HWND window) const { return IsWithin(window, GetFocus()); }

// A control that is hidden or disabled while it has the keyboard focus
// would leave the window without one (the system drops it), and Tab would no
// longer move anywhere: the focus goes to the next control in tab order.
void Win32FormHost::MoveFocusOnFrom(HWND window) {
  if (!main_) return;
  HWND next = GetNextDlgTabItem(main_, window, FALSE);
  if (next && next != window && IsWindowVisible(next) && IsWindowEnabled(next))
    SetFocus(next);
  else
    SetFocus(main_);
}

void Win32FormHost::Changed(TControl& control, Property property) {
  HWND window = WindowOf(control);
  if (!window || detached_) return;
  const bool is_form = &control == form_;
  switch (property) {
    case Property::Caption:
      SetWindowTextA(window, control.Caption().c_str());
      if (control.Kind() == ControlKind::TabSheet) UpdateTabText(static_cast<TTabSheet&>(control));
      break;
    case Property::Visible: {
      const bool had_focus = !is_form && !control.Visible() && HoldsFocus(window);
      ShowWindow(window, control.Visible() ? (is_form ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
      if (had_focus) MoveFocusOnFrom(window);
      break;
    }
    case Property::Enabled: {
      const bool had_focus = !is_form && !control.Enabled() && HoldsFocus(window);
      EnableWindow(window, control.Enabled() ? TRUE : FALSE);
      if (had_focus) MoveFocusOnFrom(window);
      break;
    }
    case Property::Bounds: {
      // A form's bounds are its outer rectangle; a control's are relative
      // to its parent's client area.
      const Bounds& b = control.GetBounds();
      SetWindowPos(window, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Property::Items:
      if (control.Kind() == ControlKind::ListBox) FillList(static_cast<TListBox&>(control));
      break;
    case Property::ItemIndex:
      if (control.Kind() == ControlKind::ListBox)
        SendMessageA(window, LB_SETCURSEL,
                     static_cast<WPARAM>(static_cast<TListBox&>(control).ItemIndex()), 0);
      break;
    case Property::Focus:
      SetFocus(window);
      break;
  }
}

void Win32FormHost::Command(WPARAM wparam, LPARAM lparam) {
  if (detached_) return;
  auto it = by_window_.find(reinterpret_cast<HWND>(lparam));
  if (it == by_window_.end()) return;
  TControl* control = it->second;
  const UINT code = HIWORD(wparam);
  if (control->Kind() == ControlKind::Button && code == BN_CLICKED) {
    auto* button = static_cast<TButton*>(control);
    RunHandler([button] { button->Click(); });
  } else if (control->Kind() == ControlKind::ListBox && code == LBN_SELCHANGE) {
    auto* list = static_cast<TListBox*>(control);
    const int index = static_cast<int>(SendMessageA(it->first, LB_GETCURSEL, 0, 0));
    RunHandler([list, index] { list->UserSelect(index); });
  }
}

LRESULT Win32FormHost::HandleFormMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT font_result = 0;
  if (HandleFontMessage(window, message, wparam, font_result)) return font_result;
  switch (message) {
    case WM_COMMAND:
      Command(wparam, lparam);
      return 0;
    case WM_SETCURSOR:
      if (cursor_.Current() == TCursor::HourGlass) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      // As a dialog box does: the focus comes back to where it was, or to
      // the first control in tab order when that one cannot take it now.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsChild(window, focus)) saved_focus_ = focus;
      } else {
        HWND target = saved_focus_;
        if (!target || !IsChild(window, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
          target = GetNextDlgTabItem(window, nullptr, FALSE);
        if (target) {
          SetFocus(target);
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      // The close box ends the program, a running scan included: the walk
      // sees the stop request at its next check and unwinds, and the
      // message loop ends on the quit request.
      if (!detached_) {
        State.StopRequested = true;
        if (Application)
          Application->Terminate();
        else
          PostQuitMessage(0);
      }
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      // Whatever still changes a model from now on has no window to show it.
      main_ = nullptr;
      cursor_.SetWindow(nullptr);
      saved_focus_ = nullptr;
      for (auto& [control, entry] : by_control_) entry.window = nullptr;
      by_window_.clear();
      panel_procs_.clear();
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32FormHost::FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!host) return DefWindowProcA(window, message, wparam, lparam);
  return host->HandleFormMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32FormHost::SheetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT font_result = 0;
  if (HandleFontMessage(window, message, wparam, font_result)) return font_result;
  if (host && message == WM_COMMAND) {
    host->Command(wparam, lparam);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32FormHost::PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* host = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  WNDPROC original = nullptr;
  if (host) {
    auto it = host->panel_procs_.find(window);
    if (it != host->panel_procs_.end()) original = it->second;
    if (message == WM_COMMAND) {
      host->Command(wparam, lparam);
      return 0;
    }
  }
  if (!original) return DefWindowProcA(window, message, wparam, lparam);
  return CallWindowProcA(original, window, message, wparam, lparam);
}

HFONT Win32FormHost::FontFor(const FontSpec& font) {
  if (font.face.empty()) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const auto key = std::make_pair(font.face, font.height);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HFONT created = CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
  fonts_[key] = created;
  return created;
}

}  // namespace quorvane::win32
