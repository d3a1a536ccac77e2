// The list headers and the properties every plug-in of a kind carries, whatever its members.
#include "output/HexEncoding.h"
#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

const std::string __photoshopVendor = "8BIM";
const std::string __illustratorVendor = "ADBE";

// Host-defined filter case information: seven fixed words, the same on both platforms.
const std::string __filterCaseInfo = "04040600" "04040E00" "04040E00" "04040600" "04040E00" "04040600" "04040E00";

void __appendIllustratorProperties(const PiplKind& kind, PiplLists& lists)
{
    __appendRecordToBoth(lists, __illustratorVendor, "kind", 4,
                         [&](ByteOrder order) { return __codeHex(kind.kindCode, order); });
    __appendRecordToBoth(lists, __illustratorVendor, "ivrs", 4,
                         [](ByteOrder order) { return __hex32(2, order); });

    __appendRecord(lists.mac, ByteOrder::bigEndian, __illustratorVendor, "ppcb", 9, "000000000000000000000000");
    __appendRecord(lists.mac, ByteOrder::bigEndian, __illustratorVendor, "mach", 1, "00000000");
    __appendRecord(lists.mac, ByteOrder::bigEndian, __illustratorVendor, "mi32", 1, "00000000");

    PaddedString entryPoint = __zeroTerminatedString(kind.entryPoint);
    __appendRecord(lists.win, ByteOrder::littleEndian, __illustratorVendor, "wx86", entryPoint.length,
                   entryPoint.hex);
}

void __appendPhotoshopProperties(const PiplKind& kind, PiplLists& lists)
{
    __appendRecordToBoth(lists, __photoshopVendor, "kind", 4,
                         [&](ByteOrder order) { return __codeHex(kind.kindCode, order); });
    __appendRecordToBoth(lists, __photoshopVendor, "vers", 4,
                         [&](ByteOrder order) { return __hex32(kind.version, order); });

    PaddedString macEntryPoint = __lengthPrefixedString(kind.entryPoint);
    __appendRecord(lists.mac, ByteOrder::bigEndian, __photoshopVendor, "mi64", macEntryPoint.length,
                   macEntryPoint.hex);
    PaddedString winEntryPoint = __zeroTerminatedString(kind.entryPoint);
    __appendRecord(lists.win, ByteOrder::littleEndian, __photoshopVendor, "wx86", winEntryPoint.length,
                   winEntryPoint.hex);
    __appendRecord(lists.win, ByteOrder::littleEndian, __photoshopVendor, "8664", winEntryPoint.length,
                   winEntryPoint.hex);

    __appendRecordToBoth(lists, __photoshopVendor, "prst", 4,
                         [](ByteOrder order) { return __hex32(1, order); });
    if (kind.hasActionsProperty)
        __appendRecordToBoth(lists, __illustratorVendor, "AcpM", 4,
                             [](ByteOrder order) { return __hex32(1, order); });
    __appendRecordToBoth(lists, __photoshopVendor, "enbl", 8,
                         [](ByteOrder) { return __strToHex("true") + "00000000"; });
    __appendRecordToBoth(lists, __photoshopVendor, "ms32", 8, [](ByteOrder order) {
        return __hex32(0x7FFFFFFF, order) + __hex32(0x7FFFFFFF, order);
    });
    __appendRecordToBoth(lists, __photoshopVendor, "fici", 28, [](ByteOrder) { return __filterCaseInfo; });
}

}  // namespace

void __appendListHeaders(const PiplCounts& counts, PiplLists& lists)
{
    lists.mac += "00000000" + __hex32(counts.mac, ByteOrder::bigEndian);
    lists.win += __hex16(1, ByteOrder::littleEndian) + "00000000" + __hex32(counts.win, ByteOrder::littleEndian);
}

void __appendFixedProperties(const PiplKind& kind, PiplLists& lists)
{
    if (kind.family == PiplFamily::illustrator)
        __appendIllustratorProperties(kind, lists);
    else
        __appendPhotoshopProperties(kind, lists);
}

}  // namespace kel::rez
