#include <gtest/gtest.h>

#include <map>

#include "clock/ClockFace.h"
#include "clock/LineStyle.h"

using namespace tavrin;

namespace {

// Line heights by font face; every character 6 pixels wide, 7 when bold.
class FakeMetrics final : public TextMetrics {
  public:
    int lineHeight(const LineStyle& style) const override {
        static const std::map<std::string, int> heights{{"", 13}, {"ARIAL", 14}, {"TAHOMA", 10}};
        return heights.at(style.face);
    }
    double textWidth(const LineStyle& style, std::string_view text) const override {
        return static_cast<double>(text.size()) * (style.bold ? 7 : 6);
    }
};

const LineStyle kTime{"FF", "ARIAL", "8", true};
const LineStyle kDate{"0", "TAHOMA", "6", false};

FaceInputs face(int width, int height) {
    FaceInputs in;
    in.trayWidth = width;
    in.trayHeight = height;
    in.timeText = "9:05 PM";
    in.dateText = "03/07/05";
    in.timeFormat = "h:mm AM/PM";
    in.weekdayText = "Monday";
    in.timeStyle = kTime;
    in.dateStyle = kDate;
    in.measureStyle = InitialSurfaceStyle();
    return in;
}

std::vector<int> tops(const FaceLayout& layout) {
    std::vector<int> ys;
    for (const PlacedLine& line : layout.lines) ys.push_back(line.y);
    return ys;
}

}  // namespace

TEST(ClockFace, TwelveHourTimeLosesItsMarkerBelowFiftyPixels) {
    FakeMetrics m;
    EXPECT_EQ(LayoutFace(face(49, 40), m).lines[0].text, "9:05");
    EXPECT_EQ(LayoutFace(face(50, 40), m).lines[0].text, "9:05 PM");

    FaceInputs lower = face(30, 40);
    lower.timeFormat = "h:mm am/pm";
    EXPECT_EQ(LayoutFace(lower, m).lines[0].text, "9:05 PM");
    FaceInputs shortPattern = face(30, 40);
    shortPattern.timeFormat = "h:mm";
    EXPECT_EQ(LayoutFace(shortPattern, m).lines[0].text, "9:05 PM");

    EXPECT_TRUE(EndsInAmPm("hh:mm:ss AM/PM"));
    EXPECT_FALSE(EndsInAmPm("M/PM"));
    EXPECT_FALSE(EndsInAmPm("AM/PM "));
    EXPECT_EQ(WithoutMarker("PM"), "PM");
    EXPECT_EQ(WithoutMarker("abc"), "");
    EXPECT_EQ(WithoutMarker("9:05 \xE5\x8D\x88\xE5\x90\x8E"), "9:05");  // a two-character marker in UTF-8
}

TEST(ClockFace, TwoLinesBelowSixtyPixelsThreeFromSixty) {
    FakeMetrics m;
    // th = dh = 13: (59 - 13) / 2 - (6.5 + 3) = 13.5, to the even 14; the date 3 above the pen.
    const FaceLayout two = LayoutFace(face(80, 59), m);
    EXPECT_EQ(tops(two), (std::vector<int>{14, 14 + 14 - 3}));
    EXPECT_EQ(two.lines[1].text, "03/07/05");
    EXPECT_EQ(tops(LayoutFace(face(80, 57), m)), (std::vector<int>{12, 12 + 14 - 3}));  // 12.5 to 12

    // (60 - 13) / 2 - (13 + 7) = 3.5 to 4; weekday and date 4 below the pen each.
    const FaceLayout three = LayoutFace(face(80, 60), m);
    EXPECT_EQ(tops(three), (std::vector<int>{4, 22, 36}));
    EXPECT_EQ(three.lines[1].text, "Monday");
    EXPECT_EQ(three.lines[1].style, kDate);
    EXPECT_EQ(tops(LayoutFace(face(80, 62), m))[0], 4);  // 4.5 to 4
}

TEST(ClockFace, UnreadableDateSkipsTheWeekdayLine) {
    FakeMetrics m;
    FaceInputs in = face(80, 60);
    in.weekdayText.reset();
    const FaceLayout layout = LayoutFace(in, m);
    EXPECT_EQ(tops(layout), (std::vector<int>{4, 22}));
    EXPECT_EQ(layout.lines[1].text, "03/07/05");
}

TEST(ClockFace, HeightsComeFromTheFontTheSurfaceHeldBefore) {
    FakeMetrics m;
    FaceInputs in = face(80, 40);
    const FaceLayout first = LayoutFace(in, m);
    EXPECT_EQ(first.lastStyle, kDate);
    // 13-pixel surface font: 13.5 - 9.5 = 4; then the date font, 10 pixels: 15 - 8 = 7.
    EXPECT_EQ(first.lines[0].y, 4);
    in.measureStyle = first.lastStyle;
    EXPECT_EQ(LayoutFace(in, m).lines[0].y, 7);
}

TEST(ClockFace, LinesAreCentredWithoutRounding) {
    FakeMetrics m;
    const FaceLayout layout = LayoutFace(face(49, 40), m);
    EXPECT_DOUBLE_EQ(layout.lines[0].x, (49 - 4 * 7) / 2.0);
    EXPECT_DOUBLE_EQ(layout.lines[1].x, (49 - 8 * 6) / 2.0);
}

TEST(ClockFace, PicturesAreCopiedTopCentreBottomWhenTheSchemeHasThem) {
    FakeMetrics m;
    FaceInputs in = face(80, 22);
    EXPECT_TRUE(LayoutFace(in, m).copies.empty());
    in.schemeHasImages = true;
    in.layers = {ImageSize{200, 10}, ImageSize{200, 9}, ImageSize{200, 40}};
    EXPECT_EQ(LayoutFace(in, m).copies,
              (std::vector<ImageCopy>{{1, 0, -2, 200, 9}, {2, 0, 7, 200, 12}, {0, 0, 12, 200, 10}}));
}

TEST(ClockFace, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.4), -2);
}

TEST(LineStyle, BoldWhenTheSettingReadsAsANumberOtherThanZero) {
    Settings s;
    s.TForeColor = "FF";
    s.TimeFont = "ARIAL";
    s.TimeSize = "8";
    s.TimeBold = "0";
    s.DateBold = "1";
    EXPECT_EQ(TimeStyle(s), (LineStyle{"FF", "ARIAL", "8", false}));
    EXPECT_TRUE(DateStyle(s).bold);
    s.TimeBold = "-1";
    s.DateBold = "";
    EXPECT_TRUE(TimeStyle(s).bold);
    EXPECT_FALSE(DateStyle(s).bold);
    s.DateBold = "x1";
    EXPECT_FALSE(DateStyle(s).bold);
}

TEST(LineStyle, SizeTextsReadAsNumbersWithASaneFallback) {
    EXPECT_DOUBLE_EQ(PointSize("8"), 8);
    EXPECT_DOUBLE_EQ(PointSize(" 7.5pt"), 7.5);
    EXPECT_DOUBLE_EQ(PointSize(""), 8);
    EXPECT_DOUBLE_EQ(PointSize("0"), 8);
    EXPECT_DOUBLE_EQ(PointSize("-3"), 8);
    EXPECT_DOUBLE_EQ(PointSize("99999"), 8);
}
