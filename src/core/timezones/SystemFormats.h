#pragma once
// The desktop's own date and time forms, where the program shows the machine's time without the
// user's patterns (the floating clock in the machine's zone, the date and time of a support mail):
// the short date and the long time with seconds, in the English forms.
namespace tavrin {

inline constexpr const char* kSystemShortDate = "m/d/yyyy";
inline constexpr const char* kSystemLongTime = "h:mm:ss AM/PM";

}  // namespace tavrin
