// The "aete" resource that goes with every Photoshop PiPL: it always describes the default
// terminology, one suite and one event named after the plug-in.
#ifndef VANTREL_PIPL_TERMINOLOGY_H
#define VANTREL_PIPL_TERMINOLOGY_H

#include <cstdint>
#include <string>

#include "pipl/PiplPropertyList.h"

namespace kel::rez {

/// Class and event code of the default terminology, and its "aete" resource ID.
inline constexpr const char* __defaultTerminologyCode = "DfTm";
inline constexpr std::int16_t __defaultTerminologyId = 1000;

/// The resource data for the platform as hex text.
std::string __terminologyResourceHex(const std::string& pluginName, PiplPlatform platform);

}  // namespace kel::rez

#endif
