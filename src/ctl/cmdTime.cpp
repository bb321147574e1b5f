#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdTime(const Args&, std::ostream&, std::ostream& err) {
    err << "tavrinctl: 'time' is not available in this build\n";
    return 1;
}

}  // namespace tavrin::ctl
