#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "core/clock/ClockFace.h"
#include "core/clock/LineStyle.h"

using namespace tavrin;

namespace {

// Line heights by font face at the sizes the tests use (8 points, 6 for TAHOMA), and in proportion
// at others; at 8 points every character 6 pixels wide, 7 when bold, and in proportion at other sizes.
class FakeMetrics final : public TextMetrics {
  public:
    int lineHeight(const LineStyle& style) const override {
        static const std::map<std::string, std::pair<int, double>> heights{
            {"", {13, 8}}, {"ARIAL", {14, 8}}, {"TAHOMA", {10, 6}}};
        const auto& [height, size] = heights.at(style.face);
        return static_cast<int>(std::lround(height * pointSize(style.size) / size));
    }
    double textWidth(const LineStyle& style, std::string_view text) const override {
        return static_cast<double>(text.size()) * (style.bold ? 7 : 6) * pointSize(style.size) / 8;
    }
};

const LineStyle kTime{"FF", "ARIAL", "8", true};
const LineStyle kDate{"0", "TAHOMA", "6", false};

FaceLayout layout(int width, int height, void (*change)(FaceInputs&) = nullptr) {
    FaceInputs in;
    in.trayWidth = width;
    in.trayHeight = height;
    in.timeText = "9:05 PM";
    in.dateText = "03/07/05";
    in.timeFormat = "h:mm AM/PM";
    in.weekdayText = "Monday";
    in.timeStyle = kTime;
    in.dateStyle = kDate;
    in.measureStyle = initialSurfaceStyle();
    if (change) change(in);
    return layoutFace(in, FakeMetrics());
}

std::vector<int> tops(const FaceLayout& face) {
    std::vector<int> ys;
    for (const PlacedLine& line : face.lines) ys.push_back(line.y);
    return ys;
}

}  // namespace

// "9:05 PM" in bold 8 points is 49 pixels wide: it keeps its size and marker where it fits, and is
// printed smaller, whole, on a narrower panel (an upright panel 41 pixels wide, say).
TEST(ClockFace, ALineTooWideForThePanelIsPrintedSmallerAndWhole) {
    EXPECT_EQ(layout(51, 40).lines[0].style, kTime);
    for (const int width : {49, 41, 30}) {
        const FaceLayout narrow = layout(width, 40);
        EXPECT_EQ(narrow.lines[0].text, "9:05 PM") << width;
        const PlacedLine& time = narrow.lines[0];
        EXPECT_LE(FakeMetrics().textWidth(time.style, time.text), width - 2 * kLineMargin) << width;
        // As large as fits, to the quarter point.
        LineStyle larger = time.style;
        larger.size = std::to_string(pointSize(time.style.size) + 0.25);
        EXPECT_GT(FakeMetrics().textWidth(larger, time.text), width - 2 * kLineMargin) << width;
    }
    // A panel too thin for both lines: both are printed smaller, by one factor, until they fit in the
    // window, top and bottom.
    const FaceLayout thin = layout(80, 20, [](FaceInputs& in) { in.shownHeight = 17; });
    ASSERT_EQ(thin.lines.size(), 2u);
    const PlacedLine& date = thin.lines[1];
    EXPECT_GE(thin.lines[0].y, 0);
    EXPECT_LE(date.y + FakeMetrics().lineHeight(date.style), 17);
    EXPECT_LT(pointSize(thin.lines[0].style.size), 8);
    EXPECT_LT(pointSize(date.style.size), 6);
    EXPECT_EQ(layout(80, 30, [](FaceInputs& in) { in.shownHeight = 27; }).lines[1].style, kDate);
    // Never below the smallest size, however narrow.
    EXPECT_DOUBLE_EQ(pointSize(layout(5, 40).lines[0].style.size), kSmallestPointSize);
    EXPECT_TRUE(endsInAmPm("hh:mm:ss AM/PM"));
    EXPECT_FALSE(endsInAmPm("M/PM"));
    EXPECT_FALSE(endsInAmPm("AM/PM "));
}

