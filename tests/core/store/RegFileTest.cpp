#include <gtest/gtest.h>

#include "core/store/RegFile.h"

using namespace tavrin;

namespace {

std::string valueOf(const RegTree& tree, std::string_view path, std::string_view name) {
    const RegKey* key = tree.find(path);
    const RegValue* v = key ? key->value(name) : nullptr;
    return v ? v->data : std::string("<missing>");
}

}  // namespace

TEST(RegFile, WritesAndReadsTheDocumentedLayout) {
    RegTree tree;
    bool created = false;
    tree.create("SOFTWARE\\QUILLON", created).setValue("", ValueType::String, "Quillon");
    RegKey& settings = tree.create("SOFTWARE\\QUILLON\\TAVRIN", created);
    settings.setValue("Path", ValueType::String, "C:\\a \"b\"");
    settings.setValue("Odd", ValueType::String, std::string("FF\0", 3));
    settings.setValue("Rule", ValueType::Binary, "\x01\xff");
    tree.create("SOFTWARE\\QUILLON\\EMPTY", created);
    const std::string text =
        "REGEDIT4\n\n[SOFTWARE\\QUILLON]\n@=\"Quillon\"\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"
        "\"Path\"=\"C:\\\\a \\\"b\\\"\"\n\"Odd\"=hex(1):46,46,00\n\"Rule\"=hex:01,ff\n\n"
        "[SOFTWARE\\QUILLON\\EMPTY]\n";
    EXPECT_EQ(RegFile::write(tree), text);
    // The same layout reads back: the default value, escapes, a string in hex(1) form with its NUL.
    const auto back = RegFile::parse(text);
    EXPECT_FALSE(back.corrupt());
    EXPECT_EQ(back.tree, tree);
}

TEST(RegFile, EveryByteRoundTrips) {
    RegTree tree;
    bool created = false;
    RegKey& key = tree.create("A\\B", created);
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    key.setValue("all bytes", ValueType::String, all);
    key.setValue("8-bit \xe9t\xe9", ValueType::String, "caf\xe9");
    key.setValue("quote\"back\\slash", ValueType::String, "\\\"\\\\");
    key.setValue("crlf", ValueType::String, "a\r\nb");
    key.setValue("empty", ValueType::String, "");
    key.setValue("nothing", ValueType::Binary, "");
    key.setValue("dword", static_cast<ValueType>(4), std::string("\x78\x56\x34\x12", 4));
    key.setValue("other", static_cast<ValueType>(7), std::string("a\0\0", 3));
    tree.create("A\\EMPTY KEY", created);
    const std::string text = RegFile::write(tree);
    const auto back = RegFile::parse(text);
    EXPECT_FALSE(back.corrupt()) << text;
    EXPECT_EQ(back.tree, tree) << text;
    EXPECT_NE(back.tree.find("A\\Empty Key"), nullptr);
    // Long hex data is wrapped so that the file stays readable.
    EXPECT_NE(text.find(",\\\n  "), std::string::npos);
}

TEST(RegFile, ToleratesCrLfCommentsBlankLinesAndContinuations) {
    const auto r = RegFile::parse(
        "\xEF\xBB\xBFREGEDIT4\r\n\r\n; a comment\r\n  [Key]  \r\n\r\n\"Long\"=hex(1):41,\\\r\n"
        "   42,\\\n  43\n@ = \"x\"\n");
    EXPECT_FALSE(r.corrupt());
    EXPECT_EQ(valueOf(r.tree, "key", "long"), "ABC");
    EXPECT_EQ(valueOf(r.tree, "key", ""), "x");
}

// A trailing backslash promises more hex bytes; a line that is not hex bytes (a key header, another
// value) is read as itself, so a damaged value cannot hide the keys and values after it.
TEST(RegFile, HexContinuationTakesOnlyLinesOfHexBytes) {
    const std::string settings = "[SOFTWARE\\QUILLON\\TAVRIN]\n";
    const struct {
        const char* what;
        std::string text;
        const char* oddKey;
        std::string odd;  // the data of "Odd" read back
    } cases[] = {
        {"a key header", "[A]\n\"Odd\"=hex:01,02,\\\n" + settings + "\"DateFormat\"=\"x\"\n", "A",
         "\x01\x02"},
        {"a value line", settings + "\"Odd\"=hex:01,\\\n\"DateFormat\"=\"x\"\n", "SOFTWARE\\QUILLON\\TAVRIN",
         "\x01"},
        {"a blank line after a real continuation",
         settings + "\"Odd\"=hex:01,\\\n  02,\\\n\n\"DateFormat\"=\"x\"\n", "SOFTWARE\\QUILLON\\TAVRIN",
         "\x01\x02"},
    };
    for (const auto& c : cases) {
        const auto r = RegFile::parse(c.text);
        EXPECT_EQ(valueOf(r.tree, "SOFTWARE\\QUILLON\\TAVRIN", "DateFormat"), "x") << c.what;
        EXPECT_EQ(valueOf(r.tree, c.oddKey, "Odd"), c.odd) << c.what;
    }
}

TEST(RegFile, KeepsEveryReadableLineOfACorruptFile) {
    const auto r = RegFile::parse(
        "REGEDIT4\n\"Orphan\"=\"before any key\"\n[Good]\n\"A\"=\"1\"\ngarbage here\n"
        "\"B\"=\"unterminated\n\"C\"=hex:zz\n\"D\"=\"4\"\n[Bad\n\"E\"=\"lost with its key\"\n[Good\\Sub]\n"
        "\"F\"=\"6\" trailing\n\"G\"=\"7\"\n");
    EXPECT_TRUE(r.corrupt());
    EXPECT_EQ(r.badLines, (std::vector<std::size_t>{2, 5, 6, 7, 9, 10, 12}));
    EXPECT_EQ(valueOf(r.tree, "Good", "A") + valueOf(r.tree, "Good", "D") + valueOf(r.tree, "Good\\Sub", "G"),
              "147");
    EXPECT_EQ(r.tree.find("Good")->values().size(), 2u);
}
