#pragma once

#include <string>
#include <vector>

namespace igraphics {

// The content of a popup menu: a list of items and, once the menu has been
// answered, the index of the chosen one (-1 while none is chosen).
class IPopupMenu {
public:
  struct Item {
    std::string text;
    bool enabled = true;
    bool checked = false;
    int tag = -1; // free for the menu's owner
  };

  explicit IPopupMenu(std::string title = {}) : mTitle(std::move(title)) {}

  Item& AddItem(std::string text, int tag = -1, bool enabled = true, bool checked = false) {
    mItems.push_back({std::move(text), enabled, checked, tag});
    return mItems.back();
  }

  const std::string& Title() const { return mTitle; }
  int NItems() const { return static_cast<int>(mItems.size()); }
  const Item& GetItem(int index) const { return mItems.at(static_cast<size_t>(index)); }
  Item& GetItem(int index) { return mItems.at(static_cast<size_t>(index)); }
  int CheckedIndex() const {
    for (int i = 0; i < NItems(); ++i)
      if (mItems[static_cast<size_t>(i)].checked) return i;
    return -1;
  }

  // Only an existing, enabled item can be chosen; anything else leaves the
  // menu unanswered, so a stale or forged index never reaches a parameter.
  void SetChosenIndex(int index) {
    mChosen =
        (index >= 0 && index < NItems() && mItems[static_cast<size_t>(index)].enabled) ? index : -1;
  }
  int ChosenIndex() const { return mChosen; }
  const Item* ChosenItem() const {
    return mChosen >= 0 ? &mItems[static_cast<size_t>(mChosen)] : nullptr;
  }

private:
  std::string mTitle;
  std::vector<Item> mItems;
  int mChosen = -1;
};

} // namespace igraphics
