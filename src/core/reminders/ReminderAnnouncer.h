#pragma once
// What the reminder check shows the user. The tray clock wires this to the balloon and the review
// question; tests record what would have been shown.
#include <string>

namespace tavrin {

class ReminderAnnouncer {
  public:
    virtual ~ReminderAnnouncer() = default;
    // Shows a balloon titled `title` with the table's balloonLines (up to the first empty line)
    // above the tray clock. Returns whether the balloon is visible.
    virtual bool showBalloon(const std::string& title) = 0;
    // Asks "There is one or more re-occuring reminders set. Would you like to review them?";
    // true for Yes.
    virtual bool askReview() = 0;
    // Opens the reminder manager (the answer Yes).
    virtual void openManager() = 0;
};

}  // namespace tavrin
