#pragma once
// The clock's menu-open flag: a press opens the pop-up menu only while none is up, and the menu
// clears the flag as it closes.
#include <functional>

namespace tavrin {

class MenuGate {
  public:
    // A press on the clock. Opens the menu through `openMenu` when none is shown and returns whether
    // it did. The flag is raised before the menu opens, so a menu that closes at once (or fails to
    // open and reports itself closed) leaves the flag down rather than stuck up.
    bool press(const std::function<void()>& openMenu) {
        if (shown_) return false;
        shown_ = true;
        if (openMenu) openMenu();
        return true;
    }
    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }

  private:
    bool shown_ = false;
};

}  // namespace tavrin
