// The JSON Schema that editors check resource lists with must allow exactly the members the
// PiPL compiler knows, each with the same sub-members: a member missing from either one is
// refused by the other, and a user learns of it only when the build fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "keljsonParse.h"
#include "pipl/Pipl.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

using MemberTable = std::map<std::string, std::vector<std::string>>;

AutoNode readSchema()
{
    std::ifstream file(VANTREL_SCHEMA_FILE, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return AutoNode(kel::json::parse(text.str()));
}

AutoNode memberPath(const AutoNode& start, std::initializer_list<const char*> path)
{
    AutoNode node = start;
    for (const char* name : path)
        node = node ? AutoNode(node->member(name)) : AutoNode();
    return node;
}

/// A schema that is a "$ref" into "#/$defs/" stands for the definition it names.
AutoNode resolved(const AutoNode& schema, const AutoNode& root)
{
    AutoNode ref = memberPath(schema, {"$ref"});
    const std::string prefix = "#/$defs/";
    if (!ref || ref->nodeType() != Node::TypeString)
        return schema;
    const std::string target = ref->stringValue();
    EXPECT_EQ(0u, target.rfind(prefix, 0)) << target;
    return memberPath(root, {"$defs", target.substr(prefix.size()).c_str()});
}

/// The names an object schema, or the items of an array schema, may hold, in name order.
std::vector<std::string> subMemberNames(AutoNode schema, const AutoNode& root)
{
    schema = resolved(schema, root);
    if (AutoNode items = memberPath(schema, {"items"}))
        schema = resolved(items, root);
    std::vector<std::string> names;
    if (AutoNode properties = memberPath(schema, {"properties"}))
        for (const auto& [name, value] : *properties->members())
            names.push_back(name);
    return names;
}

MemberTable schemaMembers()
{
    AutoNode root = readSchema();
    AutoNode description = memberPath(root, {"$defs", "piplDescription", "properties"});
    MemberTable table;
    if (!description || !description->members())
        return table;
    for (const auto& [name, value] : *description->members())
        table[name] = subMemberNames(AutoNode(description->member(name)), root);
    return table;
}

MemberTable compilerMembers()
{
    MemberTable table;
    for (const kel::rez::PiplMemberNames& member : kel::rez::knownPiplMembers()) {
        std::vector<std::string>& subMembers = table[std::string(member.name)];
        for (std::string_view subMember : member.subMembers)
            subMembers.emplace_back(subMember);
        std::sort(subMembers.begin(), subMembers.end());
    }
    return table;
}

std::string listed(const MemberTable& table)
{
    std::string text;
    for (const auto& [name, subMembers] : table) {
        text += name;
        for (const std::string& subMember : subMembers)
            text += (&subMember == &subMembers.front() ? " {" : ", ") + subMember;
        text += subMembers.empty() ? "\n" : "}\n";
    }
    return text;
}

}  // namespace

TEST(PiplSchemaMembers, SchemaAllowsExactlyTheCompilersMembersAndSubMembers)
{
    const MemberTable schema = schemaMembers();
    ASSERT_FALSE(schema.empty()) << "no PiPL description members read from " VANTREL_SCHEMA_FILE;
    // Compared as one listing, so that a failure shows every member that differs at once.
    EXPECT_EQ(listed(compilerMembers()), listed(schema));
}

TEST(PiplSchemaMembers, SchemaRefusesMembersItDoesNotList)
{
    // Without this the comparison above would pass for a schema that allows any member.
    AutoNode root = readSchema();
    AutoNode additional =
        memberPath(root, {"$defs", "piplDescription", "additionalProperties"});
    ASSERT_TRUE(additional);
    ASSERT_EQ(Node::TypeBool, additional->nodeType());
    EXPECT_FALSE(additional->boolValue());
}
