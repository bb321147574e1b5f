// One clock per user session, checked with real programs: a second start asks the running clock to
// show itself and leaves with status 0; a clock killed outright leaves nothing that stops the next.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/InstanceLock.h"
#include "support/ScratchHome.h"
#include "support/TestApp.h"

namespace fs = std::filesystem;
using tavrin::InstanceLock;

namespace {

class Session : public ::testing::Test {
  protected:
    void SetUp() override {
        tavrin::test::ensureApp();
        environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : home.environment())
            environment.insert(QString::fromStdString(name), QString::fromStdString(value));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TAVRIN_TRACE", "1");
    }

    void start(QProcess& program) {
        program.setProcessEnvironment(environment);
        program.setProgram(QString::fromStdString(std::string(TAVRIN_BINARY_DIR) + "/src/tavrin"));
        program.start();
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // Until the clock holds the session's lock and listens; a loaded machine starts slowly.
    bool waitUntilRunning(QProcess& program) {
        for (int i = 0; i < 300; ++i) {
            if (InstanceLock::isHeld(lockFile()) && fs::exists(home.file("runtime/tavrin.socket")))
                return program.state() == QProcess::Running;
            if (program.state() != QProcess::Running) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::string lockFile() const { return home.file("runtime/tavrin.lock"); }

    tavrin::test::ScratchHome home{"tavrin-session"};
    QProcessEnvironment environment;
};

// Killed outright, a clock leaves its socket file behind: the next start is the session's clock all
// the same, and a start after it asks that clock to show itself and leaves.
TEST_F(Session, ASecondStartAsksTheRunningClockToShowItselfAndLeaves) {
    QProcess killed;
    start(killed);
    ASSERT_TRUE(waitUntilRunning(killed)) << killed.readAllStandardError().toStdString();
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(10000));
    EXPECT_FALSE(InstanceLock::isHeld(lockFile()));

    QProcess first;
    start(first);
    ASSERT_TRUE(waitUntilRunning(first)) << first.readAllStandardError().toStdString();
    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    // The running clock heard the request and runs on.
    std::string heard;
    for (int i = 0; i < 100 && heard.find("asked to show itself") == std::string::npos; ++i) {
        first.waitForReadyRead(100);
        heard += first.readAllStandardError().toStdString();
    }
    EXPECT_NE(heard.find("asked to show itself"), std::string::npos) << heard;
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

}  // namespace
