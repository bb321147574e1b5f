#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/TzFile.h"
#include "timezones/DateTime.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int64_t unixAt(int y, int mo, int d, int h, int mi, int s) {
    return DateTime::fromFields(y, mo, d, h, mi, s).toUnix();
}

void putBe32(std::string& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A version 1 file: two types ("AAA" +1h standard, "BBB" +2h daylight), transitions to each.
std::string versionOneFile(std::uint8_t secondType = 1, std::uint8_t secondDesig = 4) {
    std::string f = "TZif";
    f.push_back('\0');
    f.append(15, '\0');
    for (std::uint32_t count : {0u, 0u, 0u, 2u, 2u, 8u}) putBe32(f, count);
    putBe32(f, 1000);
    putBe32(f, 2000);
    f.push_back(0);
    f.push_back(static_cast<char>(secondType));
    putBe32(f, 3600);
    f.push_back(0);
    f.push_back(0);
    putBe32(f, 7200);
    f.push_back(1);
    f.push_back(static_cast<char>(secondDesig));
    f.append("AAA\0BBB\0", 8);
    return f;
}

TEST(TzFile, ReadsTheSixtyFourBitPartAndFooterOfAModernFile) {
    TzFile berlin;
    std::string error;
    ASSERT_TRUE(TzFile::load(kZoneinfo + "/Europe/Berlin", berlin, error)) << error;
    EXPECT_GE(berlin.version(), 2);
    EXPECT_EQ(berlin.footerText(), "CET-1CEST,M3.5.0,M10.5.0/3");
    ASSERT_TRUE(berlin.footer().has_value());
    EXPECT_EQ(berlin.footer()->daylight.abbreviation, "CEST");
    // 1893 predates the 32-bit range's usual start: only the 64-bit part holds it.
    EXPECT_LT(berlin.transitionTimes().front(), -(std::int64_t{1} << 31));
}

TEST(TzFile, TypeChangesAtTheTransitionSecond) {
    TzFile berlin;
    std::string error;
    ASSERT_TRUE(TzFile::load(kZoneinfo + "/Europe/Berlin", berlin, error));
    // Daylight time began at 2026-03-29 01:00:00 UTC and ended at 2026-10-25 01:00:00 UTC.
    EXPECT_EQ(berlin.typeAt(unixAt(2026, 3, 29, 0, 59, 59)).abbreviation, "CET");
    EXPECT_EQ(berlin.typeAt(unixAt(2026, 3, 29, 1, 0, 0)).abbreviation, "CEST");
    EXPECT_EQ(berlin.typeAt(unixAt(2026, 10, 25, 0, 59, 59)).utcOffset, 7200);
    EXPECT_EQ(berlin.typeAt(unixAt(2026, 10, 25, 1, 0, 0)).utcOffset, 3600);
    // Far beyond the table the footer carries on.
    EXPECT_TRUE(berlin.typeAt(unixAt(2090, 7, 1, 0, 0, 0)).isDst);
    const auto changes = berlin.transitionsBetween(unixAt(2090, 1, 1, 0, 0, 0), unixAt(2091, 1, 1, 0, 0, 0));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].at, unixAt(2090, 3, 26, 1, 0, 0));
}

TEST(TzFile, ReadsAVersionOneFileWithoutFooter) {
    TzFile f;
    std::string error;
    ASSERT_TRUE(TzFile::parse(versionOneFile(), f, error)) << error;
    EXPECT_EQ(f.version(), 1);
    EXPECT_FALSE(f.footer().has_value());
    EXPECT_EQ(f.typeAt(999).abbreviation, "AAA");  // before the first transition: the first type
    EXPECT_EQ(f.typeAt(2000).abbreviation, "BBB");
    EXPECT_EQ(f.typeAt(5000000).utcOffset, 7200);
}

TEST(TzFile, ReadsANewerFileWhoseOldBlockIsEmpty) {
    // Version 2 with a 32-bit header of zero counts, then the 64-bit data of the file above.
    std::string f = "TZif2";
    f.append(15, '\0');
    for (int i = 0; i < 6; ++i) putBe32(f, 0);
    const std::string v1 = versionOneFile();
    std::string v2 = "TZif2" + v1.substr(5, 39);
    for (std::uint32_t t : {1000u, 2000u}) {
        putBe32(v2, 0);
        putBe32(v2, t);
    }
    f += v2 + v1.substr(52) + "\nAAA-1BBB,M3.5.0,M10.5.0/3\n";
    TzFile parsed;
    std::string error;
    ASSERT_TRUE(TzFile::parse(f, parsed, error)) << error;
    EXPECT_EQ(parsed.version(), 2);
    EXPECT_EQ(parsed.typeAt(1500).abbreviation, "AAA");
    EXPECT_EQ(parsed.footer()->daylight.abbreviation, "BBB");
}

TEST(TzFile, RejectsDamagedData) {
    TzFile f;
    std::string error;
    EXPECT_FALSE(TzFile::parse("", f, error));
    EXPECT_FALSE(TzFile::parse("TZjf" + versionOneFile().substr(4), f, error));
    EXPECT_FALSE(TzFile::parse(versionOneFile(7), f, error));      // a transition to a missing type
    EXPECT_FALSE(TzFile::parse(versionOneFile(1, 40), f, error));  // a name past the name bytes
    // No cut of a real file may read past its end.
    const std::string bytes = readBytes(kZoneinfo + "/America/Nuuk");
    for (std::size_t n = 0; n < bytes.size(); n += 7) {
        const bool ok = TzFile::parse(bytes.substr(0, n), f, error);
        if (n < 44) {
            EXPECT_FALSE(ok);
        }
    }
    std::string garbled = bytes;
    garbled[garbled.size() - 1] = 'x';  // footer without its closing newline
    EXPECT_FALSE(TzFile::parse(garbled, f, error));
}

TEST(TzFile, KeepsAFooterItCannotReadAsTextOnly) {
    std::string bytes = readBytes(kZoneinfo + "/Asia/Tokyo");
    const auto open = bytes.rfind('\n', bytes.size() - 2);
    bytes = bytes.substr(0, open + 1) + "JST-9JDT,Q3.2.0\n";
    TzFile f;
    std::string error;
    ASSERT_TRUE(TzFile::parse(bytes, f, error)) << error;
    EXPECT_EQ(f.footerText(), "JST-9JDT,Q3.2.0");
    EXPECT_FALSE(f.footer().has_value());
    EXPECT_EQ(f.typeAt(unixAt(2030, 1, 1, 0, 0, 0)).utcOffset, 9 * 3600);
}

}  // namespace
}  // namespace tavrin
