#include "pipl/PiplTerminology.h"

namespace kel::rez {

namespace {

// Length byte and bytes, without padding.
PiplDataBuilder& __shortName(PiplDataBuilder& data, const std::string& name)
{
    return data.number(static_cast<std::uint32_t>(name.size() & 0xFFu), 1).text(name);
}

// The suite, then its one event, both named after the terminology.
PiplDataBuilder& __suiteAndEvent(PiplDataBuilder& data, const PiplTerminology& terminology)
{
    __shortName(data, terminology.name).zeros(1).code(terminology.classCode);
    data.number(1, 2).number(1, 2).number(1, 2);
    __shortName(data, terminology.name).zeros(1);
    return data.code(terminology.classCode).code(terminology.eventCode).code("null");
}

HexBytes __macData(const PiplTerminology& terminology)
{
    PiplDataBuilder data(PiplPlatform::mac);
    __suiteAndEvent(data.number(1, 1).zeros(5).number(1, 2), terminology);
    // The .r has always shown the flags in upper case.
    data.zeros(4).code("#ImR").zeros(2).typedHex("B000").zeros(8);
    return data.bytes();
}

HexBytes __winData(const PiplTerminology& terminology)
{
    PiplDataBuilder data(PiplPlatform::windows);
    __suiteAndEvent(data.number(1, 2).number(1, 2).zeros(4).number(1, 2), terminology);
    data.zeros(3).code("#ImR").zeros(1).number(0xB000, 2).zeros(6);
    data.number(1, 2).code("TCmd").number(1, 2).zeros(1).code("    ").zeros(1);
    return data.bytes();
}

}  // namespace

HexBytes __terminologyResource(const PiplTerminology& terminology, PiplPlatform platform)
{
    return platform == PiplPlatform::mac ? __macData(terminology) : __winData(terminology);
}

}  // namespace kel::rez
