#include "pipl/PiplPropertyList.h"

#include "common/HexEncoding.h"

namespace kel::rez {

namespace {

const PiplKind __piplKinds[] = {
    {"Illustrator", PiplFamily::illustrator, "PluginMain", "SPEA", 0, false},
    {"Photoshop_Acquire", PiplFamily::photoshop, "AcquirePluginMain", "8BAM", 0x00040000, false},
    {"Photoshop_Actions", PiplFamily::photoshop, "ActionsPluginMain", "8LIZ", 0x00010000, true},
    {"Photoshop_Export", PiplFamily::photoshop, "ExportPluginMain", "8BEM", 0x00040000, false},
    {"Photoshop_Extension", PiplFamily::photoshop, "ExtensionPluginMain", "8BXM", 0x00020000,
     false},
    {"Photoshop_Filter", PiplFamily::photoshop, "FilterPluginMain", "8BFM", 0x00040000, false},
    {"Photoshop_Format", PiplFamily::photoshop, "FormatPluginMain", "8BIF", 0x00010000, false},
    {"Photoshop_Measurement", PiplFamily::photoshop, "MeasurementPluginMain", "8MEA", 0x00010000,
     false},
    {"Photoshop_Picker", PiplFamily::photoshop, "PickerPluginMain", "8BCM", 0x00010000, false},
    {"Photoshop_Selection", PiplFamily::photoshop, "SelectionPluginMain", "8BSM", 0x00010000,
     false},
};

enum class __Lists { both, macOnly, windowsOnly };

/// A property that every plug-in of a family carries, in list order.
struct __FixedProperty {
    PiplFamily family;
    const char* vendor;
    const char* key;
    __Lists lists;
    bool actionsOnly;
    const char* member;  // the member that sets the data, or that chooses the property
    PiplData (*data)(const PiplKind& kind, PiplPlatform platform, const std::string& entryPoint);
};

PiplData __word(std::uint32_t value, PiplPlatform platform)
{
    return {__hex32(value, platform), 4};
}

PiplData __windowsEntryPoint(const PiplKind&, PiplPlatform, const std::string& entryPoint)
{
    return __zeroTerminatedString(entryPoint);
}

const __FixedProperty __fixedProperties[] = {
    {PiplFamily::illustrator, __illustratorVendor, "kind", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return PiplData{__codeHex(kind.kindCode, platform), 4};
     }},
    {PiplFamily::illustrator, __illustratorVendor, "ivrs", __Lists::both, false, "PluginType",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return __word(2, platform);
     }},
    {PiplFamily::illustrator, __illustratorVendor, "ppcb", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) {
         return PiplData{"000000000000000000000000", 9};
     }},
    {PiplFamily::illustrator, __illustratorVendor, "mach", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) {
         return PiplData{"00000000", 1};
     }},
    {PiplFamily::illustrator, __illustratorVendor, "mi32", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) {
         return PiplData{"00000000", 1};
     }},
    {PiplFamily::illustrator, __illustratorVendor, "wx86", __Lists::windowsOnly, false,
     "PluginType",
     [](const PiplKind& kind, PiplPlatform, const std::string&) {
         return __zeroTerminatedString(kind.entryPoint);
     }},

    {PiplFamily::photoshop, __photoshopVendor, "kind", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return PiplData{__codeHex(kind.kindCode, platform), 4};
     }},
    {PiplFamily::photoshop, __photoshopVendor, "vers", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return __word(kind.version, platform);
     }},
    {PiplFamily::photoshop, __photoshopVendor, "mi64", __Lists::macOnly, false, "EntryPoint",
     [](const PiplKind&, PiplPlatform, const std::string& entryPoint) {
         return __macEntryPoint(entryPoint);
     }},
    {PiplFamily::photoshop, __photoshopVendor, "wx86", __Lists::windowsOnly, false, "EntryPoint",
     __windowsEntryPoint},
    {PiplFamily::photoshop, __photoshopVendor, "8664", __Lists::windowsOnly, false, "EntryPoint",
     __windowsEntryPoint},
    {PiplFamily::photoshop, __photoshopVendor, "prst", __Lists::both, false, "PluginType",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return __word(1, platform);
     }},
    {PiplFamily::photoshop, __illustratorVendor, "AcpM", __Lists::both, true, "PluginType",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return __word(1, platform);
     }},
    {PiplFamily::photoshop, __photoshopVendor, "enbl", __Lists::both, false, "EnableInfo",
     [](const PiplKind&, PiplPlatform, const std::string&) {
         return __zeroTerminatedString("true");
     }},
    {PiplFamily::photoshop, __photoshopVendor, "ms32", __Lists::both, false, "PlugInMaxSize",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return PiplData{__hex32(0x7FFFFFFF, platform) + __hex32(0x7FFFFFFF, platform), 8};
     }},
    // The host's default filter case information: the same bytes on both platforms.
    {PiplFamily::photoshop, __photoshopVendor, "fici", __Lists::both, false, "FilterCaseInfo",
     [](const PiplKind&, PiplPlatform, const std::string&) {
         return PiplData{"04040600"
                         "04040E00"
                         "04040E00"
                         "04040600"
                         "04040E00"
                         "04040600"
                         "04040E00",
                         28};
     }},
};

