#pragma once
// What an operation that the user waits on came to: done, or the reason it was not, in words that
// can be shown as they stand.
#include <string>
#include <utility>

namespace tavrin {

struct Result {
    bool ok = true;
    std::string message;  // empty when done; otherwise what failed and why

    static Result success() { return {}; }
    static Result failure(std::string why) { return Result{false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

}  // namespace tavrin
