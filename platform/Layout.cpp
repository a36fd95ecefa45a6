#include "platform/Layout.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Failure.h"

namespace layout {

namespace {

bool SameParent(const Control& a, const Control& b) {
  return a.parent != nullptr && b.parent != nullptr && std::strcmp(a.parent, b.parent) == 0;
}

bool Overlap(int start, int length, int otherStart, int otherLength) {
  return start < otherStart + otherLength && otherStart < start + length;
}

// The row of the control named `name`; `count` for none, or no name.
std::size_t RowNamed(const Control* table, std::size_t count, const char* name) {
  std::size_t row = 0;
  while (row < count && (name == nullptr || std::strcmp(table[row].name, name) != 0)) ++row;
  return row;
}

}  // namespace

Room RoomToGrow(const Control* table, std::size_t count, std::size_t row, int width) {
  const Control& control = table[row];
  Room room = {control.left + control.width, control.top + control.height};
  const std::size_t parent = RowNamed(table, count, control.parent);
  if (parent == count) return room;
  int right = table[parent].width - kGrowMargin;
  int bottom = table[parent].height - kGrowMargin;
  for (std::size_t i = 0; i < count; ++i) {
    const Control& other = table[i];
    if (i == row || !SameParent(control, other)) continue;
    // To the right, beside it; below it, under its grown width.
    if (other.left >= room.right && Overlap(control.top, control.height, other.top, other.height)) {
      right = std::min(right, other.left - kGrowGap);
    }
    if (other.top >= room.bottom && Overlap(control.left, width, other.left, other.width)) {
      bottom = std::min(bottom, other.top - kGrowGap);
    }
  }
  room.right = std::max(room.right, right);
  room.bottom = std::max(room.bottom, bottom);
  return room;
}

std::vector<std::size_t> ParentRows(const Control* table, std::size_t count) {
  std::vector<std::size_t> parents(count, count);
  for (std::size_t i = 0; i < count; ++i) {
    if (table[i].parent == nullptr) continue;
    parents[i] = RowNamed(table, count, table[i].parent);
    if (parents[i] == count) throw platform::Failure(std::string("no parent ") + table[i].parent);
  }
  return parents;
}

std::vector<std::size_t> WindowOrder(const Control* table, std::size_t count,
                                     const NamedBy* names, std::size_t nameCount) {
  const std::vector<std::size_t> parents = ParentRows(table, count);
  std::vector<std::size_t> depth(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t p = parents[i]; p < count && depth[i] <= count; p = parents[p]) ++depth[i];
  }
  // Sorted by insertion, which keeps the table's order among equals: the
  // tables are a few dozen rows, and std::stable_sort would add 2 KB.
  const auto before = [&](std::size_t a, std::size_t b) {
    return depth[a] != depth[b] ? depth[a] < depth[b] : table[a].tabOrder < table[b].tabOrder;
  };
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = order.size();
    while (at > 0 && before(i, order[at - 1])) --at;
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), i);
  }
  for (std::size_t n = 0; n < nameCount; ++n) {
    const NamedBy& named = names[n];
    if (named.control >= count || named.by >= count) continue;
    if (table[named.by].kind != Kind::Label || parents[named.by] != parents[named.control]) {
      continue;
    }
    order.erase(std::find(order.begin(), order.end(), named.by));
    order.insert(std::find(order.begin(), order.end(), named.control), named.by);
  }
  return order;
}

}  // namespace layout
