// One entry of the resource list, and the by-type table the run carries from loading to output.
#ifndef VANTREL_RESOURCE_H
#define VANTREL_RESOURCE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Diagnostics.h"
#include "keljsonNode.h"

namespace kel::rez {

inline const std::string resourceTypePNGI = "PNGI";
inline const std::string resourceTypePiPL = "PiPL";
inline const std::string resourceTypeSVG = "SVG";
/// The type the Mac side knows SVG resources by.
inline const std::string resourceTypeMacSVG = "SVG_";
inline const std::string resourceTypeAETE = "aete";

/// A plain record: nothing derives from it, and the table owns each one alone.
class Resource
{
public:
    std::string type;
    std::string file;  // empty when "file" is absent
    std::string data;  // hex text, when "data" is a string and no file
    kel::utils::AutoRC<kel::json::Node> dataObject;  // PiPL description, when "data" is an object
    std::int16_t id = 0;                             // 0 until assigned
    std::string name;
    std::string define;
    std::size_t entryIndex = 0;  // its position in the root array
};

/// Explicit IDs must lie in this range; generated IDs count up from its start.
inline constexpr int lowestResourceId = 10000;
inline constexpr int highestResourceId = 32767;

using ResourcePtr = std::unique_ptr<Resource>;

/// Types in byte order; each type's records in input order.
using ResourcesByType = std::map<std::string, std::vector<ResourcePtr>>;

/// True when name is suffix with at least one character before it: "x@2x" ends with "@2x",
/// "@2x" alone does not.
inline bool nameEndsWith(std::string_view name, std::string_view suffix)
{
    return name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

/// Where a message about the resource points: its entry and, when given, the path of the
/// member inside it, as the loader spells the names first ({"data", "Version", "Minor"}).
inline Place resourcePlace(const Resource& resource, std::vector<std::string> path = {})
{
    Place place;
    place.entry = resource.entryIndex;
    place.path = std::move(path);
    return place;
}

}  // namespace kel::rez

#endif
