#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdZones(const Args&, std::ostream&, std::ostream& err) {
    err << "tavrinctl: 'zones' is not available in this build\n";
    return 1;
}

}  // namespace tavrin::ctl
