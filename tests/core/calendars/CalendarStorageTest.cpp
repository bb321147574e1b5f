#include <gtest/gtest.h>

#include "core/calendars/CalendarCache.h"
#include "core/calendars/CalendarList.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/store/StoreAccess.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

TEST(CalendarList, RoundTripKeepsOrderAndSkipsDamagedEntriesWithoutLosingThem) {
    MemoryStore store;
    const std::vector<CalendarSubscription> list = {
        {"b2", "Work", "https://dav.example/cal/work/", CalendarSource::CalDav, "ann", 0xCC0000, true},
        {"a1", "Holidays", "webcal://example.org/h.ics", CalendarSource::Feed, "", 0x00FF7F, false},
        {"c3", "Club", "/home/ann/club.ics", CalendarSource::File, "", 0x123456, true}};
    ASSERT_TRUE(writeCalendarList(store, Root::CurrentUser, list));
    auto read = readCalendarList(store, Root::CurrentUser);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*read)[i].id, list[i].id);
        EXPECT_EQ((*read)[i].name, list[i].name);
        EXPECT_EQ((*read)[i].address, list[i].address);
        EXPECT_EQ((*read)[i].source, list[i].source);
        EXPECT_EQ((*read)[i].user, list[i].user);
        EXPECT_EQ((*read)[i].colour, list[i].colour);
        EXPECT_EQ((*read)[i].enabled, list[i].enabled);
    }

    // Damage one entry's colour and drop the order: the others come, the damaged one is named.
    const std::string path = std::string(kSettingsKey) + "\\Calendars";
    auto key = openKey(store, Root::CurrentUser, path + "\\a1", kAllAccess);
    ASSERT_TRUE(key);
    ASSERT_TRUE(writeText(store, *key, "Colour", "green"));
    auto listKey = openKey(store, Root::CurrentUser, path, kAllAccess);
    ASSERT_TRUE(deleteValue(store, *listKey, "Order"));
    auto reading = readCalendarListReporting(store, Root::CurrentUser);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->calendars.size(), 2u);
    ASSERT_EQ(reading->skipped.size(), 1u);
    EXPECT_NE(reading->skipped[0].find("\"green\" is no colour"), std::string::npos);

    // Writing back what was read removes the calendar left out, keeps the damaged entry.
    ASSERT_TRUE(writeCalendarList(store, Root::CurrentUser, {reading->calendars[0]}));
    EXPECT_TRUE(openKey(store, Root::CurrentUser, path + "\\a1"));
    EXPECT_EQ(readCalendarList(store, Root::CurrentUser)->size(), 1u);
    EXPECT_FALSE(writeCalendarList(store, Root::CurrentUser,
                                   {{"../x", "Bad", "/x", CalendarSource::File, "", 0, true}}));
    EXPECT_TRUE(isCalendarId(newCalendarId(list)));
}

TEST(CalendarCache, RoundTripAndADamagedFileIsAFailureThatKeepsTheFile) {
    test::TempDir dir;
    CalendarCache cache(dir.file("calendars"));
    EXPECT_TRUE(cache.read("none")->resources.empty());
    CachedCalendar calendar;
    calendar.resources["/cal/a.ics"] = {"\"e1\"", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"};
    calendar.resources["/cal/b.ics"] = {"", std::string("odd\nbytes\0here", 14)};
    calendar.collectionTag = "sync-7";
    calendar.fetchedAt = 1700000000;
    calendar.lastFailure = "the server answered 500";
    calendar.failedAt = 1700000900;
    ASSERT_TRUE(cache.write("c1", calendar));
    auto read = cache.read("c1");
    ASSERT_TRUE(read);
    EXPECT_EQ(formatCachedCalendar(*read), formatCachedCalendar(calendar));

    const std::string text = test::readFile(cache.fileOf("c1"));
    for (const std::string& damaged :
         {text.substr(0, text.size() - 5), text + "Z 1\nx\n", std::string("x")}) {
        test::writeFile(cache.fileOf("c1"), damaged);
        auto bad = cache.read("c1");
        EXPECT_FALSE(bad);
        EXPECT_NE(bad.message().find("is damaged"), std::string::npos);
        EXPECT_FALSE(cache.recordFailure("c1", "offline", 1));
        EXPECT_EQ(test::readFile(cache.fileOf("c1")), damaged);
    }
    ASSERT_TRUE(cache.remove("c1"));
    EXPECT_TRUE(cache.remove("c1"));
    EXPECT_FALSE(cache.read("../c1"));
}

}  // namespace
}  // namespace tavrin
