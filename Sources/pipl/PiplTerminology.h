// The "aete" resource that goes with a Photoshop PiPL: the terminology its 'hstm' property
// names, one suite and one event, both named after the terminology.
#ifndef VANTREL_PIPL_TERMINOLOGY_H
#define VANTREL_PIPL_TERMINOLOGY_H

#include <cstdint>
#include <string>

#include "pipl/PiplPropertyList.h"

namespace kel::rez {

/// Class and event code of the default terminology, and its "aete" resource ID.
inline constexpr const char* __defaultTerminologyCode = "DfTm";
inline constexpr std::int16_t __defaultTerminologyId = 1000;

/// What a generated terminology takes from the description's "Terminology" member.
struct PiplTerminology {
    std::string name;       // of the suite and of its one event
    std::string classCode;  // the suite's code and the event's class
    std::string eventCode;
};

/// The resource data for the platform.
HexBytes __terminologyResource(const PiplTerminology& terminology, PiplPlatform platform);

}  // namespace kel::rez

#endif
