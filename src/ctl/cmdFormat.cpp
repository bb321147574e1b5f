#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdFormat(const Args&, std::ostream&, std::ostream& err) {
    err << "tavrinctl: 'format' is not available in this build\n";
    return 1;
}

}  // namespace tavrin::ctl
