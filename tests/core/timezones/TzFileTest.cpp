#include <gtest/gtest.h>

#include <string>

#include "core/timezones/DateTime.h"
#include "core/timezones/TzFile.h"
#include "support/FileText.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

TzFile parsed(std::string_view bytes) {
    TzFile f;
    std::string error;
    EXPECT_TRUE(TzFile::parse(bytes, f, error)) << error;
    return f;
}

std::string be32(std::uint32_t v) {
    std::string out;
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

// A version 1 file: two types ("AAA" +1h standard, "BBB" +2h daylight), transitions to each.
std::string versionOneFile(char secondType = 1, char secondDesig = 4) {
    std::string f = "TZif" + std::string(16, '\0');
    for (std::uint32_t count : {0u, 0u, 0u, 2u, 2u, 8u}) f += be32(count);
    f += be32(1000) + be32(2000) + '\0' + secondType;
    f += be32(3600) + std::string(2, '\0') + be32(7200) + '\1' + secondDesig;
    return f + std::string("AAA\0BBB\0", 8);
}

TEST(TzFile, ReadsAVersionOneFileAndANewerOneWhoseOldBlockIsEmpty) {
    const TzFile v1 = parsed(versionOneFile());
    EXPECT_EQ(v1.version(), 1);
    EXPECT_FALSE(v1.footer().has_value());
    EXPECT_EQ(v1.typeAt(999).abbreviation, "AAA");  // before the first transition: the first type
    EXPECT_EQ(v1.typeAt(2000).abbreviation, "BBB");
    EXPECT_EQ(v1.typeAt(5000000).utcOffset, 7200);

    // A 32-bit header of zero counts, then the same data in 64 bits, then a footer.
    const std::string old = versionOneFile();
    const TzFile v2 =
        parsed("TZif2" + std::string(15 + 24, '\0') + "TZif2" + old.substr(5, 39) + be32(0) + be32(1000) +
               be32(0) + be32(2000) + old.substr(52) + "\nAAA-1BBB,M3.5.0,M10.5.0/3\n");
    EXPECT_EQ(v2.version(), 2);
    EXPECT_EQ(v2.typeAt(1500).abbreviation, "AAA");
    EXPECT_EQ(v2.footer()->daylight.abbreviation, "BBB");
}

// Damaged data is refused with a reason, and a refused file reads as no zone at all. Counts that
// promise more than the file holds are refused before anything is read or reserved, whatever the
// version byte says. (The version '1' files that once broke the reader are replayed with the fuzz
// target's inputs.)
TEST(TzFile, RefusesDamagedDataAndCountsBeyondTheBytes) {
    const std::string nuuk = tavrin::test::readFile(kZoneinfo + "/America/Nuuk");
    const std::string huge =
        "TZif1" + std::string(15, '\0') + be32(0) + be32(0) + be32(0) + be32(0x7FFFFFFF) + be32(1) + be32(4);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"nothing", ""},
        {"another magic", "TZjf" + versionOneFile().substr(4)},
        {"a transition to a missing type", versionOneFile(7)},
        {"a name past the name bytes", versionOneFile(1, 40)},
        {"a footer without its closing newline", nuuk.substr(0, nuuk.size() - 1) + "x"},
        {"version '\\0' with no types", "TZif" + std::string(40, '\0')},
        {"a time count of two thousand million", huge},
        {"version 2 whose old block overstates its size", "TZif2" + std::string(15, '\0') + be32(0) +
                                                              be32(0) + be32(0) + be32(1000) + be32(1) +
                                                              be32(4) + std::string(10, '\0')},
        {"version 2 whose new block has no types",
         "TZif2" + std::string(39, '\0') + "TZif2" + std::string(39, '\0')},
        {"version '1' whose flags disagree with the types",
         [] {
             std::string f = versionOneFile();
             f[4] = '1';
             f.replace(20, 4, be32(1));  // one UT flag for two types
             return f + '\0';
         }()},
    };
    for (const auto& c : cases) {
        TzFile f;
        std::string error;
        EXPECT_FALSE(TzFile::parse(c.bytes, f, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(f.typeAt(0).utcOffset, 0) << c.what;  // a refused file has no rules to crash on
    }
    std::string one = versionOneFile();
    one[4] = '1';
    EXPECT_EQ(parsed(one).typeAt(2000).abbreviation, "BBB");  // a whole '1' file still reads
    // No cut of a real file may read past its end.
    for (std::size_t n = 0; n < nuuk.size(); n += 7) {
        TzFile f;
        std::string error;
        EXPECT_FALSE(TzFile::parse(nuuk.substr(0, n), f, error) && n < 44) << n;
    }
}

TEST(TzFile, KeepsAFooterItCannotReadAsTextOnly) {
    std::string bytes = tavrin::test::readFile(kZoneinfo + "/Asia/Tokyo");
    const auto open = bytes.rfind('\n', bytes.size() - 2);
    const TzFile f = parsed(bytes.substr(0, open + 1) + "JST-9JDT,Q3.2.0\n");
    EXPECT_EQ(f.footerText(), "JST-9JDT,Q3.2.0");
    EXPECT_FALSE(f.footer().has_value());
    EXPECT_EQ(f.typeAt(DateTime::fromFields(2030, 1, 1).toUnix()).utcOffset, 9 * 3600);
}

}  // namespace
}  // namespace tavrin
