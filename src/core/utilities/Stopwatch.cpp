#include "core/utilities/Stopwatch.h"

#include <cstdio>

namespace tavrin {
namespace {

constexpr std::int64_t kLimitMillis = Stopwatch::kLimitHundredths * 10;

std::string twoDigits(std::int64_t n) {
    char text[24];
    std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(n));
    return text;
}

}  // namespace

void Stopwatch::start() {
    settle();
    if (running_ || keptMillis_ >= kLimitMillis) return;
    running_ = true;
    counted_ = true;
    startedAt_ = clock_.millis();
}

void Stopwatch::stop() {
    if (!running_) return;
    keptMillis_ += clock_.millis() - startedAt_;
    if (keptMillis_ > kLimitMillis) keptMillis_ = kLimitMillis;
    running_ = false;
}

void Stopwatch::reset() {
    running_ = false;
    keptMillis_ = 0;
    counted_ = false;
    laps_.clear();
}

bool Stopwatch::lap() {
    if (!running() || laps_.size() >= kMaxLaps) return false;
    const std::int64_t total = hundredths();
    laps_.push_back({total - (laps_.empty() ? 0 : laps_.back().total), total});
    return true;
}

bool Stopwatch::running() {
    settle();
    return running_;
}

void Stopwatch::settle() {
    if (running_ && keptMillis_ + (clock_.millis() - startedAt_) >= kLimitMillis) {
        keptMillis_ = kLimitMillis;
        running_ = false;
    }
}

std::int64_t Stopwatch::hundredths() {
    settle();
    const std::int64_t ms = keptMillis_ + (running_ ? clock_.millis() - startedAt_ : 0);
    return ms / 10;
}

StopwatchTexts Stopwatch::texts() {
    const std::int64_t h = hundredths();
    if (!counted_) return StopwatchTexts{"00", "00", "00", "00"};
    const std::int64_t seconds = h / 100;
    return StopwatchTexts{twoDigits(seconds / 3600), twoDigits(seconds / 60 % 60), twoDigits(seconds % 60),
                          std::to_string(h % 100)};
}

std::string lapTimeText(std::int64_t hundredths) {
    const std::int64_t seconds = hundredths / 100;
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(hundredths % 100));
    return text;
}

std::string lapsText(const std::vector<Lap>& laps) {
    std::string text;
    for (std::size_t i = laps.size(); i-- > 0;)
        text += "Lap " + std::to_string(i + 1) + '\t' + lapTimeText(laps[i].own) + '\t' +
                lapTimeText(laps[i].total) + '\n';
    return text;
}

}  // namespace tavrin
