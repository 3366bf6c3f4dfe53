// The shared registry walk: its order, its hooks and the stop request.
#include <gtest/gtest.h>

#include "posix/headless_ui.h"
#include "posix/posix_registry.h"
#include "search/registry_walk.h"

namespace {

struct WalkFixture {
    platform::posix::PosixRegistry registry;
    headless::Pump pump;
    platform::StopRequest stop;

    WalkFixture() {
        EXPECT_TRUE(registry.import_reg("REGEDIT4\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Top]\r\n\"top\"=\"1\"\r\n"
                                        "[HKEY_CURRENT_USER\\Top\\B]\r\n\"b\"=\"2\"\r\n"
                                        "[HKEY_CURRENT_USER\\Top\\B\\Deep]\r\n\"deep\"=\"3\"\r\n\"n\"=dword:00000001\r\n"
                                        "[HKEY_CURRENT_USER\\Top\\A]\r\n@=\"4\"\r\n\"a\"=\"5\"\r\n"));
    }

    std::vector<std::string> walk(search::RegistryWalkRules rules) {
        std::vector<search::RegistryValue> found;
        search::RegistryWalk(registry, pump, stop, std::move(rules)).walk(platform::Root::current_user, "Top", found);
        std::vector<std::string> names;
        for (const auto& value : found) names.push_back(value.key + "|" + value.name);
        return names;
    }
};

}  // namespace

TEST(RegistryWalk, VisitsDepthFirstWithTheOwnValuesBeforeOrAfterTheSubkeys) {
    WalkFixture f;
    search::RegistryWalkRules rules;
    EXPECT_EQ(f.walk(rules), (std::vector<std::string>{"Top|top", "Top\\A|", "Top\\A|a", "Top\\B|b", "Top\\B\\Deep|deep",
                                                       "Top\\B\\Deep|n"}));
    rules.values_after_subkeys = true;
    EXPECT_EQ(f.walk(rules), (std::vector<std::string>{"Top\\A|", "Top\\A|a", "Top\\B\\Deep|deep", "Top\\B\\Deep|n",
                                                       "Top\\B|b", "Top|top"}));
}

TEST(RegistryWalk, HooksSkipWholeKeysAndSingleValuesAndAStopEndsTheWalk) {
    WalkFixture f;
    search::RegistryWalkRules rules;
    rules.key_passes = [](const std::string& key) { return key != "Top\\B"; };
    rules.value_passes = [](platform::RegistryKey& key, const search::RegistryValue& value) {
        return key.read_string(value.name) != "5";
    };
    EXPECT_EQ(f.walk(rules), (std::vector<std::string>{"Top|top", "Top\\A|"}));

    // Served before Top's value, before subkey A and before A's first value.
    f.pump.served = 0;
    f.pump.on_serve = [&] {
        if (f.pump.served == 3) f.stop.request();
    };
    EXPECT_EQ(f.walk({}), (std::vector<std::string>{"Top|top"}));
}
