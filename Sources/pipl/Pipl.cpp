// A PiPL description: the table of every member it may hold, each with its check and the
// properties it yields; the checks before the walk; and the one pass that checks and encodes
// the members in name order and returns the finished lists.
#include "pipl/Pipl.h"

#include "common/ExitStatus.h"
#include "common/HexEncoding.h"
#include "pipl/PiplByteImage.h"
#include "pipl/PiplPropertyList.h"
#include "pipl/PiplTerminology.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

// Longest text a length byte can describe.
const std::size_t __maxLengthPrefixed = 255;

// Filter case info holds one object per filter case the host knows.
const unsigned int __filterCaseCount = 7;

/// What a sub-member must hold. Hex text sub-members are alternatives that the member's own
/// check takes together.
enum class __Holds { number, string, boolean, byte, fourBytes, hexText };

struct __SubMember {
    const char* name;
    __Holds holds;
    const char* article;    // before the name in its message: "a" or "an"
    std::uint32_t bit = 0;  // flag sub-members: the bit that a true value sets
    bool inverted = false;  // the bit is set by a false value instead
};

enum class __Families { none, photoshop, both };

/// What an encoder needs beside the member's value.
struct __Context {
    const PiplKind& kind;
    const std::string& pluginName;
};

/// One member a description may hold. Its encoder runs once for the Mac list and once for
/// the Windows list, and only for the families that the member yields properties for.
struct __Member {
    const char* name;
    const char* key;  // of the property it yields (for "Name", the Photoshop one)
    std::vector<__SubMember> subMembers;
    bool (*check)(const __Member& member, const Node& value, PiplFamily family);
    __Families families;
    void (*encode)(const __Member& member, const Node& value, const __Context& context,
                   PiplList& list);
};

// ---- Messages and checks

bool __fail(const std::string& message)
{
    printError(message);
    return false;
}

std::string __quoted(const char* name)
{
    return "\"" + std::string(name) + "\"";
}

bool __failValue(const char* memberName, const char* mustBe)
{
    return __fail("The " + __quoted(memberName) + " value must be " + mustBe + ".");
}

bool __isOfType(const Node* node, Node::Type type)
{
    return node && node->nodeType() == type;
}

// An even number of hex digits, either case.
bool __isHexText(const Node* node)
{
    if (!__isOfType(node, Node::TypeString))
        return false;
    const std::string text = node->stringValue();
    return firstNonHexDigit(text) == text.size() && text.size() % 2 == 0;
}

bool __holds(const Node* node, __Holds holds)
{
    switch (holds) {
    case __Holds::number:
        return __isOfType(node, Node::TypeNumber);
    case __Holds::string:
        return __isOfType(node, Node::TypeString);
    case __Holds::boolean:
        return __isOfType(node, Node::TypeBool);
    case __Holds::byte:
        return __isOfType(node, Node::TypeNumber) && node->intValue() >= 0
               && node->intValue() <= 255;
    case __Holds::fourBytes:
        return __isOfType(node, Node::TypeString) && node->stringValue().size() == 4;
    case __Holds::hexText:
        return __isHexText(node);
    }
    return false;
}

const char* __holdsWords(__Holds holds)
{
    switch (holds) {
    case __Holds::number:
        return "a number";
    case __Holds::string:
        return "a string";
    case __Holds::boolean:
        return "a bool";
    case __Holds::byte:
        return "a number from 0 to 255";
    case __Holds::fourBytes:
        return "a four-byte string";
    case __Holds::hexText:
        return "hexadecimal text";
    }
    return "";
}

/// container: "member" for an object value, "elements" for the objects of an array.
bool __checkSubMembers(const __Member& member, const Node& object, const char* container)
{
    for (const __SubMember& sub : member.subMembers) {
        AutoNode value(object.member(sub.name));
        if (sub.holds != __Holds::hexText && !__holds(value.get(), sub.holds))
            return __fail("The " + __quoted(member.name) + " " + container + " must have "
                          + sub.article + " " + __quoted(sub.name) + " submember containing "
                          + __holdsWords(sub.holds) + ".");
    }
    return true;
}

bool __checkNothing(const __Member&, const Node&, PiplFamily)
{
    return true;
}

