#include "platform/ui/strings.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text.h"

namespace quorvane {

int TStrings::Add(std::string line) {
  size_t index = lines_.size();
  if (sorted_) {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), line,
                               [](const std::string& a, const std::string& b) {
                                 return AnsiCompareText(a, b) < 0;
                               });
    index = static_cast<size_t>(it - lines_.begin());
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
  if (observer_) observer_->Inserted(static_cast<int>(index), lines_[index]);
  return static_cast<int>(index);
}

void TStrings::Put(int index, std::string line) {
  lines_.at(static_cast<size_t>(index)) = std::move(line);
  if (observer_) observer_->Replaced(index, lines_[static_cast<size_t>(index)]);
}

void TStrings::Clear() {
  lines_.clear();
  if (observer_) observer_->Cleared();
}

int TStrings::IndexOf(const std::string& text) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (AnsiSameText(lines_[i], text)) return static_cast<int>(i);
  return -1;
}

void TStrings::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    std::stable_sort(lines_.begin(), lines_.end(), [](const std::string& a, const std::string& b) {
      return AnsiCompareText(a, b) < 0;
    });
    sorted_ = true;
    if (observer_) {
      observer_->Cleared();
      for (size_t i = 0; i < lines_.size(); ++i) observer_->Inserted(static_cast<int>(i), lines_[i]);
    }
    return;
  }
  sorted_ = sorted;
}

}  // namespace quorvane
