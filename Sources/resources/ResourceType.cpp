#include "resources/ResourceType.h"

#include <vector>

#include "resources/Resource.h"

namespace kel::rez {

namespace {

struct __TypeRow {
    const std::string& type;
    ResourceTypeTraits traits;
};

/// Made on first use, after the type names it views.
const std::vector<__TypeRow>& __typeRows()
{
    // The Mac side knows SVG files as "SVG_"; the Windows side lists them under both types.
    static const std::vector<__TypeRow> rows = {
        {resourceTypePNGI, {resourceTypePNGI, "", "png", true, false}},
        {resourceTypePiPL, {resourceTypePiPL, "", resourceTypePiPL, false, true}},
        {resourceTypeSVG, {resourceTypeMacSVG, resourceTypeMacSVG, "svg", false, false}},
    };
    return rows;
}

}  // namespace

ResourceTypeTraits resourceTypeTraits(const std::string& type)
{
    for (const __TypeRow& row : __typeRows())
        if (type == row.type)
            return row.traits;
    return {type, "", type, false, false};
}

}  // namespace kel::rez
