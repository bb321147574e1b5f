#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QWidget>

#include "app/TestProbe.h"
#include "support/TestApp.h"

using namespace tavrin;

// Journey tests find what to click and check what is shown through this text.
TEST(TestProbe, ListsVisibleWindowsWithTheirReadableElements) {
    test::ensureApp();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Probe\tWindow"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Two\nlines")));
    auto* tick = new QCheckBox(QStringLiteral("Tick"));
    tick->setChecked(true);
    tick->setEnabled(false);
    layout->addWidget(tick);
    auto* hidden = new QLabel(QStringLiteral("Hidden"));
    layout->addWidget(hidden);
    hidden->hide();
    QWidget notShown;
    notShown.setWindowTitle(QStringLiteral("Not shown"));

    window.show();
    const QString text = TestProbe::snapshot();
    EXPECT_TRUE(text.contains(QStringLiteral("window\tProbe Window\t"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\tlabel\tTwo\\nlines\t"))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("\tcheckbox\tTick\t[^\\n]*checked disabled\\n"))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Hidden")));
    EXPECT_FALSE(text.contains(QStringLiteral("Not shown")));
}
