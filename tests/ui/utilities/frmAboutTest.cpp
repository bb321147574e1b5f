#include "ui/utilities/frmAbout.h"

#include <gtest/gtest.h>

#include "core/utilities/MakerAddresses.h"
#include "support/StoredValue.h"
#include "ui/WindowTestApp.h"

using namespace tavrin;

namespace {

struct AboutBox : ::testing::Test, test::WindowTestApp {
    AboutBox() {
        app.settings.VersionText = "v1.0.4";
        test::putSystemValue(store, kNtCurrentVersionKey, "ProductName", "Debian GNU/Linux 12 (bookworm)");
        test::putSystemValue(store, kNtCurrentVersionKey, "CurrentVersion", "12");
    }
};

// The mail's text is composed in the core; the box gives it the version, the system and the time.
TEST_F(AboutBox, LinksOpenTheMailAndTheWebSiteThroughTheShellOrSayWhyNotAndOkCloses) {
    frmAbout about(app);
    about.show();
    test::click(about.mailLink());
    test::click(about.webSiteLink());
    ASSERT_EQ(shell.links.size(), 2u);
    const std::string& mail = shell.links[0];
    EXPECT_TRUE(mail.starts_with(std::string("mailto:") + supportMailbox() +
                                 "?Subject=Tavrin%20for%20Win%3A%20v1.0.4&"))
        << mail;
    for (const char* part :
         {"Debian%20GNU%2FLinux%2012%20%28bookworm%29%2012%20", "3%2F7%2F2005%209%3A05%3A00%20PM"})
        EXPECT_NE(mail.find(part), std::string::npos) << part;
    EXPECT_EQ(shell.links[1], webAddress());

    shell.answer = Result<>::failure("No program on this computer opens mailto: links.");
    test::click(about.mailLink());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, "No program on this computer opens mailto: links.");
    test::click(about.okButton());
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
