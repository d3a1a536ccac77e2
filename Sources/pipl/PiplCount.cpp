// The number of property records, known before any record is written.
#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

using kel::json::Node;

// Fixed records per family: Illustrator 'kind', 'ivrs', 'ppcb', 'mach', 'mi32' on the Mac and
// 'kind', 'ivrs', 'wx86' on Windows; Photoshop 'kind', 'vers', 'mi64' (Mac) or 'wx86' and
// '8664' (Windows), 'prst', 'enbl', 'ms32', 'fici', and 'AcpM' for actions plug-ins.
PiplCounts __fixedCounts(const PiplKind& kind)
{
    if (kind.family == PiplFamily::illustrator)
        return {5, 3};
    std::uint32_t actions = kind.hasActionsProperty ? 1 : 0;
    return {7 + actions, 8 + actions};
}

const char* const __photoshopPropertyMembers[] = {
    "Category",       "ExportAlpha",     "FilterLayers",      "FormatFileType", "FormatFilteredExt",
    "FormatFilteredTypes", "FormatFlags", "FormatReadExt",    "FormatReadTypes", "FormatWriteExt",
    "FormatWriteTypes", "Name",          "SupportedModes",    "Terminology",    "Version",
};

bool __yieldsProperty(const std::string& name, const Node& value, PiplFamily family)
{
    if (family == PiplFamily::illustrator)
        return name == "Name";
    if (name == "AboutBox")
        return value.nodeType() == Node::TypeBool && !value.boolValue();
    for (const char* member : __photoshopPropertyMembers)
        if (name == member)
            return true;
    return false;
}

}  // namespace

PiplCounts __countProperties(const Node& description, const PiplKind& kind)
{
    PiplCounts counts = __fixedCounts(kind);
    const std::map<std::string, Node*>* members = description.members();
    if (!members)
        return counts;
    for (const auto& [name, value] : *members) {
        if (value && __yieldsProperty(name, *value, kind.family)) {
            ++counts.mac;
            ++counts.win;
        }
    }
    return counts;
}

}  // namespace kel::rez
