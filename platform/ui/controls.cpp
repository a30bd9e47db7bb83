#include "platform/ui/controls.h"

namespace quorvane {

TControl::TControl(ControlKind kind, std::string name, TControl* parent, Bounds bounds)
    : kind_(kind), name_(std::move(name)), parent_(parent), bounds_(bounds) {
  if (parent_) parent_->children_.push_back(this);
}

void TControl::Notify(Property property) {
  if (view_) view_->Changed(*this, property);
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Property::Caption);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Property::Visible);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Property::Enabled);
}

void TControl::SetBounds(Bounds bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Notify(Property::Bounds);
}

void TControl::SetWidth(int width) {
  Bounds b = bounds_;
  b.width = width;
  SetBounds(b);
}

void TControl::SetHeight(int height) {
  Bounds b = bounds_;
  b.height = height;
  SetBounds(b);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TButton::Click() {
  if (Showing() && Enabled() && OnClick) OnClick();
}

TListBox::TListBox(std::string name, TControl* parent, Bounds bounds)
    : TControl(ControlKind::ListBox, std::move(name), parent, bounds) {
  items_.SetObserver(this);
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  Notify(Property::ItemIndex);
}

void TListBox::UserSelect(int index) {
  SetItemIndex(index);
  if (OnClick) OnClick();
}

void TListBox::Inserted(int index, const std::string& line) {
  if (item_index_ >= index) ++item_index_;
  if (forward_) forward_->Inserted(index, line);
}

void TListBox::Replaced(int index, const std::string& line) {
  if (forward_) forward_->Replaced(index, line);
}

void TListBox::Cleared() {
  item_index_ = -1;
  if (forward_) forward_->Cleared();
}

void TScreen::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (view_) view_->Show(cursor);
}

}  // namespace quorvane