TEST(ClockFace, TwoLinesBelowSixtyPixelsThreeFromSixty) {
    // th = dh = 13: (59 - 13) / 2 - (6.5 + 3) = 13.5, to the even 14; the date 3 above the pen.
    const FaceLayout two = layout(80, 59);
    EXPECT_EQ(tops(two), (std::vector<int>{14, 14 + 14 - 3}));
    EXPECT_EQ(two.lines[1].text, "03/07/05");
    EXPECT_EQ(tops(layout(80, 57)), (std::vector<int>{12, 12 + 14 - 3}));  // 12.5 to 12

    // (60 - 13) / 2 - (13 + 7) = 3.5 to 4; weekday and date 4 below the pen each.
    const FaceLayout three = layout(80, 60);
    EXPECT_EQ(tops(three), (std::vector<int>{4, 22, 36}));
    EXPECT_EQ(three.lines[1].text, "Monday");
    EXPECT_EQ(tops(layout(80, 62))[0], 4);  // 4.5 to 4

    // An unreadable date has no weekday line.
    const FaceLayout noWeekday = layout(80, 60, [](FaceInputs& in) { in.weekdayText.reset(); });
    EXPECT_EQ(tops(noWeekday), (std::vector<int>{4, 22}));
    EXPECT_EQ(noWeekday.lines[1].text, "03/07/05");
}

TEST(ClockFace, HeightsComeFromTheFontTheSurfaceHeldBefore) {
    const FaceLayout first = layout(80, 40);
    EXPECT_EQ(first.lastStyle, kDate);
    // 13-pixel surface font: 13.5 - 9.5 = 4; then the date font, 10 pixels: 15 - 8 = 7.
    EXPECT_EQ(first.lines[0].y, 4);
    EXPECT_EQ(layout(80, 40, [](FaceInputs& in) { in.measureStyle = kDate; }).lines[0].y, 7);
    // Centred without rounding.
    const FaceLayout narrow = layout(60, 40);
    EXPECT_DOUBLE_EQ(narrow.lines[0].x, (60 - 7 * 7) / 2.0);
    EXPECT_DOUBLE_EQ(narrow.lines[1].x, (60 - 8 * 6 * 6 / 8.0) / 2.0);
}

TEST(ClockFace, PicturesAreCopiedTopCentreBottomWhenTheSchemeHasThem) {
    EXPECT_TRUE(layout(80, 22).copies.empty());
    EXPECT_EQ(layout(80, 22,
                     [](FaceInputs& in) {
                         in.schemeHasImages = true;
                         in.layers = {ImageSize{200, 10}, ImageSize{200, 9}, ImageSize{200, 40}};
                     })
                  .copies,
              (std::vector<ImageCopy>{{1, 0, -2, 200, 9}, {2, 0, 7, 200, 12}, {0, 0, 12, 200, 10}}));
}

TEST(ClockFace, RoundsHalvesToEvenAndReadsSizesWithASaneFallback) {
    const std::pair<double, int> rounding[] = {{2.5, 2},  {3.5, 4},   {2.6, 3},
                                               {-0.5, 0}, {-1.5, -2}, {-2.4, -2}};
    for (const auto& [value, rounded] : rounding) EXPECT_EQ(roundHalfEven(value), rounded) << value;
    const std::pair<const char*, double> sizes[] = {{"8", 8}, {" 7.5pt", 7.5}, {"", 8},
                                                    {"0", 8}, {"-3", 8},       {"99999", 8}};
    for (const auto& [text, size] : sizes) EXPECT_DOUBLE_EQ(pointSize(text), size) << text;
}

TEST(LineStyle, BoldWhenTheSettingReadsAsANumberOtherThanZero) {
    Settings s;
    s.TForeColor = "FF";
    s.TimeFont = "ARIAL";
    s.TimeSize = "8";
    s.TimeBold = "0";
    EXPECT_EQ(timeStyle(s), (LineStyle{"FF", "ARIAL", "8", false}));
    const std::pair<const char*, bool> bold[] = {{"1", true}, {"-1", true}, {"", false}, {"x1", false}};
    for (const auto& [text, expected] : bold) {
        s.DateBold = s.TimeBold = text;
        EXPECT_EQ(dateStyle(s).bold, expected) << text;
        EXPECT_EQ(timeStyle(s).bold, expected) << text;
    }
}