bool __checkBoolean(const __Member& member, const Node& value, PiplFamily)
{
    return value.nodeType() == Node::TypeBool || __failValue(member.name, "a boolean");
}

bool __checkString(const __Member& member, const Node& value, PiplFamily)
{
    return value.nodeType() == Node::TypeString || __failValue(member.name, "a string");
}

bool __checkObject(const __Member& member, const Node& value, PiplFamily)
{
    if (value.nodeType() != Node::TypeObject)
        return __failValue(member.name, "a JSON object");
    return __checkSubMembers(member, value, "member");
}

/// Each element in index order, fully before the next.
bool __checkEachObject(const __Member& member, const Node& value,
                       bool (*checkElement)(const __Member& member, const Node& element))
{
    if (value.nodeType() != Node::TypeArray)
        return __failValue(member.name, "a JSON array");
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeObject))
            return __fail("All the elements of the " + __quoted(member.name)
                          + " array must be JSON objects.");
        if (!checkElement(member, *element.get()))
            return false;
    }
    return true;
}

bool __checkElementSubMembers(const __Member& member, const Node& element)
{
    return __checkSubMembers(member, element, "elements");
}

bool __checkObjectArray(const __Member& member, const Node& value, PiplFamily)
{
    return __checkEachObject(member, value, __checkElementSubMembers);
}

// The same data for both lists, or data for each.
bool __checkRawProperty(const __Member& member, const Node& element)
{
    if (!__checkElementSubMembers(member, element))
        return false;
    AutoNode data(element.member("Data"));
    bool hasData = data ? __isHexText(data.get())
                        : __isHexText(AutoNode(element.member("MacData")).get())
                              && __isHexText(AutoNode(element.member("WinData")).get());
    return hasData
           || __fail("The " + __quoted(member.name)
                     + " elements must have a \"Data\" submember, or "
                       "\"MacData\" and \"WinData\" submembers, containing hexadecimal text.");
}

bool __checkRawProperties(const __Member& member, const Node& value, PiplFamily)
{
    return __checkEachObject(member, value, __checkRawProperty);
}

bool __checkFilterCases(const __Member& member, const Node& value, PiplFamily)
{
    bool sevenObjects =
        value.nodeType() == Node::TypeArray && value.elementsCount() == __filterCaseCount;
    for (unsigned int index = 0; sevenObjects && index < __filterCaseCount; ++index)
        sevenObjects = __isOfType(AutoNode(value.element(index)).get(), Node::TypeObject);
    if (!sevenObjects)
        return __failValue(member.name, "a JSON array of seven objects");
    return __checkEachObject(member, value, __checkElementSubMembers);
}

bool __checkStringArray(const __Member& member, const Node& value, PiplFamily)
{
    if (value.nodeType() != Node::TypeArray)
        return __failValue(member.name, "a JSON array");
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeString))
            return __fail("All the elements of the " + __quoted(member.name)
                          + " array must be strings.");
    }
    return true;
}

// A length byte must be able to hold the length of a string written length-prefixed.
bool __checkLengthPrefixed(const __Member& member, const Node& value)
{
    return value.stringValue().size() <= __maxLengthPrefixed
           || __failValue(member.name, "at most 255 bytes long");
}

// Already known to be a string.
bool __checkName(const __Member& member, const Node& value, PiplFamily)
{
    return __checkLengthPrefixed(member, value);
}

// Only the Photoshop family writes the category.
bool __checkCategory(const __Member& member, const Node& value, PiplFamily family)
{
    return __checkString(member, value, family)
           && (family != PiplFamily::photoshop || __checkLengthPrefixed(member, value));
}

// ---- Encoders: each appends to one list, in that list's byte order

std::string __stringOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member ? member->stringValue() : std::string();
}

std::uint32_t __numberOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member ? static_cast<std::uint32_t>(member->intValue()) : 0;
}

bool __boolOf(const Node& object, const char* key)
{
    AutoNode member(object.member(key));
    return member && member->boolValue();
}

std::uint32_t __maskOf(const __Member& member, const Node& object)
{
    std::uint32_t mask = 0;
    for (const __SubMember& sub : member.subMembers)
        if (__boolOf(object, sub.name) != sub.inverted)
            mask |= sub.bit;
    return mask;
}

