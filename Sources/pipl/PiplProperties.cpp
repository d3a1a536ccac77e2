// The properties that the members of a checked description yield, on both platforms.
#include "output/HexEncoding.h"
#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

const std::string __photoshopVendor = "8BIM";
const std::string __illustratorVendor = "ADBE";

struct FlagBit {
    const char* key;
    std::uint32_t bit;
};

// Bit order differs from the order of the checks: "LAB" takes the bit after "Duotone".
const FlagBit __modeBits[] = {
    {"Bitmap", 0x8000}, {"Grayscale", 0x4000}, {"Indexed", 0x2000}, {"RGB", 0x1000},
    {"CMYK", 0x0800},   {"HSL", 0x0400},       {"HSB", 0x0200},     {"Multichannel", 0x0100},
    {"Duotone", 0x0080}, {"LAB", 0x0040},
};

const FlagBit __formatFlagBits[] = {
    {"SavesImageResources", 0x40000000}, {"CanRead", 0x20000000},       {"CanWrite", 0x10000000},
    {"CanWriteAlpha", 0x04000000},       {"CanMakeThumb", 0x02000000},
};
// Set when the plug-in does not write all layers.
const std::uint32_t __writesAllClearedBit = 0x08000000;

std::string __stringOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member ? member->stringValue() : std::string();
}

std::int64_t __numberOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member ? member->intValue() : 0;
}

bool __boolOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member && member->boolValue();
}

template <std::size_t count>
std::uint32_t __maskOf(const Node& object, const FlagBit (&bits)[count])
{
    std::uint32_t mask = 0;
    for (const FlagBit& flag : bits)
        if (__boolOf(object, flag.key))
            mask |= flag.bit;
    return mask;
}

void __appendName(const Node& value, PiplFamily family, PiplLists& lists)
{
    PaddedString name = __lengthPrefixedString(value.stringValue());
    if (family == PiplFamily::illustrator)
        __appendRecordToBoth(lists, __illustratorVendor, "pinm", name.length, [&](ByteOrder) { return name.hex; });
    else
        __appendRecordToBoth(lists, __photoshopVendor, "name", name.length, [&](ByteOrder) { return name.hex; });
}

void __appendVersion(const Node& value, const std::string& pluginName, PiplLists& lists)
{
    // The parts are combined as given, neither masked nor range-checked.
    std::uint32_t word = (static_cast<std::uint32_t>(__numberOf(value, "Major")) << 16) |
                         (static_cast<std::uint32_t>(__numberOf(value, "Minor")) << 8) |
                         static_cast<std::uint32_t>(__numberOf(value, "Revision"));
    PaddedString name = __zeroTerminatedString(pluginName);
    __appendRecordToBoth(lists, __photoshopVendor, "cmpt", 4 + name.length,
                         [&](ByteOrder order) { return __hex32(word, order) + name.hex; });
}

void __appendCategory(const Node& value, PiplLists& lists)
{
    PaddedString category = __lengthPrefixedString(value.stringValue());
    __appendRecordToBoth(lists, __photoshopVendor, "catg", category.length,
                         [&](ByteOrder) { return category.hex; });
}

void __appendTerminology(const Node& value, PiplLists& lists)
{
    std::string eventClass = __stringOf(value, "Class");
    std::string eventId = __stringOf(value, "Event");
    auto aete = static_cast<std::uint16_t>(__numberOf(value, "aete"));
    PaddedString name = __zeroTerminatedString(__stringOf(value, "Name"));
    __appendRecordToBoth(lists, __photoshopVendor, "hstm", 16 + name.length, [&](ByteOrder order) {
        return "00000000" + __codeHex(eventClass, order) + __codeHex(eventId, order) + __hex16(aete, order) +
               name.hex + "0000";
    });
}

void __appendSupportedModes(const Node& value, PiplLists& lists)
{
    // The mask's high byte comes first on both platforms; only the declared length differs.
    std::string data = __int16ToHex(static_cast<short>(__maskOf(value, __modeBits))) + "0000";
    __appendRecord(lists.mac, ByteOrder::bigEndian, __photoshopVendor, "mode", 2, data);
    __appendRecord(lists.win, ByteOrder::littleEndian, __photoshopVendor, "mode", 4, data);
}

