#include "ui/notify/frmBalloon.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPointer>

#include "support/TestApp.h"

namespace tavrin {
namespace {

// Where the title, the lines and the close button go is the core's layout; the window shows the
// lines as links and closes itself. Which line a click hands over is the announcer's test.
struct Balloon : ::testing::Test {
    std::array<std::string, kBalloonLineSlots> lines{"9:30 AM - Dentist", "9:30 AM - Call the bank",
                                                     "9:30 AM - Dentist"};
    QPointer<frmBalloon> balloon;

    void SetUp() override { test::ensureApp(); }
    void TearDown() override { delete balloon.data(); }
    // A balloon of the usual size at (600, 400), shown.
    void show(int count, const char* icon, bool close, long autoClose = 0, bool opensLines = true) {
        balloon = opensLines ? new frmBalloon(lines, [](int) {}) : new frmBalloon(lines);
        balloon->setBalloon("Tavrin Reminders for: 12/06/26", count, 600 * 15, 400 * 15, icon, close,
                            autoClose, 1620, 4680, 8);
        balloon->show();
    }
};

TEST_F(Balloon, ShowsTheLinesUpToCountAsUnderlinedLabels) {
    show(1, "", true);
    ASSERT_EQ(balloon->lineLabels().size(), 2u);
    EXPECT_EQ(balloon->lineLabels()[1]->text(), "9:30 AM - Call the bank");
    EXPECT_TRUE(balloon->lineLabels()[0]->font().underline());
    EXPECT_EQ(balloon->geometry(), QRect(600, 400, 312, 108));
    EXPECT_FALSE(balloon->iconLabel()->isVisible());
    EXPECT_TRUE(balloon->closeButton()->isVisible());
    // A screen reader finds the close control as a button by its name.
    QAccessibleInterface* close = QAccessible::queryAccessibleInterface(balloon->closeButton());
    EXPECT_EQ(close->role(), QAccessible::Button);
    EXPECT_EQ(close->text(QAccessible::Name).toStdString(), "Close");
    EXPECT_FALSE(balloon->mask().contains(QPoint(0, 0)));  // the corner is cut away
    EXPECT_TRUE(balloon->mask().contains(QPoint(156, 54)));
}

TEST_F(Balloon, TheCloseButtonAClickElsewhereOrItsTimeCloseAndDelete) {
    show(51, "I9", true);
    EXPECT_TRUE(balloon->iconLabel()->isVisible());
    test::click(balloon->closeButton());
    test::wait(0);
    EXPECT_FALSE(balloon);

    show(51, "", false, 0, false);
    EXPECT_FALSE(balloon->closeButton()->isVisible());
    test::click(balloon.data(), QPoint(150, 100));
    test::wait(0);
    EXPECT_FALSE(balloon);

    show(51, "", true, 50);
    EXPECT_TRUE(balloon->autoCloseActive());
    test::wait(200);
    EXPECT_FALSE(balloon);
}

TEST_F(Balloon, CloseButtonLooksPushedWhilePressed) {
    const QImage up = closeButtonPixmap(false).toImage();
    const QImage down = closeButtonPixmap(true).toImage();
    EXPECT_NE(up.pixel(0, 0), down.pixel(0, 0));
    EXPECT_NE(up.pixel(15, 15), down.pixel(15, 15));
    EXPECT_EQ(up.pixel(8, 8), down.pixel(8, 8));  // the face itself does not change
}

}  // namespace
}  // namespace tavrin