void __appendProperty(const __Member& member, PiplList& list, PiplData data)
{
    list.append({__photoshopVendor, member.key, std::move(data)});
}

void __appendWord(const __Member& member, PiplList& list, std::uint32_t word)
{
    __appendProperty(member, list, {__hex32(word, list.platform()), 4});
}

std::string __typeAndCreator(const Node& object, PiplPlatform platform)
{
    return __codeHex(__stringOf(object, "Type"), platform)
           + __codeHex(__stringOf(object, "Creator"), platform);
}

/// Each element's data in index order, and the data length for n elements.
void __appendPerElement(const __Member& member, const Node& value, PiplList& list,
                        std::uint32_t bytesPerElement,
                        std::string (*elementHex)(const Node& element, PiplPlatform platform))
{
    std::string hex;
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        hex += elementHex(*element.get(), list.platform());
    }
    __appendProperty(member, list, {hex, bytesPerElement * value.elementsCount()});
}

void __encodeName(const __Member& member, const Node& value, const __Context& context,
                  PiplList& list)
{
    PiplData name = __lengthPrefixedString(value.stringValue());
    if (context.kind.family == PiplFamily::illustrator)
        list.append({__illustratorVendor, "pinm", name});
    else
        __appendProperty(member, list, name);
}

void __encodeVersion(const __Member& member, const Node& value, const __Context& context,
                     PiplList& list)
{
    // The parts are combined as given, neither masked nor range-checked.
    std::uint32_t word = (__numberOf(value, "Major") << 16) | (__numberOf(value, "Minor") << 8)
                         | __numberOf(value, "Revision");
    PiplData name = __zeroTerminatedString(context.pluginName);
    __appendProperty(member, list,
                     {__hex32(word, list.platform()) + name.hex, 4 + name.declaredLength});
}

void __encodeLengthPrefixed(const __Member& member, const Node& value, const __Context&,
                            PiplList& list)
{
    __appendProperty(member, list, __lengthPrefixedString(value.stringValue()));
}

void __encodeTerminology(const __Member& member, const Node& value, const __Context&,
                         PiplList& list)
{
    const PiplPlatform platform = list.platform();
    PiplData name = __zeroTerminatedString(__stringOf(value, "Name"));
    std::string hex = "00000000" + __codeHex(__stringOf(value, "Class"), platform)
                      + __codeHex(__stringOf(value, "Event"), platform)
                      + __hex16(static_cast<std::uint16_t>(__numberOf(value, "aete")), platform)
                      + name.hex + "0000";
    __appendProperty(member, list, {hex, 16 + name.declaredLength});
}

void __encodeSupportedModes(const __Member& member, const Node& value, const __Context&,
                            PiplList& list)
{
    // The mask's high byte comes first on both platforms; only the declared length differs.
    std::string hex = __int16ToHex(static_cast<short>(__maskOf(member, value))) + "0000";
    __appendProperty(member, list, {hex, list.platform() == PiplPlatform::mac ? 2u : 4u});
}

void __encodeNoAboutBox(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    if (!value.boolValue())
        __appendWord(member, list, 1);
}

void __encodeExportAlpha(const __Member& member, const Node& value, const __Context&,
                         PiplList& list)
{
    __appendWord(member, list, value.boolValue() ? 0x80000000u : 0);
}

void __encodeFilterLayers(const __Member& member, const Node& value, const __Context&,
                          PiplList& list)
{
    // One byte, the same on both platforms; only the declared length differs.
    std::string hex = value.boolValue() ? "80000000" : "00000000";
    __appendProperty(member, list, {hex, list.platform() == PiplPlatform::mac ? 1u : 4u});
}

void __encodeFileType(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendProperty(member, list, {__typeAndCreator(value, list.platform()), 8});
}

void __encodeTypeList(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendPerElement(member, value, list, 8, __typeAndCreator);
}

void __encodeExtensionList(const __Member& member, const Node& value, const __Context&,
                           PiplList& list)
{
    __appendPerElement(member, value, list, 4, [](const Node& element, PiplPlatform platform) {
        return __codeHex(element.stringValue(), platform);
    });
}

