#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdSettings(const Args&, std::ostream&, std::ostream& err) {
    err << "tavrinctl: 'settings' is not available in this build\n";
    return 1;
}

}  // namespace tavrin::ctl
