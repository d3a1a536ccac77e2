// The PiPL compiler: a JSON description of a plug-in to Mac and Windows property lists,
// the default terminology resource of Photoshop plug-ins, and the Illustrator byte image.
#ifndef VANTREL_PIPL_H
#define VANTREL_PIPL_H

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Diagnostics.h"
#include "pipl/PiplPropertyList.h"
#include "resources/Resource.h"

namespace kel::rez {

/// The IDs of the "aete" resources a resource list holds itself. A description whose
/// terminology names one of them gets no generated terminology: its 'hstm' points at that one.
using TerminologyIds = std::set<std::int16_t>;

/// The IDs of the list's own "aete" resources, once every resource has its ID.
TerminologyIds listedTerminologyResourceIds(const ResourcesByType& resourcesByType);

/// What a PiPL description compiles to, as values for the output pass to write.
struct CompiledPipl {
    HexBytes macList;  // the "PiPL" resource, in the Mac list's byte order
    HexBytes winList;  // the same list in the Windows byte order
    /// Photoshop family: the ID and data of the "aete" resource that follows; 0 otherwise.
    int terminologyId = 0;
    HexBytes macTerminology;
    HexBytes winTerminology;
    /// Illustrator family: the block this description adds to the PiPL byte image.
    std::vector<unsigned char> byteImageBlock;
};

/// Checks res.dataObject and compiles it into compiled. May add a default "Terminology"
/// member to the description. False after reporting the first fault (status 90), placed at
/// the entry's "data" and the path of the member it is about.
bool compilePipl(const Resource& res, CompiledPipl& compiled, Diagnostics& diagnostics,
                 const TerminologyIds& listedTerminologyIds = TerminologyIds());

/// The ID of the "aete" resource generated after the property lists of the description: the
/// one its "Terminology" names, 1000 for the default one; 0 when none is generated.
int piplTerminologyResourceId(const kel::json::Node& description,
                              const TerminologyIds& listedTerminologyIds);

/// The member to give instead of a raw "Properties" record with vendor and key, when a
/// description of pluginType that holds the members named already writes a record with that
/// vendor and key; empty when it writes none.
std::string_view piplMemberWritingRecord(const std::string& pluginType,
                                         const std::vector<std::string>& memberNames,
                                         const std::string& vendor, const std::string& key);

/// A compiled PiPL list read back into a description.
struct PiplDescription {
    kel::utils::AutoNode description;  // null when no description compiles to the list
    /// What the description generates beside the list, as compilePipl gives it for a
    /// resource list without "aete" entries: the terminology resource's ID (0 for none) and
    /// its data on the list's platform.
    int terminologyId = 0;
    std::vector<unsigned char> terminology;
};

/// The description that compiles to exactly bytes on platform: fixed properties the kind
/// gives are left out, records no member writes in their place become raw "Properties". A
/// list the description language cannot say byte for byte (or a malformed one) gives none.
PiplDescription describePipl(const std::vector<unsigned char>& bytes, PiplPlatform platform);

/// A member a PiPL description may hold and, when its value is an object or an array of
/// objects, the names those objects may hold (empty otherwise); which of its strings are
/// written after a length byte, which holds at most 255; and which numbers share a field.
struct PiplMemberNames {
    std::string_view name;
    std::vector<std::string_view> subMembers;
    bool lengthPrefixed = false;  // its own string value
    std::vector<std::string_view> lengthPrefixedSubMembers;
    /// Number sub-members that share one field of the record, each with the highest it holds
    /// before it runs into the others.
    std::vector<std::pair<std::string_view, std::int64_t>> packedSubMembers;
};

/// Every member a description may hold ("PluginType", "Name", "Version" included), in name order.
const std::vector<PiplMemberNames>& knownPiplMembers();

}  // namespace kel::rez

#endif