void __appendNoAboutBox(const Node& value, PiplLists& lists)
{
    if (value.boolValue())
        return;
    __appendRecordToBoth(lists, __photoshopVendor, "nabo", 4, [](ByteOrder order) { return __hex32(1, order); });
}

void __appendExportAlpha(const Node& value, PiplLists& lists)
{
    std::uint32_t word = value.boolValue() ? 0x80000000u : 0;
    __appendRecordToBoth(lists, __photoshopVendor, "expf", 4, [&](ByteOrder order) { return __hex32(word, order); });
}

void __appendFilterLayers(const Node& value, PiplLists& lists)
{
    std::string data = value.boolValue() ? "80000000" : "00000000";
    __appendRecord(lists.mac, ByteOrder::bigEndian, __photoshopVendor, "flly", 1, data);
    __appendRecord(lists.win, ByteOrder::littleEndian, __photoshopVendor, "flly", 4, data);
}

std::string __typeAndCreator(const Node& object, ByteOrder order)
{
    return __codeHex(__stringOf(object, "Type"), order) + __codeHex(__stringOf(object, "Creator"), order);
}

void __appendFileType(const Node& value, PiplLists& lists)
{
    __appendRecordToBoth(lists, __photoshopVendor, "fmTC", 8,
                         [&](ByteOrder order) { return __typeAndCreator(value, order); });
}

void __appendTypeList(const Node& value, const char* key, PiplLists& lists)
{
    unsigned int count = value.elementsCount();
    __appendRecordToBoth(lists, __photoshopVendor, key, 8 * count, [&](ByteOrder order) {
        std::string data;
        for (unsigned int index = 0; index < count; ++index) {
            AutoNode element(value.element(index));
            data += __typeAndCreator(*element.get(), order);
        }
        return data;
    });
}

void __appendExtList(const Node& value, const char* key, PiplLists& lists)
{
    unsigned int count = value.elementsCount();
    __appendRecordToBoth(lists, __photoshopVendor, key, 4 * count, [&](ByteOrder order) {
        std::string data;
        for (unsigned int index = 0; index < count; ++index) {
            AutoNode element(value.element(index));
            data += __codeHex(element->stringValue(), order);
        }
        return data;
    });
}

void __appendFormatFlags(const Node& value, PiplLists& lists)
{
    std::uint32_t word = __maskOf(value, __formatFlagBits);
    if (!__boolOf(value, "WritesAll"))
        word |= __writesAllClearedBit;
    __appendRecordToBoth(lists, __photoshopVendor, "fmtF", 4, [&](ByteOrder order) { return __hex32(word, order); });
}

}  // namespace

void __appendMemberProperty(const std::string& name, const Node& value, const std::string& pluginName,
                            PiplFamily family, PiplLists& lists)
{
    if (name == "Name")
        return __appendName(value, family, lists);
    if (family != PiplFamily::photoshop)
        return;

    if (name == "AboutBox")
        __appendNoAboutBox(value, lists);
    else if (name == "Category")
        __appendCategory(value, lists);
    else if (name == "ExportAlpha")
        __appendExportAlpha(value, lists);
    else if (name == "FilterLayers")
        __appendFilterLayers(value, lists);
    else if (name == "FormatFileType")
        __appendFileType(value, lists);
    else if (name == "FormatFilteredExt")
        __appendExtList(value, "fftE", lists);
    else if (name == "FormatFilteredTypes")
        __appendTypeList(value, "fftT", lists);
    else if (name == "FormatFlags")
        __appendFormatFlags(value, lists);
    else if (name == "FormatReadExt")
        __appendExtList(value, "RdEx", lists);
    else if (name == "FormatReadTypes")
        __appendTypeList(value, "RdTy", lists);
    else if (name == "FormatWriteExt")
        __appendExtList(value, "WrEx", lists);
    else if (name == "FormatWriteTypes")
        __appendTypeList(value, "WrTy", lists);
    else if (name == "SupportedModes")
        __appendSupportedModes(value, lists);
    else if (name == "Terminology")
        __appendTerminology(value, lists);
    else if (name == "Version")
        __appendVersion(value, pluginName, lists);
}

}  // namespace kel::rez
