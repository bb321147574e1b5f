#pragma once
// The subscribed calendars, kept in the settings store beside every other setting (plain text; no
// password is ever written there).
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/store/Store.h"

namespace tavrin {

// The calendars stored under the settings key of `root`, in the user's order. None stored is an
// empty list, not a failure.
Result<std::vector<CalendarSubscription>> readCalendarList(Store& store, Root root);

// Replaces the stored list with `calendars`.
Result<> writeCalendarList(Store& store, Root root, const std::vector<CalendarSubscription>& calendars);

}  // namespace tavrin
