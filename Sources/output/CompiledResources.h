// The resources of the compiled files (--rsrc, --res): exactly those the .r and the .rc
// texts describe, with the bytes the resource compilers would put into them.
#ifndef VANTREL_COMPILED_RESOURCES_H
#define VANTREL_COMPILED_RESOURCES_H

#include "common/Diagnostics.h"
#include <string>

#include "output/CompiledResource.h"
#include "pipl/Pipl.h"
#include "resources/Resource.h"
#include "resources/ResourceType.h"

namespace kel::rez {

/// Which compiled files the run writes, and what they hold so far.
struct CompiledOutputs {
    bool mac = false;
    bool windows = false;
    CompiledResources macResources;
    CompiledResources winResources;
};

/// Adds a file or hex-data resource: the named file read from disk, relative to the current
/// folder, or the hex data decoded; traits are those of its type. Returns 0, or 93 (unreadable
/// file) / 89 (bad hex data) after the message was reported.
int addCompiledResource(const Resource& resource, const ResourceTypeTraits& traits,
                        CompiledOutputs& outputs, Diagnostics& diagnostics);

/// Adds the resources a PiPL description compiled to: its property lists and, when it has
/// one, its terminology resource.
void addCompiledPiplResources(const Resource& resource, const CompiledPipl& compiled,
                              CompiledOutputs& outputs);

}  // namespace kel::rez

#endif
