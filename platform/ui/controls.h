// The window toolkit's controls. Each control holds its own state (caption,
// visibility, enabled, bounds; a list box its lines and selection) and is the
// model the program reads and writes. A view behind it (a Win32 window in the
// product, nothing in the native tests) is told of every change.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/strings.h"

namespace quorvane {

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds&) const = default;
};

enum class ControlKind { Form, Button, Label, Panel, PageControl, TabSheet, ListBox };

enum class Alignment { Left, Right };

struct FontSpec {
  std::string face;
  int height = 0;  // negative: character height in pixels, as in LOGFONT
};

enum class Property { Caption, Visible, Enabled, Bounds, Items, ItemIndex, Focus };

class TControl;

class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual void Changed(TControl& control, Property property) = 0;
};

class TControl {
 public:
  TControl(ControlKind kind, std::string name, TControl* parent, Bounds bounds);
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;
  virtual ~TControl() = default;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  TControl* Parent() const { return parent_; }
  const std::vector<TControl*>& Children() const { return children_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(Bounds bounds);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetWidth(int width);
  void SetHeight(int height);

  // Shown and every parent shown.
  bool Showing() const;

  const FontSpec& Font() const { return font_; }
  void SetFont(FontSpec font) { font_ = std::move(font); }
  Alignment TextAlignment() const { return alignment_; }
  void SetTextAlignment(Alignment alignment) { alignment_ = alignment; }

  void AttachView(ControlView* view) { view_ = view; }
  ControlView* View() const { return view_; }

 protected:
  void Notify(Property property);

 private:
  ControlKind kind_;
  std::string name_;
  TControl* parent_;
  std::vector<TControl*> children_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  Bounds bounds_;
  FontSpec font_;
  Alignment alignment_ = Alignment::Left;
  ControlView* view_ = nullptr;
};

class TButton : public TControl {
 public:
  TButton(std::string name, TControl* parent, Bounds bounds)
      : TControl(ControlKind::Button, std::move(name), parent, bounds) {}
  std::function<void()> OnClick;
  // What a user's click does: nothing on a hidden or disabled button.
  void Click();
};

class TLabel : public TControl {
 public:
  TLabel(std::string name, TControl* parent, Bounds bounds)
      : TControl(ControlKind::Label, std::move(name), parent, bounds) {}
};

class TPanel : public TControl {
 public:
  TPanel(std::string name, TControl* parent, Bounds bounds)
      : TControl(ControlKind::Panel, std::move(name), parent, bounds) {}
};

class TTabSheet : public TControl {
 public:
  TTabSheet(std::string name, TControl* parent, Bounds bounds)
      : TControl(ControlKind::TabSheet, std::move(name), parent, bounds) {}
};

class TPageControl : public TControl {
 public:
  TPageControl(std::string name, TControl* parent, Bounds bounds)
      : TControl(ControlKind::PageControl, std::move(name), parent, bounds) {}
};

class TListBox : public TControl, private StringsObserver {
 public:
  TListBox(std::string name, TControl* parent, Bounds bounds);
  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  // -1 when nothing is selected; emptied lists lose their selection.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  void SetFocus() { Notify(Property::Focus); }
  // The view (or a test) reports a user's selection: select, then OnClick.
  void UserSelect(int index);
  std::function<void()> OnClick;

  // Lets the view follow every line change.
  void SetItemsObserver(StringsObserver* observer) { forward_ = observer; }

 private:
  void Inserted(int index, const std::string& line) override;
  void Replaced(int index, const std::string& line) override;
  void Cleared() override;

  TStrings items_;
  int item_index_ = -1;
  StringsObserver* forward_ = nullptr;
};

class TForm : public TControl {
 public:
  // Bounds are the outer window rectangle; the designed client area lies
  // inside the frame (kFrameWidth, kFrameHeight).
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 27;
  TForm(std::string name, Bounds outer) : TControl(ControlKind::Form, std::move(name), nullptr, outer) {}
};

enum class TCursor { Default = 0, HourGlass = -11 };

class CursorView {
 public:
  virtual ~CursorView() = default;
  virtual void Show(TCursor cursor) = 0;
};

class TScreen {
 public:
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  void AttachView(CursorView* view) { view_ = view; }

 private:
  TCursor cursor_ = TCursor::Default;
  CursorView* view_ = nullptr;
};

}  // namespace quorvane
