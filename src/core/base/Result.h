#pragma once
// What an operation that the user waits on came to: done, or the reason it was not, in words that
// can be shown as they stand. Whole-file reads and writes, reminder saves and shell requests all
// answer with it.
#include <string>
#include <utility>

namespace tavrin {

struct Result {
    bool ok = true;
    std::string message;  // what failed and why; when done, empty or a note the user should read
    int error = 0;        // the system's error number where a system call failed, else 0

    static Result success() { return {}; }
    static Result failure(std::string why, int error = 0) { return Result{false, std::move(why), error}; }
    explicit operator bool() const { return ok; }
};

}  // namespace tavrin
