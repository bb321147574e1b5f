#include "core/notify/BalloonLayout.h"

#include <algorithm>

#include "core/base/Text.h"

namespace tavrin {

BalloonIcon iconFromCode(std::string_view code) {
    const std::string upper = upperAscii(code);
    if (upper == "I") return BalloonIcon::InformationXP;
    if (upper == "X") return BalloonIcon::ErrorXP;
    if (upper == "!") return BalloonIcon::WarningXP;
    if (upper == "I9") return BalloonIcon::InformationClassic;
    if (upper == "X9") return BalloonIcon::ErrorClassic;
    if (upper == "!9") return BalloonIcon::WarningClassic;
    return BalloonIcon::None;
}

int shownLineCount(const std::array<std::string, kBalloonLineSlots>& lines, int count) {
    int shown = 0;
    while (shown < kBalloonLineSlots && shown <= count && !lines[static_cast<std::size_t>(shown)].empty())
        ++shown;
    return shown;
}

BalloonLayout layoutBalloon(int width, bool hasIcon) {
    constexpr int kCloseImageSize = 16;
    constexpr int kCloseLabelWidth = 14;
    const int titleLeft = hasIcon ? 32 : 8;
    BalloonLayout layout;
    layout.title = BalloonRect{titleLeft, 8, width - 2 * titleLeft, 17};
    layout.closeImage = BalloonRect{width - kCloseImageSize * 3 / 2, 6, kCloseImageSize, kCloseImageSize};
    layout.closeLabel = BalloonRect{width - kCloseLabelWidth * 3 / 2 - 1, 9, kCloseLabelWidth, 13};
    return layout;
}

RoundedRect balloonShape(int width, int height) {
    return RoundedRect{BalloonRect{0, 0, width + 1, height + 1}, 28, 28};
}

RoundedRect balloonBorder(int width, int height) {
    return RoundedRect{BalloonRect{0, 0, width, height}, 26, 26};
}

int announcementHeight(int lineCount) {
    // Room for the last line and a margin the size of the rounded corner's inset.
    const int needed = balloonLineRect(lineCount - 1).bottom() + 6;
    return std::max(kAnnouncementHeight, needed);
}

BalloonRect announcementRect(const BalloonRect& clock, int lineCount, const BalloonRect& available) {
    BalloonRect r;
    r.width = kAnnouncementWidth;
    r.height = std::min(announcementHeight(lineCount), std::max(available.height, kAnnouncementHeight));
    r.left = pixelsFromTwips(twipsFromPixels(clock.left) - 4000);
    r.top = pixelsFromTwips(twipsFromPixels(clock.top) - 30) - r.height;
    if (r.top < available.top) r.top = clock.bottom() + 2;
    r.left = std::clamp(r.left, available.left, std::max(available.left, available.right() - r.width));
    r.top = std::clamp(r.top, available.top, std::max(available.top, available.bottom() - r.height));
    return r;
}

}  // namespace tavrin
