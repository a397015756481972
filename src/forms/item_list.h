// The texts of a list control (a combo box's or a list box's items). They
// are kept end to end in one block, each followed by a NUL: a phone list of
// ten thousand lines then costs a few allocations instead of one per line,
// and the real control copies each text straight from the block.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::forms {

class ItemList {
 public:
  int Count() const { return static_cast<int>(ends_.size()); }
  // The text of item `index`, 0 to Count() - 1, and "" for an item that
  // does not exist; its data() is NUL-terminated either way.
  std::string_view At(int index) const;
  // Makes room for `count` more items of `bytes` characters in all.
  void Reserve(size_t count, size_t bytes);
  void Add(std::string_view item);
  void Clear();
  // The items as texts of their own.
  std::vector<std::string> Texts() const;

  bool operator==(const ItemList& other) const = default;

 private:
  std::string block_;
  std::vector<size_t> ends_;  // where each item's NUL stands in the block
};

}  // namespace corvane::forms