void __encodeFlagWord(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendWord(member, list, __maskOf(member, value));
}

// The arm64 entry point has the same name as the Intel one; only the Mac list has either.
void __encodeArmCode(const __Member& member, const Node& value, const __Context& context,
                     PiplList& list)
{
    if (value.boolValue() && list.platform() == PiplPlatform::mac)
        __appendProperty(member, list, __macEntryPoint(context.kind));
}

void __encodeEnableInfo(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    list.replaceData(member.key, __zeroTerminatedString(value.stringValue()));
}

// Four bytes per case: in-handling, out-handling, the flags, and a zero byte.
void __encodeFilterCases(const __Member& member, const Node& value, const __Context&,
                         PiplList& list)
{
    std::string hex;
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        for (std::uint32_t byte :
             {__numberOf(*element.get(), "InHandling"), __numberOf(*element.get(), "OutHandling"),
              __maskOf(member, *element.get()), 0u})
            hex += __int8ToHex(static_cast<signed char>(byte & 0xFFu));
    }
    list.replaceData(member.key, {hex, 4 * value.elementsCount()});
}

// Each element as given, in array order; its data padded with zero bytes to a multiple of four.
void __encodeRawProperties(const __Member&, const Node& value, const __Context&, PiplList& list)
{
    const char* ownData = list.platform() == PiplPlatform::mac ? "MacData" : "WinData";
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        AutoNode sharedData(element->member("Data"));
        std::string hex =
            sharedData ? sharedData->stringValue() : __stringOf(*element.get(), ownData);
        auto length = static_cast<std::uint32_t>(hex.size() / 2);
        hex.append(2 * ((4 - length % 4) % 4), '0');
        list.append({__stringOf(*element.get(), "Vendor"),
                     __stringOf(*element.get(), "Key"),
                     {hex, length}});
    }
}

void __encodeNothing(const __Member&, const Node&, const __Context&, PiplList&)
{
}

// ---- The member table, in name order

std::vector<__SubMember> __typeAndCreatorSubMembers()
{
    return {{"Creator", __Holds::string, "a"}, {"Type", __Holds::string, "a"}};
}

