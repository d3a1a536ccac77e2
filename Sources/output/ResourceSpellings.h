// How the outputs spell a resource's ID and file: the same in the .r, the .rc, the header
// and IDtoFile.txt, so they are made once per resource rather than once per line.
#ifndef VANTREL_RESOURCE_SPELLINGS_H
#define VANTREL_RESOURCE_SPELLINGS_H

#include <string>

#include "resources/Resource.h"
#include "resources/ResourceType.h"

namespace kel::rez {

struct ResourceSpellings {
    /// Those of the resource's type, looked up once for all of the type's resources.
    const ResourceTypeTraits* traits = nullptr;
    /// The ID in decimal.
    std::string id;
    /// The file as a C and Rez string literal, quotes included.
    std::string quotedFile;

    /// Spells resource, whose type has traits (which must outlive the spellings), reusing the
    /// room of the last resource spelled.
    void spell(const Resource& resource, const ResourceTypeTraits& traits);
};

}  // namespace kel::rez

#endif
