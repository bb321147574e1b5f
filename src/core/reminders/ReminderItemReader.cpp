#include "core/reminders/ReminderItemReader.h"

namespace tavrin {

void ReminderItemReader::skipDelimiter() {
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    if (c == ',' || c == '\n') {
        ++pos_;
    } else if (c == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
}

bool ReminderItemReader::next(std::string& item) {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (pos_ >= text_.size()) return false;
    if (text_[pos_] == '"') {
        const std::size_t open = pos_ + 1;
        std::size_t close = text_.find('"', open);
        if (close == std::string_view::npos) close = text_.size();
        item.assign(text_.substr(open, close - open));
        pos_ = close < text_.size() ? close + 1 : close;
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n')
            ++pos_;
        skipDelimiter();
        return true;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n') ++pos_;
    item.assign(text_.substr(start, pos_ - start));
    skipDelimiter();
    return true;
}

}  // namespace tavrin