const std::vector<__Member>& __members()
{
    static const std::vector<__Member> members = {
        {"AboutBox", "nabo", {}, __checkBoolean, __Families::photoshop, __encodeNoAboutBox},
        {"Category", "catg", {}, __checkCategory, __Families::photoshop, __encodeLengthPrefixed},
        {"CodeMacARM64", "ma64", {}, __checkBoolean, __Families::photoshop, __encodeArmCode},
        // Replaces the data of the fixed property.
        {"EnableInfo", "enbl", {}, __checkString, __Families::photoshop, __encodeEnableInfo},
        {"ExportAlpha", "expf", {}, __checkBoolean, __Families::photoshop, __encodeExportAlpha},
        // Replaces the data of the fixed property.
        {"FilterCaseInfo",
         "fici",
         {{"InHandling", __Holds::byte, "an"},
          {"OutHandling", __Holds::byte, "an"},
          {"DontCopyToDestination", __Holds::boolean, "a", 0x01},
          {"WorksWithBlankData", __Holds::boolean, "a", 0x02},
          {"FiltersLayerMasks", __Holds::boolean, "a", 0x04},
          {"WritesOutsideSelection", __Holds::boolean, "a", 0x08}},
         __checkFilterCases,
         __Families::photoshop,
         __encodeFilterCases},
        {"FilterLayers", "flly", {}, __checkBoolean, __Families::photoshop, __encodeFilterLayers},
        {"FormatFileType", "fmTC", __typeAndCreatorSubMembers(), __checkObject,
         __Families::photoshop, __encodeFileType},
        {"FormatFilteredExt",
         "fftE",
         {},
         __checkStringArray,
         __Families::photoshop,
         __encodeExtensionList},
        {"FormatFilteredTypes", "fftT", __typeAndCreatorSubMembers(), __checkObjectArray,
         __Families::photoshop, __encodeTypeList},
        {"FormatFlags",
         "fmtF",
         {{"SavesImageResources", __Holds::boolean, "a", 0x40000000},
          {"CanRead", __Holds::boolean, "a", 0x20000000},
          {"CanWrite", __Holds::boolean, "a", 0x10000000},
          {"WritesAll", __Holds::boolean, "a", 0x08000000,
           true},  // set: not all layers are written
          {"CanWriteAlpha", __Holds::boolean, "a", 0x04000000},
          {"CanMakeThumb", __Holds::boolean, "a", 0x02000000}},
         __checkObject,
         __Families::photoshop,
         __encodeFlagWord},
        {"FormatReadExt",
         "RdEx",
         {},
         __checkStringArray,
         __Families::photoshop,
         __encodeExtensionList},
        {"FormatReadTypes", "RdTy", __typeAndCreatorSubMembers(), __checkObjectArray,
         __Families::photoshop, __encodeTypeList},
        {"FormatWriteExt",
         "WrEx",
         {},
         __checkStringArray,
         __Families::photoshop,
         __encodeExtensionList},
        {"FormatWriteTypes", "WrTy", __typeAndCreatorSubMembers(), __checkObjectArray,
         __Families::photoshop, __encodeTypeList},
        {"Name", "name", {}, __checkName, __Families::both, __encodeName},
        {"PluginType", "", {}, __checkNothing, __Families::none, __encodeNothing},
        // Records given byte for byte; each element names its own vendor and key.
        {"Properties",
         "",
         {{"Vendor", __Holds::fourBytes, "a"},
          {"Key", __Holds::fourBytes, "a"},
          {"Data", __Holds::hexText, "a"},
          {"MacData", __Holds::hexText, "a"},
          {"WinData", __Holds::hexText, "a"}},
         __checkRawProperties,
         __Families::photoshop,
         __encodeRawProperties},
        // Checked in this order; "LAB" takes the bit after "Duotone".
        {"SupportedModes",
         "mode",
         {{"Bitmap", __Holds::boolean, "a", 0x8000},
          {"Grayscale", __Holds::boolean, "a", 0x4000},
          {"Indexed", __Holds::boolean, "a", 0x2000},
          {"RGB", __Holds::boolean, "a", 0x1000},
          {"CMYK", __Holds::boolean, "a", 0x0800},
          {"HSL", __Holds::boolean, "a", 0x0400},
          {"HSB", __Holds::boolean, "a", 0x0200},
          {"LAB", __Holds::boolean, "a", 0x0040},
          {"Multichannel", __Holds::boolean, "a", 0x0100},
          {"Duotone", __Holds::boolean, "a", 0x0080}},
         __checkObject,
         __Families::photoshop,
         __encodeSupportedModes},
        {"Terminology",
         "hstm",
         {{"Class", __Holds::string, "a"},
          {"Event", __Holds::string, "an"},
          {"Name", __Holds::string, "a"},
          {"aete", __Holds::number, "an"}},
         __checkObject,
         __Families::photoshop,
         __encodeTerminology},
        // Already known to be an object.
        {"Version",
         "cmpt",
         {{"Major", __Holds::number, "a"},
          {"Minor", __Holds::number, "a"},
          {"Revision", __Holds::number, "a"}},
         __checkObject,
         __Families::photoshop,
         __encodeVersion},
    };
    return members;
}

const __Member* __findMember(const std::string& name)
{
    for (const __Member& member : __members())
        if (name == member.name)
            return &member;
    return nullptr;
}

std::vector<PiplMemberNames> __memberNames()
{
    std::vector<PiplMemberNames> names;
    for (const __Member& member : __members()) {
        PiplMemberNames entry{member.name, {}};
        for (const __SubMember& sub : member.subMembers)
            entry.subMembers.push_back(sub.name);
        names.push_back(entry);
    }
    return names;
}

bool __yieldsFor(const __Member& member, PiplFamily family)
{
    return member.families == __Families::both
           || (member.families == __Families::photoshop && family == PiplFamily::photoshop);
}

// ---- The pass

bool __requireMember(const Node* description, const char* name, Node::Type type,
                     const char* typeWords)
{
    AutoNode member(description ? description->member(name) : nullptr);
    return __isOfType(member.get(), type)
           || __fail("The " + __quoted(name) + " member is required (and must be " + typeWords
                     + ") for \"PiPL\" resources.");
}

