#pragma once
// libical keeps some state for the whole process (its error state, its built-in zones and the folder
// they are read from): every use of the library holds this one lock.
#include <mutex>

namespace tavrin {

std::mutex& libicalLock();

}  // namespace tavrin
