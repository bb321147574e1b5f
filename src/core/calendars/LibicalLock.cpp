#include "core/calendars/LibicalLock.h"

namespace tavrin {

std::mutex& libicalLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace tavrin
