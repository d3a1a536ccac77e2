#include "pipl/PiplTerminology.h"

#include "common/HexEncoding.h"

namespace kel::rez {

namespace {

// Length byte and bytes, without padding.
std::string __shortName(const std::string& name)
{
    return __int8ToHex(static_cast<signed char>(name.size() & 0xFFu)) + __strToHex(name);
}

std::string __macData(const PiplTerminology& terminology)
{
    const PiplPlatform mac = PiplPlatform::mac;
    const std::string name = __shortName(terminology.name);
    const std::string classCode = __codeHex(terminology.classCode, mac);
    return "01000000"
           "00000001"
           + name + "00" + classCode + __hex16(1, mac) + __hex16(1, mac) + "0001" + name + "00"
           + classCode + __codeHex(terminology.eventCode, mac) + __strToHex("null") + "00000000"
           + __strToHex("#ImR") + "0000B000" + "00000000" + "00000000";
}

std::string __winData(const PiplTerminology& terminology)
{
    const PiplPlatform win = PiplPlatform::windows;
    const std::string name = __shortName(terminology.name);
    const std::string classCode = __codeHex(terminology.classCode, win);
    return "0100"
           "0100"
           "0000"
           "0000"
           "0100"
           + name + "00" + classCode + __hex16(1, win) + __hex16(1, win) + "0100" + name + "00"
           + classCode + __codeHex(terminology.eventCode, win) + __codeHex("null", win) + "00"
           + "0000" + __codeHex("#ImR", win) + "00" + "00B0" + "0000" + "0000" + "0000"
           + __hex16(1, win) + __codeHex("TCmd", win) + __hex16(1, win) + "00"
           + __codeHex("    ", win) + "00";
}

}  // namespace

std::string __terminologyResourceHex(const PiplTerminology& terminology, PiplPlatform platform)
{
    return platform == PiplPlatform::mac ? __macData(terminology) : __winData(terminology);
}

}  // namespace kel::rez
