// The list of members a description may hold, as other checkers read it.
#include <gtest/gtest.h>

#include "PiplTestSupport.h"
#include "pipl/Pipl.h"

using kel::rez::knownPiplMembers;
using kel::rez::PiplMemberNames;

namespace {

const PiplMemberNames* find(const std::vector<PiplMemberNames>& members, std::string_view name)
{
    for (const PiplMemberNames& member : members)
        if (member.name == name)
            return &member;
    return nullptr;
}

}  // namespace

TEST(PiplKnownMembers, ListsRequiredMembersAndSubMembersInNameOrder)
{
    const std::vector<PiplMemberNames> members = knownPiplMembers();
    for (std::size_t index = 1; index < members.size(); ++index)
        EXPECT_LT(members[index - 1].name, members[index].name);

    const PiplMemberNames* version = find(members, "Version");
    ASSERT_NE(nullptr, version);
    EXPECT_EQ((std::vector<std::string_view>{"Major", "Minor", "Revision"}), version->subMembers);
    const PiplMemberNames* readTypes = find(members, "FormatReadTypes");
    ASSERT_NE(nullptr, readTypes);
    EXPECT_EQ((std::vector<std::string_view>{"Creator", "Type"}), readTypes->subMembers);
    for (std::string_view scalar : {"PluginType", "Name", "FormatReadExt"}) {
        const PiplMemberNames* member = find(members, scalar);
        ASSERT_NE(nullptr, member) << scalar;
        EXPECT_TRUE(member->subMembers.empty()) << scalar;
    }
}

TEST(PiplKnownMembers, EveryListedOptionalMemberIsCheckedByTheCompiler)
{
    // A member the compiler ignored would take any value; each listed one refuses null by name.
    for (const PiplMemberNames& member : knownPiplMembers()) {
        if (member.name == "PluginType" || member.name == "Name" || member.name == "Version")
            continue;
        const std::string name(member.name);
        pipltest::PiplRun run =
            pipltest::runPipl("{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"X\","
                              "\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0},\""
                              + name + "\":null}");
        EXPECT_FALSE(run.ok) << name;
        EXPECT_NE(std::string::npos, run.errorText.find("\"" + name + "\""))
            << name << ": " << run.errorText;
    }
}
