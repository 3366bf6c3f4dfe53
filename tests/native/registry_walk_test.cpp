// The shared registry walk: its order, its hooks, the stop request, and the
// one-level readers.
#include <gtest/gtest.h>

#include "platform/posix/headless_ui.h"
#include "platform/posix/posix_registry.h"
#include "search/registry_walk.h"

namespace {

using platform::Root;

struct WalkFixture {
    platform::posix::PosixRegistry registry;
    headless::Pump pump;
    platform::StopRequest stop;

    WalkFixture() {
        const auto imported = registry.import_reg(
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Top]\r\n\"top\"=\"1\"\r\n"
            "[HKEY_CURRENT_USER\\Top\\B]\r\n\"b\"=\"2\"\r\n"
            "[HKEY_CURRENT_USER\\Top\\B\\Deep]\r\n\"deep\"=\"3\"\r\n\"count\"=dword:00000001\r\n"
            "[HKEY_CURRENT_USER\\Top\\A]\r\n@=\"4\"\r\n\"a\"=\"5\"\r\n");
        EXPECT_TRUE(imported) << imported.message();
    }

    std::vector<std::string> walk(search::RegistryWalkRules rules) {
        std::vector<search::RegistryValue> found;
        search::RegistryWalk(registry, pump, stop, std::move(rules)).walk(Root::current_user, "Top", found);
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
                                                       "Top\\B\\Deep|count"}));
    rules.values_after_subkeys = true;
    EXPECT_EQ(f.walk(rules), (std::vector<std::string>{"Top\\A|", "Top\\A|a", "Top\\B\\Deep|deep", "Top\\B\\Deep|count",
                                                       "Top\\B|b", "Top|top"}));
}

TEST(RegistryWalk, HooksSkipWholeKeysAndSingleValues) {
    WalkFixture f;
    search::RegistryWalkRules rules;
    rules.key_passes = [](const std::string& key) { return key != "Top\\B"; };
    rules.value_passes = [](platform::RegistryKey& key, const search::RegistryValue& value) {
        return key.read_string(value.name) != "5";
    };
    EXPECT_EQ(f.walk(rules), (std::vector<std::string>{"Top|top", "Top\\A|"}));
}

TEST(RegistryWalk, ServesThePumpPerSubkeyAndValueAndEndsOnAStop) {
    WalkFixture f;
    f.pump.on_serve = [&] {
        if (f.pump.served == 3) f.stop.request();
    };
    // The own value of Top, then subkey A: the stop comes with A's first value.
    EXPECT_EQ(f.walk({}), (std::vector<std::string>{"Top|top"}));
}

TEST(RegistryWalk, OneLevelReadersListSubkeyStringsAndKeyValues) {
    WalkFixture f;
    const auto subkeys = search::subkey_strings(f.registry, Root::current_user, "Top\\B", {"deep", "count", "none"});
    ASSERT_EQ(subkeys.size(), 1u);
    EXPECT_EQ(subkeys[0].subkey, "Deep");
    EXPECT_EQ(subkeys[0].values, (std::vector<std::optional<std::string>>{"3", std::nullopt, std::nullopt}));

    const auto values = search::key_values(f.registry, Root::current_user, "Top\\B\\Deep");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].text, "3");
    EXPECT_EQ(values[1].type, platform::ValueType::dword);
    EXPECT_FALSE(values[1].text);
    EXPECT_TRUE(search::key_values(f.registry, Root::current_user, "Missing").empty());
    EXPECT_TRUE(search::subkey_strings(f.registry, Root::current_user, "Missing", {"x"}).empty());
}
