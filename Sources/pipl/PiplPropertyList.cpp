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
    return PiplDataBuilder(platform).number(value, 4).recordData();
}

PiplData __zeros(std::size_t count)
{
    return PiplDataBuilder(PiplPlatform::mac).zeros(count).recordData();
}

PiplData __windowsEntryPoint(const PiplKind&, PiplPlatform, const std::string& entryPoint)
{
    return __zeroTerminatedString(entryPoint);
}

const __FixedProperty __fixedProperties[] = {
    {PiplFamily::illustrator, __illustratorVendor, "kind", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return PiplDataBuilder(platform).code(kind.kindCode).recordData();
     }},
    {PiplFamily::illustrator, __illustratorVendor, "ivrs", __Lists::both, false, "PluginType",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return __word(2, platform);
     }},
    {PiplFamily::illustrator, __illustratorVendor, "ppcb", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) { return __zeros(9); }},
    {PiplFamily::illustrator, __illustratorVendor, "mach", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) { return __zeros(1); }},
    {PiplFamily::illustrator, __illustratorVendor, "mi32", __Lists::macOnly, false, "PluginType",
     [](const PiplKind&, PiplPlatform, const std::string&) { return __zeros(1); }},
    {PiplFamily::illustrator, __illustratorVendor, "wx86", __Lists::windowsOnly, false,
     "PluginType",
     [](const PiplKind& kind, PiplPlatform, const std::string&) {
         return __zeroTerminatedString(kind.entryPoint);
     }},

    {PiplFamily::photoshop, __photoshopVendor, "kind", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return PiplDataBuilder(platform).code(kind.kindCode).recordData();
     }},
    {PiplFamily::photoshop, __photoshopVendor, "vers", __Lists::both, false, "PluginType",
     [](const PiplKind& kind, PiplPlatform platform, const std::string&) {
         return __word(kind.version, platform);
     }},
    {PiplFamily::photoshop, __photoshopVendor, "mi64", __Lists::macOnly, false, "EntryPoint",
     [](const PiplKind&, PiplPlatform, const std::string& entryPoint) {
         return __lengthPrefixedString(entryPoint);
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
         return PiplDataBuilder(platform).number(0x7FFFFFFF, 4).number(0x7FFFFFFF, 4).recordData();
     }},
    // The host's default filter case information: the same bytes on both platforms, whose
    // digits the .r has always written as here.
    {PiplFamily::photoshop, __photoshopVendor, "fici", __Lists::both, false, "FilterCaseInfo",
     [](const PiplKind&, PiplPlatform platform, const std::string&) {
         return PiplDataBuilder(platform)
             .typedHex("04040600"
                       "04040E00"
                       "04040E00"
                       "04040600"
                       "04040E00"
                       "04040600"
                       "04040E00")
             .recordData();
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

PiplDataBuilder& PiplDataBuilder::number(std::uint32_t value, unsigned width)
{
    if (__platform == PiplPlatform::mac)
        return highByteFirst(value, width);
    for (unsigned i = 0; i < width; ++i, value >>= 8)
        __data.bytes.push_back(static_cast<unsigned char>(value));
    return *this;
}

PiplDataBuilder& PiplDataBuilder::highByteFirst(std::uint32_t value, unsigned width)
{
    for (unsigned i = width; i > 0; --i)
        __data.bytes.push_back(static_cast<unsigned char>(value >> (8 * (i - 1))));
    return *this;
}

PiplDataBuilder& PiplDataBuilder::code(const std::string& text)
{
    return number(__strToFourChar(text), 4);
}

PiplDataBuilder& PiplDataBuilder::zeros(std::size_t count)
{
    __data.bytes.insert(__data.bytes.end(), count, 0);
    return *this;
}

PiplDataBuilder& PiplDataBuilder::text(const std::string& text)
{
    __data.bytes.insert(__data.bytes.end(), text.begin(), text.end());
    return *this;
}

PiplDataBuilder& PiplDataBuilder::lengthPrefixed(const std::string& text)
{
    // The length byte keeps only the low eight bits; callers refuse longer texts.
    number(static_cast<std::uint32_t>(text.size() & 0xFFu), 1);
    return this->text(text).zeros(4 - (text.size() + 1) % 4);
}

PiplDataBuilder& PiplDataBuilder::zeroTerminated(const std::string& text)
{
    return this->text(text).zeros(4 - text.size() % 4);
}

PiplDataBuilder& PiplDataBuilder::typedHex(std::string_view digits)
{
    appendTypedHex(digits, __data);
    return *this;
}

PiplDataBuilder& PiplDataBuilder::append(const HexBytes& data)
{
    appendHexBytes(data, __data);
    return *this;
}

PiplData PiplDataBuilder::recordData()
{
    PiplData data;
    data.declaredLength = static_cast<std::uint32_t>(__data.bytes.size());
    zeros((4 - __data.bytes.size() % 4) % 4);
    static_cast<HexBytes&>(data) = std::move(__data);
    return data;
}

PiplData __lengthPrefixedString(const std::string& text)
{
    return PiplDataBuilder(PiplPlatform::mac).lengthPrefixed(text).recordData();
}

PiplData __zeroTerminatedString(const std::string& text)
{
    return PiplDataBuilder(PiplPlatform::mac).zeroTerminated(text).recordData();
}

PiplList::PiplList(const PiplKind& kind, PiplPlatform platform, const std::string& entryPoint)
    : __platform(platform)
{
    __records.reserve(32);  // the fixed properties and most descriptions' own records
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

HexBytes PiplList::bytes() const
{
    std::size_t size = 14;
    for (const PiplRecord& record : __records)
        size += 16 + record.data.bytes.size();
    PiplDataBuilder list(__platform, size);
    if (__platform == PiplPlatform::windows)
        list.number(1, 2);
    list.zeros(4).number(static_cast<std::uint32_t>(__records.size()), 4);
    for (const PiplRecord& record : __records)
        list.code(record.vendor)
            .code(record.key)
            .zeros(4)
            .number(record.data.declaredLength, 4)
            .append(record.data);
    return list.bytes();
}

}  // namespace kel::rez