bool __isOnList(const __FixedProperty& property, const PiplKind& kind, PiplPlatform platform)
{
    if (property.family != kind.family || (property.actionsOnly && !kind.hasActionsProperty))
        return false;
    if (property.lists == __Lists::macOnly)
        return platform == PiplPlatform::mac;
    if (property.lists == __Lists::windowsOnly)
        return platform == PiplPlatform::windows;
    return true;
}

std::string __zeroBytes(std::size_t count)
{
    return std::string(count * 2, '0');
}

}  // namespace

const PiplKind* __findPiplKind(const std::string& pluginType)
{
    for (const PiplKind& kind : __piplKinds)
        if (pluginType == kind.pluginType)
            return &kind;
    return nullptr;
}

const PiplKind* __findPiplKindByCode(const std::string& vendor, const std::string& kindCode)
{
    for (const PiplKind& kind : __piplKinds) {
        const char* kindVendor =
            kind.family == PiplFamily::illustrator ? __illustratorVendor : __photoshopVendor;
        if (vendor == kindVendor && kindCode == kind.kindCode)
            return &kind;
    }
    return nullptr;
}

std::string __hex16(std::uint16_t value, PiplPlatform platform)
{
    if (platform == PiplPlatform::windows)
        value = static_cast<std::uint16_t>((value >> 8) | (value << 8));
    return __int16ToHex(static_cast<short>(value));
}

std::string __hex32(std::uint32_t value, PiplPlatform platform)
{
    if (platform == PiplPlatform::windows)
        value =
            (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
    return __int32ToHex(static_cast<int>(value));
}

std::string __codeHex(const std::string& text, PiplPlatform platform)
{
    return __hex32(__strToFourChar(text), platform);
}

PiplData __lengthPrefixedString(const std::string& text)
{
    // The length byte keeps only the low eight bits; callers refuse longer texts.
    std::size_t padding = 4 - (text.size() + 1) % 4;
    std::string hex = __int8ToHex(static_cast<signed char>(text.size() & 0xFFu)) + __strToHex(text)
                      + __zeroBytes(padding);
    return {hex, static_cast<std::uint32_t>(1 + text.size() + padding)};
}

PiplData __zeroTerminatedString(const std::string& text)
{
    std::size_t padding = 4 - text.size() % 4;
    return {__strToHex(text) + __zeroBytes(padding),
            static_cast<std::uint32_t>(text.size() + padding)};
}

PiplData __macEntryPoint(const std::string& entryPoint)
{
    return __lengthPrefixedString(entryPoint);
}

PiplList::PiplList(const PiplKind& kind, PiplPlatform platform, const std::string& entryPoint)
    : __platform(platform)
{
    for (const __FixedProperty& property : __fixedProperties)
        if (__isOnList(property, kind, platform))
            __records.push_back({property.vendor, property.key,
                                 property.data(kind, platform, entryPoint), property.member});
}

void PiplList::append(PiplRecord record)
{
    __records.push_back(std::move(record));
}

void PiplList::replaceData(const std::string& key, PiplData data)
{
    for (PiplRecord& record : __records) {
        if (record.key == key) {
            record.data = std::move(data);
            return;
        }
    }
}

const char* PiplList::fixedPropertyMember(const std::string& vendor, const std::string& key) const
{
    for (const PiplRecord& record : __records)
        if (record.member && record.vendor == vendor && record.key == key)
            return record.member;
    return nullptr;
}

std::string PiplList::hex() const
{
    auto count = static_cast<std::uint32_t>(__records.size());
    std::string text = __platform == PiplPlatform::mac ? "" : __hex16(1, __platform);
    text += "00000000" + __hex32(count, __platform);
    for (const PiplRecord& record : __records) {
        text += __codeHex(record.vendor, __platform);
        text += __codeHex(record.key, __platform);
        text += "00000000";
        text += __hex32(record.data.declaredLength, __platform);
        text += record.data.hex;
    }
    return text;
}

}  // namespace kel::rez
