// What the outputs do with the resources of each type: one row per type that means more than
// its name. Every other type is written under its own name and numbered in input order.
#ifndef VANTREL_RESOURCE_TYPE_H
#define VANTREL_RESOURCE_TYPE_H

#include <string>
#include <string_view>

namespace kel::rez {

struct ResourceTypeTraits {
    /// The type of a file resource on the Mac side ("read" statement, compiled Mac file).
    std::string_view macFileType;
    /// A second type the Windows side lists file resources under; empty for none.
    std::string_view extraWinFileType;
    /// After the key of each IDtoFile.txt line.
    std::string_view idToFileExtension;
    /// Unnumbered resources take their IDs in name order, each "@2x" (and so on) variant
    /// right after its base image.
    bool numbersVariantsAfterBase = false;
    /// "data" may be a JSON object: a PiPL description to compile.
    bool takesObjectData = false;
};

/// The row of type. A type without a row of its own gets views of type itself, so the
/// result is valid while type is.
ResourceTypeTraits resourceTypeTraits(const std::string& type);

}  // namespace kel::rez

#endif
