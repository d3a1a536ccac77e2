// The PiPL compiler: a JSON description of a plug-in to Mac and Windows property lists,
// the default terminology resource of Photoshop plug-ins, and the Illustrator byte image.
#ifndef VANTREL_PIPL_H
#define VANTREL_PIPL_H

#include <string>
#include <string_view>
#include <vector>

#include "resources/Resource.h"

namespace kel::rez {

/// What a PiPL description compiles to, as values for the output pass to write.
struct CompiledPipl {
    std::string macListHex;  // the "PiPL" resource, in the Mac list's byte order
    std::string winListHex;  // the same list in the Windows byte order
    /// Photoshop family: the ID and data of the "aete" resource that follows; 0 otherwise.
    int terminologyId = 0;
    std::string macTerminologyHex;
    std::string winTerminologyHex;
    /// Illustrator family: the block this description adds to the PiPL byte image.
    std::vector<unsigned char> byteImageBlock;
};

/// Checks res.dataObject and compiles it into compiled. May add a default "Terminology"
/// member to the description. False after printing the first fault.
bool compilePipl(const Resource& res, CompiledPipl& compiled);

/// The ID of the "aete" resource that follows the property lists of the description, which
/// every supported Photoshop-family "PluginType" yields; 0 when it yields none.
int piplTerminologyResourceId(const kel::json::Node& description);

/// A member a PiPL description may hold and, when its value is an object or an array of
/// objects, the names those objects may hold (empty otherwise).
struct PiplMemberNames {
    std::string_view name;
    std::vector<std::string_view> subMembers;
};

/// Every member a description may hold ("PluginType", "Name", "Version" included), in name order.
const std::vector<PiplMemberNames>& knownPiplMembers();

}  // namespace kel::rez

#endif
