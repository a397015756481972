// A list control's texts in one block.
#include "forms/item_list.h"

namespace corvane::forms {

std::string_view ItemList::At(int index) const {
  // A literal, so that data() is NUL-terminated here too.
  if (index < 0 || index >= Count()) return "";
  const size_t end = ends_[static_cast<size_t>(index)];
  const size_t start = index == 0 ? 0 : ends_[static_cast<size_t>(index) - 1] + 1;
  return std::string_view(block_).substr(start, end - start);
}

void ItemList::Reserve(size_t count, size_t bytes) {
  ends_.reserve(ends_.size() + count);
  block_.reserve(block_.size() + bytes + count);
}

void ItemList::Add(std::string_view item) {
  block_.append(item);
  ends_.push_back(block_.size());
  block_.push_back('\0');
}

void ItemList::Clear() {
  block_.clear();
  ends_.clear();
}

std::vector<std::string> ItemList::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(ends_.size());
  for (int i = 0; i < Count(); ++i) texts.emplace_back(At(i));
  return texts;
}

}  // namespace corvane::forms
