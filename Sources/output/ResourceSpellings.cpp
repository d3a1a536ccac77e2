#include "output/ResourceSpellings.h"

#include "output/OutputText.h"

namespace kel::rez {

void ResourceSpellings::spell(const Resource& resource, const ResourceTypeTraits& typeTraits)
{
    traits = &typeTraits;
    id.clear();
    appendId(resource.id, id);
    quotedFile.clear();
    appendQuotedString(resource.file, quotedFile);
}

}  // namespace kel::rez
