#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/store/RegTree.h"

using namespace tavrin;

namespace {

std::vector<std::string> valueNames(const RegKey& key) {
    std::vector<std::string> names;
    for (const RegValue& v : key.values()) names.push_back(v.name + "=" + v.data);
    return names;
}

std::vector<std::string> childNames(const RegKey& key) {
    std::vector<std::string> names;
    for (const RegKey& c : key.children()) names.push_back(c.name);
    return names;
}

}  // namespace

// Removing from the middle shifts everything after it; each later name must still find its own entry.
TEST(RegTree, LookupsStayRightAfterRemovalsFromTheMiddle) {
    RegKey key;
    for (const char* name : {"One", "Two", "Three", "Four"}) key.setValue(name, ValueType::String, name);
    EXPECT_TRUE(key.removeValue("two"));
    EXPECT_FALSE(key.removeValue("TWO"));
    key.setValue("four", ValueType::String, "4");  // keeps its place and first-written case
    key.setValue("TWO", ValueType::String, "2");   // comes back at the end
    EXPECT_EQ(valueNames(key), (std::vector<std::string>{"One=One", "Three=Three", "Four=4", "TWO=2"}));
    for (const char* name : {"one", "THREE", "four", "two"}) ASSERT_NE(key.value(name), nullptr) << name;
    EXPECT_EQ(key.value("three")->data, "Three");

    RegTree tree;
    bool created = false;
    for (const char* path : {"A\\X", "B", "C\\Y", "D"}) tree.create(path, created);
    EXPECT_TRUE(tree.remove("b"));
    EXPECT_FALSE(tree.remove("b"));
    EXPECT_EQ(childNames(tree.root()), (std::vector<std::string>{"A", "C", "D"}));
    ASSERT_NE(tree.find("c\\y"), nullptr);
    EXPECT_EQ(tree.find("d")->name, "D");
    tree.create("b", created);
    EXPECT_TRUE(created);
    EXPECT_EQ(childNames(tree.root()), (std::vector<std::string>{"A", "C", "D", "b"}));
    tree.create("C\\Y", created);
    EXPECT_FALSE(created);
    // A copied tree has its own index, pointing into its own lists.
    RegTree copy = tree;
    copy.remove("A");
    EXPECT_EQ(copy.find("D")->name, "D");
    EXPECT_NE(tree.find("A"), nullptr);
}
