// TStrings: the lines held by a list box. The list boxes are the program's
// stores, so this is a plain ordered list of Windows-1252 lines; a view (the
// Win32 list box) may observe it.
#pragma once

#include <string>
#include <vector>

namespace quorvane {

class StringsObserver {
 public:
  virtual ~StringsObserver() = default;
  virtual void Inserted(int index, const std::string& line) = 0;
  virtual void Replaced(int index, const std::string& line) = 0;
  virtual void Cleared() = 0;
};

class TStrings {
 public:
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_.at(static_cast<size_t>(index)); }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Appends at the end, or at its ordered place while Sorted is on
  // (letters compared without regard to case). Returns the index.
  int Add(std::string line);
  void Put(int index, std::string line);
  void Clear();
  // First line equal to `text` ignoring letter case, or -1.
  int IndexOf(const std::string& text) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  void SetObserver(StringsObserver* observer) { observer_ = observer; }

 private:
  std::vector<std::string> lines_;
  bool sorted_ = false;
  StringsObserver* observer_ = nullptr;
};

}  // namespace quorvane
