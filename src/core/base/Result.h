#pragma once
// What an operation that can fail came to: its value (or, for Result<>, just "done"), or the reason it
// failed in words that can be shown as they stand, with the system's error number where a system call
// failed. It is the one way the core and the platform layer report a failure; std::optional is kept
// for "absent, and that is normal". A result cannot be dropped unread: the compiler refuses it.
#include <string>
#include <utility>
#include <variant>

namespace tavrin {

struct Failure {
    std::string reason;  // what failed and why, for the user
    int osError = 0;     // the system's error number where a system call failed, else 0
};

template <class T = void>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}    // NOLINT: a value is success
    Result(Failure why) : state_(std::in_place_index<1>, std::move(why)) {}  // NOLINT: so is a failure
    static Result failure(std::string reason, int osError = 0) { return Failure{std::move(reason), osError}; }

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

    // The reason it failed; empty when it did not.
    const std::string& message() const {
        static const std::string none;
        return ok() ? none : std::get<1>(state_).reason;
    }
    int osError() const { return ok() ? 0 : std::get<1>(state_).osError; }
    // The failure itself, to pass on as another result's: `if (!r) return r.why();`
    Failure why() const { return ok() ? Failure{} : std::get<1>(state_); }

  private:
    std::variant<T, Failure> state_;
};

// Done or not, with no value; a success may carry a note the user should read.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure why) : ok_(false), message_(std::move(why.reason)), osError_(why.osError) {}  // NOLINT
    static Result success(std::string note = {}) {
        Result done;
        done.message_ = std::move(note);
        return done;
    }
    static Result failure(std::string reason, int osError = 0) { return Failure{std::move(reason), osError}; }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // Why it failed; when it was done, empty or a note the user should read.
    const std::string& message() const { return message_; }
    int osError() const { return osError_; }
    Failure why() const { return ok_ ? Failure{} : Failure{message_, osError_}; }

  private:
    bool ok_ = true;
    std::string message_;
    int osError_ = 0;
};

}  // namespace tavrin
