#include "core/utilities/SupportMail.h"

#include <gtest/gtest.h>

#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

TEST(SupportMail, OperatingSystemTextJoinsTheSystemValuesEachWithOneBlank) {
    MemoryStore store;
    const std::string nt = kNtCurrentVersionKey;
    test::putSystemValue(store, nt, "ProductName", "Microsoft Windows XP");
    test::putSystemValue(store, nt, "CurrentVersion", "5.1");
    test::putSystemValue(store, nt, "CurrentBuildNumber", "2600");
    test::putSystemValue(store, nt, "CSDVersion", "Service Pack 2");
    EXPECT_EQ(operatingSystemText(store, 2), "Microsoft Windows XP 5.1 2600 Service Pack 2 ");

    // Other platforms read the older key; what is missing still gives its blank.
    test::putSystemValue(store, "Software\\Microsoft\\Windows\\CurrentVersion", "ProductName",
                         "Microsoft Windows 98");
    EXPECT_EQ(operatingSystemText(store, 1), "Microsoft Windows 98  ");
}

TEST(SupportMail, SubjectAndBodyAsComposed) {
    const SupportMail mail = composeSupportMail("v1.0.4", "Debian GNU/Linux 12 (bookworm) 12 6.1.0 ",
                                                DateTime::fromFields(2005, 3, 7, 21, 5, 9));
    EXPECT_EQ(mail.subject, "Tavrin for Win: v1.0.4");
    EXPECT_EQ(mail.body,
              "Application Version: v1.0.4\r\n"
              "Operating System: Debian GNU/Linux 12 (bookworm) 12 6.1.0 \r\n"
              "Date and Time: 3/7/2005 9:05:09 PM\r\n"
              "\r\n"
              "Please document below the question you have or bug report.\r\n \r\n");
}

// Blanks, "&", "#", "?" and "%" in the text would cut the link short or be read as something else
// by the mail program; every such byte goes in as %XX, so the message arrives as composed.
TEST(SupportMail, LinkCarriesEveryCharacterPercentEncoded) {
    const struct {
        const char* text;
        const char* encoded;
    } cases[] = {
        {"Q?#%", "Q%3F%23%25"},
        {"1+1=2", "1%2B1%3D2"},
        {"Fran\xC3\xA7ois", "Fran%C3%A7ois"},
        {"v1.0.4-rc_1~", "v1.0.4-rc_1~"},
        {"(GNU/Linux)", "%28GNU%2FLinux%29"},
    };
    for (const auto& c : cases) EXPECT_EQ(percentEncode(c.text), c.encoded) << c.text;

    const SupportMail mail{"Tavrin for Win: v1.0.4", "OS: A&B\r\n \r\n"};
    EXPECT_EQ(supportMailLink("support@example.com", mail),
              "mailto:support@example.com?Subject=Tavrin%20for%20Win%3A%20v1.0.4&body=OS%3A%20A%26B%0D%0A%20%"
              "0D%0A");
    // An address keeps its own characters but not those that would end it.
    EXPECT_EQ(supportMailLink("help+tavrin@example.com", {}),
              "mailto:help+tavrin@example.com?Subject=&body=");
    EXPECT_EQ(supportMailLink("a?b#c@example.com", {}), "mailto:a%3Fb%23c@example.com?Subject=&body=");
}

}  // namespace
}  // namespace tavrin