/// Checks that come before the member walk; sets kind. False after printing the message.
bool __checkPrologue(const Node* description, const PiplKind*& kind)
{
    if (!__requireMember(description, "PluginType", Node::TypeString, "a string")
        || !__requireMember(description, "Name", Node::TypeString, "a string")
        || !__requireMember(description, "Version", Node::TypeObject, "an object"))
        return false;

    std::string pluginType = __stringOf(*description, "PluginType");
    kind = __findPiplKind(pluginType);
    if (!kind)
        return __fail("The \"PluginType\" value of \"" + pluginType + "\" " + "is unsupported.");

    // A Photoshop plug-in's terminology is needed before the walk (it may get a default one);
    // an Illustrator plug-in's is checked only when the walk reaches it.
    AutoNode terminology(description->member("Terminology"));
    if (kind->family == PiplFamily::photoshop && terminology
        && terminology->nodeType() != Node::TypeObject)
        return __failValue("Terminology", "a JSON object");
    return true;
}

void __addMember(Node& object, Node* created)
{
    AutoNode child(created);  // released once the object holds its own reference
    object.addMember(child.get());
}

/// Adds the default "Terminology" member, which the walk then meets like a given one.
void __supplyDefaultTerminology(Node& description, const std::string& pluginName)
{
    AutoNode terminology(Node::create(Node::TypeObject, "Terminology"));
    __addMember(*terminology.get(), Node::createStr("Class", __defaultTerminologyCode));
    __addMember(*terminology.get(), Node::createStr("Event", __defaultTerminologyCode));
    __addMember(*terminology.get(), Node::createInt("aete", __defaultTerminologyId));
    __addMember(*terminology.get(), Node::createStr("Name", pluginName));
    description.addMember(terminology.get());
}

// Checks every member in ascending name order and appends what each yields. The map is not
// changed during the walk, so its pointers stay valid; each is still held while in use.
bool __walkMembers(const Node& description, const __Context& context, PiplList& mac, PiplList& win)
{
    for (const auto& [name, node] : *description.members()) {
        AutoNode value(Node::acquire(node));
        const __Member* member = __findMember(name);
        if (!value || !member)
            continue;
        if (!member->check(*member, *value.get(), context.kind.family))
            return false;
        if (__yieldsFor(*member, context.kind.family)) {
            member->encode(*member, *value.get(), context, mac);
            member->encode(*member, *value.get(), context, win);
        }
    }
    return true;
}

}  // namespace

bool compilePipl(const Resource& res, CompiledPipl& compiled)
{
    Node* description = res.dataObject.get();
    const PiplKind* kind = nullptr;
    if (!__checkPrologue(description, kind))
        return false;

    std::string pluginName = __stringOf(*description, "Name");
    if (kind->family == PiplFamily::photoshop && !AutoNode(description->member("Terminology")))
        __supplyDefaultTerminology(*description, pluginName);

    PiplList mac(*kind, PiplPlatform::mac);
    PiplList win(*kind, PiplPlatform::windows);
    if (!__walkMembers(*description, {*kind, pluginName}, mac, win))
        return false;

    compiled = CompiledPipl();
    compiled.macListHex = mac.hex();
    compiled.winListHex = win.hex();
    if (kind->family == PiplFamily::photoshop) {
        compiled.terminologyId = __defaultTerminologyId;
        compiled.macTerminologyHex = __terminologyResourceHex(pluginName, PiplPlatform::mac);
        compiled.winTerminologyHex = __terminologyResourceHex(pluginName, PiplPlatform::windows);
    } else {
        __appendByteImage(*kind, pluginName, compiled.byteImageBlock);
    }
    return true;
}

int piplTerminologyResourceId(const Node& description)
{
    AutoNode pluginType(description.member("PluginType"));
    if (!__isOfType(pluginType.get(), Node::TypeString))
        return 0;
    const PiplKind* kind = __findPiplKind(pluginType->stringValue());
    return kind && kind->family == PiplFamily::photoshop ? __defaultTerminologyId : 0;
}

const std::vector<PiplMemberNames>& knownPiplMembers()
{
    static const std::vector<PiplMemberNames> names = __memberNames();
    return names;
}

}  // namespace kel::rez
