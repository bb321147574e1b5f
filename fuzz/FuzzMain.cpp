// One libFuzzer program per target: built once for each, with TAVRIN_FUZZ_TARGET naming it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzChecks.h"

namespace {

const tavrin::fuzz::Target& chosen() {
    for (const auto& t : tavrin::fuzz::targets())
        if (std::strcmp(t.name, TAVRIN_FUZZ_TARGET) == 0) return t;
    std::fprintf(stderr, "no fuzz target named %s\n", TAVRIN_FUZZ_TARGET);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tavrin::fuzz::Target& target = chosen();
    const std::string finding = target.check(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!finding.empty()) {
        std::fprintf(stderr, "%s: %s\n", target.name, finding.c_str());
        std::abort();
    }
    return 0;
}
