#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdReminders(const Args&, std::ostream&, std::ostream& err) {
    err << "tavrinctl: 'reminders' is not available in this build\n";
    return 1;
}

}  // namespace tavrin::ctl
