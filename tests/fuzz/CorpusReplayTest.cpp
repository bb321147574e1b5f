// Every stored fuzz input, seeds and the inputs that once broke a parser alike, goes through the
// same checks as under the fuzzer, so a build without clang still holds every finding.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzChecks.h"

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, EveryStoredInputPassesItsTargetsChecks) {
    const fs::path root = fs::path(TAVRIN_TEST_DATA) / "fuzz";
    for (const auto& target : tavrin::fuzz::targets()) {
        const fs::path folder = root / target.name;
        ASSERT_TRUE(fs::is_directory(folder)) << "no corpus for " << target.name;
        int inputs = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            ++inputs;
            EXPECT_EQ(target.check(bytesOf(entry.path())), "") << entry.path();
        }
        EXPECT_GE(inputs, 3) << "the seed corpus of " << target.name << " is too small";
    }
}

TEST(FuzzCorpus, EveryCorpusFolderHasATarget) {
    for (const auto& entry : fs::directory_iterator(fs::path(TAVRIN_TEST_DATA) / "fuzz")) {
        if (!entry.is_directory()) continue;
        bool known = false;
        for (const auto& target : tavrin::fuzz::targets())
            known = known || entry.path().filename() == target.name;
        EXPECT_TRUE(known) << entry.path() << " is replayed by no target";
    }
}

}  // namespace
