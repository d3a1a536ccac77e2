// A PiPL description: the table of every member it may hold, each with its check and the
// properties it yields; the checks before the walk; and the one pass that checks and encodes
// the members in name order and returns the finished lists.
#include "pipl/Pipl.h"

#include <algorithm>
#include <iterator>

#include "common/ExitStatus.h"
#include "common/HexEncoding.h"
#include "pipl/PiplByteImage.h"
#include "common/ListText.h"
#include "pipl/PiplPropertyList.h"
#include "pipl/PiplRecordReader.h"
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
enum class __Holds { number, string, boolean, range, fourBytes, hexText };

struct __SubMember {
    const char* name;
    __Holds holds;
    const char* article;      // before the name in its message: "a" or "an"
    std::uint32_t bit = 0;    // flag sub-members: the bit that a true value sets
    bool inverted = false;    // the bit is set by a false value instead
    std::int64_t lowest = 0;  // range sub-members: the numbers allowed
    // Also, for number sub-members that share one field, the most that fits in their bits.
    std::int64_t highest = 0;
    bool lengthPrefixed = false;  // a string written after a length byte
};

constexpr __SubMember __numberFromTo(const char* name, const char* article, std::int64_t lowest,
                                     std::int64_t highest)
{
    return {name, __Holds::range, article, 0, false, lowest, highest};
}

/// A member's sub-members: a view of one of the arrays before the member table, so that the
/// whole table is built by the compiler rather than at the first description of a run.
class __SubMembers
{
public:
    constexpr __SubMembers() = default;
    template <std::size_t count>
    constexpr __SubMembers(const __SubMember (&list)[count])
        : __first(list),
          __count(count)
    {
    }

    const __SubMember* begin() const { return __first; }
    const __SubMember* end() const { return __first + __count; }

private:
    const __SubMember* __first = nullptr;
    std::size_t __count = 0;
};

enum class __Families { none, photoshop, both };

/// The first fault of a description: its message, and the path from the description down
/// to the value it is about (member names and element indexes), filled in on the way out.
struct __Fault {
    std::string message;
    std::vector<std::string> path;
};

/// What an encoder needs beside the member's value.
struct __Context {
    const PiplKind& kind;
    const std::string& pluginName;
    const std::string& entryPoint;  // the kind's, or the one the description gives
};

/// One member a description may hold. Its encoder runs once for the Mac list and once for
/// the Windows list, and only for the families that the member yields properties for.
struct __Member {
    const char* name;
    const char* key;  // of the property it yields (for "Name", the Photoshop one)
    __SubMembers subMembers;
    bool (*check)(const __Member& member, const Node& value, PiplFamily family, __Fault& fault);
    __Families families;
    void (*encode)(const __Member& member, const Node& value, const __Context& context,
                   PiplList& list);
    /// The inverse of encode: the member's value (named after it, owned by the caller) that
    /// the record of a list on the platform could have come from; null when none could.
    /// Whether encode gives the record back exactly is checked by the caller.
    Node* (*decode)(const __Member& member, const PiplReadRecord& record,
                    PiplPlatform platform) = nullptr;
    bool lengthPrefixed = false;  // its string is written after a length byte
};

bool __fail(__Fault& fault, const std::string& message)
{
    fault.message = message;
    return false;
}

/// False, with part put in front of the fault's path: the caller's name for the value.
bool __within(__Fault& fault, std::string part)
{
    fault.path.insert(fault.path.begin(), std::move(part));
    return false;
}

/// __fail for a value inside the one being checked, which part names.
bool __failAt(__Fault& fault, std::string part, const std::string& message)
{
    __within(fault, std::move(part));
    return __fail(fault, message);
}

std::string __quoted(const char* name)
{
    return "\"" + std::string(name) + "\"";
}

bool __failValue(__Fault& fault, const char* memberName, const char* mustBe)
{
    return __fail(fault, "The " + __quoted(memberName) + " value must be " + mustBe + ".");
}

void __addMember(Node& object, Node* created)
{
    AutoNode child(created);  // released once the object holds its own reference
    object.addMember(child.get());
}

// ---- Reading members; absent ones read as empty, zero or false

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

// ---- Messages and checks

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

bool __isNumberFromTo(const Node* node, std::int64_t lowest, std::int64_t highest)
{
    return __isOfType(node, Node::TypeNumber) && node->intValue() >= lowest
           && node->intValue() <= highest;
}

bool __holds(const Node* node, const __SubMember& sub)
{
    switch (sub.holds) {
    case __Holds::number:
        return __isOfType(node, Node::TypeNumber);
    case __Holds::string:
        return __isOfType(node, Node::TypeString);
    case __Holds::boolean:
        return __isOfType(node, Node::TypeBool);
    case __Holds::range:
        return __isNumberFromTo(node, sub.lowest, sub.highest);
    case __Holds::fourBytes:
        return __isOfType(node, Node::TypeString) && node->stringValue().size() == 4;
    case __Holds::hexText:
        return __isHexText(node);
    }
    return false;
}

std::string __numberFromToWords(std::int64_t lowest, std::int64_t highest)
{
    return "a number from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

std::string __holdsWords(const __SubMember& sub)
{
    switch (sub.holds) {
    case __Holds::number:
        return "a number";
    case __Holds::string:
        return "a string";
    case __Holds::boolean:
        return "a bool";
    case __Holds::range:
        return __numberFromToWords(sub.lowest, sub.highest);
    case __Holds::fourBytes:
        return "a four-byte string";
    case __Holds::hexText:
        return "hexadecimal text";
    }
    return "";
}

/// container: "member" for an object value, "elements" for the objects of an array.
bool __checkSubMembers(const __Member& member, const Node& object, const char* container,
                       __Fault& fault)
{
    for (const __SubMember& sub : member.subMembers) {
        AutoNode value(object.member(sub.name));
        if (sub.holds != __Holds::hexText && !__holds(value.get(), sub))
            return __failAt(fault, sub.name,
                            "The " + __quoted(member.name) + " " + container + " must have "
                                + sub.article + " " + __quoted(sub.name) + " submember containing "
                                + __holdsWords(sub) + ".");
    }
    return true;
}

bool __checkNothing(const __Member&, const Node&, PiplFamily, __Fault&)
{
    return true;
}

bool __checkBoolean(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return value.nodeType() == Node::TypeBool || __failValue(fault, member.name, "a boolean");
}

bool __checkString(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return value.nodeType() == Node::TypeString || __failValue(fault, member.name, "a string");
}

bool __checkObject(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    if (value.nodeType() != Node::TypeObject)
        return __failValue(fault, member.name, "a JSON object");
    return __checkSubMembers(member, value, "member", fault);
}

/// Each element in index order, fully before the next.
bool __checkEachObject(const __Member& member, const Node& value,
                       bool (*checkElement)(const __Member& member, const Node& element,
                                            __Fault& fault),
                       __Fault& fault)
{
    if (value.nodeType() != Node::TypeArray)
        return __failValue(fault, member.name, "a JSON array");
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeObject))
            return __failAt(fault, std::to_string(index),
                            "All the elements of the " + __quoted(member.name)
                                + " array must be JSON objects.");
        if (!checkElement(member, *element.get(), fault))
            return __within(fault, std::to_string(index));
    }
    return true;
}

bool __checkElementSubMembers(const __Member& member, const Node& element, __Fault& fault)
{
    return __checkSubMembers(member, element, "elements", fault);
}

bool __checkObjectArray(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return __checkEachObject(member, value, __checkElementSubMembers, fault);
}

// The same data for both lists, or data for each.
bool __checkRawProperty(const __Member& member, const Node& element, __Fault& fault)
{
    if (!__checkElementSubMembers(member, element, fault))
        return false;
    AutoNode data(element.member("Data"));
    bool hasData = data ? __isHexText(data.get())
                        : __isHexText(AutoNode(element.member("MacData")).get())
                              && __isHexText(AutoNode(element.member("WinData")).get());
    return hasData
           || __fail(fault,
                     "The " + __quoted(member.name)
                         + " elements must have a \"Data\" submember, or "
                           "\"MacData\" and \"WinData\" submembers, containing hexadecimal text.");
}

bool __checkRawProperties(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return __checkEachObject(member, value, __checkRawProperty, fault);
}

bool __checkFilterCases(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    bool sevenObjects =
        value.nodeType() == Node::TypeArray && value.elementsCount() == __filterCaseCount;
    for (unsigned int index = 0; sevenObjects && index < __filterCaseCount; ++index)
        sevenObjects = __isOfType(AutoNode(value.element(index)).get(), Node::TypeObject);
    if (!sevenObjects)
        return __failValue(fault, member.name, "a JSON array of seven objects");
    return __checkEachObject(member, value, __checkElementSubMembers, fault);
}

bool __checkStringArray(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    if (value.nodeType() != Node::TypeArray)
        return __failValue(fault, member.name, "a JSON array");
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeString))
            return __failAt(fault, std::to_string(index),
                            "All the elements of the " + __quoted(member.name)
                                + " array must be strings.");
    }
    return true;
}

// A length byte must be able to hold the length of a string written length-prefixed.
bool __checkLengthPrefixed(const __Member& member, const Node& value, __Fault& fault)
{
    return value.stringValue().size() <= __maxLengthPrefixed
           || __failValue(fault, member.name, "at most 255 bytes long");
}

// Already known to be a string.
bool __checkName(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return __checkLengthPrefixed(member, value, fault);
}

// Only the Photoshop family writes the category.
bool __checkCategory(const __Member& member, const Node& value, PiplFamily family, __Fault& fault)
{
    return __checkString(member, value, family, fault)
           && (family != PiplFamily::photoshop || __checkLengthPrefixed(member, value, fault));
}

// The name is written length-prefixed on the Mac and zero-terminated on Windows.
bool __checkEntryPoint(const __Member& member, const Node& value, PiplFamily family, __Fault& fault)
{
    if (!__checkString(member, value, family, fault))
        return false;
    const std::string name = value.stringValue();
    if (name.empty() || name.find('\0') != std::string::npos)
        return __failValue(fault, member.name, "a non-empty string without NUL bytes");
    return __checkLengthPrefixed(member, value, fault);
}

bool __checkPriority(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    return __isNumberFromTo(&value, INT32_MIN, INT32_MAX)
           || __failValue(fault, member.name, __numberFromToWords(INT32_MIN, INT32_MAX).c_str());
}

// The most channels for each image mode: one 16-bit count per mode the host knows.
const unsigned int __imageModeCount = 16;
const std::int64_t __maxChannelCount = 32767;

bool __checkChannelCounts(const __Member& member, const Node& value, PiplFamily, __Fault& fault)
{
    if (value.nodeType() != Node::TypeArray)
        return __failValue(fault, member.name, "a JSON array");
    if (value.elementsCount() < 1 || value.elementsCount() > __imageModeCount)
        return __fail(fault, "The " + __quoted(member.name) + " array must have from 1 to "
                                 + std::to_string(__imageModeCount) + " elements.");
    for (unsigned int index = 0; index < value.elementsCount(); ++index)
        if (!__isNumberFromTo(AutoNode(value.element(index)).get(), 0, __maxChannelCount))
            return __failAt(fault, std::to_string(index),
                            "All the elements of the " + __quoted(member.name) + " array must be "
                                + "numbers from 0 to " + std::to_string(__maxChannelCount) + ".");
    return true;
}

// A generated terminology resource takes the low 16 bits of "aete" as its ID, which both
// resource formats must be able to hold.
const std::int64_t __highestTerminologyId = 32767;

std::int64_t __terminologyIdOf(const Node& terminology)
{
    AutoNode aete(terminology.member("aete"));
    return aete ? aete->intValue() & 0xFFFF : 0;
}

bool __isNoTerminology(const Node& value)
{
    return value.nodeType() == Node::TypeBool && !value.boolValue();
}

/// false: no terminology. An object: for Photoshop also the source of a generated resource,
/// which carries its "Name" length-prefixed.
bool __checkTerminology(const __Member& member, const Node& value, PiplFamily family,
                        __Fault& fault)
{
    if (__isNoTerminology(value))
        return true;
    if (!__checkObject(member, value, family, fault))
        return false;
    if (family != PiplFamily::photoshop)
        return true;
    if (__stringOf(value, "Name").size() > __maxLengthPrefixed)
        return __failAt(fault, "Name",
                        "The \"Terminology\" member must have a \"Name\" submember of at most 255 "
                        "bytes.");
    const std::int64_t id = __terminologyIdOf(value);
    return (id >= 1 && id <= __highestTerminologyId)
           || __failAt(fault, "aete",
                       "The \"Terminology\" member must have an \"aete\" submember whose low 16 "
                       "bits make a number from 1 to 32767.");
}

// ---- Encoders: each appends to one list, in that list's byte order

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
    __appendProperty(member, list, PiplDataBuilder(list.platform()).number(word, 4).recordData());
}

void __appendTypeAndCreator(const Node& object, PiplDataBuilder& data)
{
    data.code(__stringOf(object, "Type")).code(__stringOf(object, "Creator"));
}

/// Each element's data in index order.
void __appendPerElement(const __Member& member, const Node& value, PiplList& list,
                        void (*appendElement)(const Node& element, PiplDataBuilder& data))
{
    PiplDataBuilder data(list.platform());
    for (unsigned int index = 0; index < value.elementsCount(); ++index)
        appendElement(*AutoNode(value.element(index)).get(), data);
    __appendProperty(member, list, data.recordData());
}

// Flags in width bytes, the high byte first on both platforms; on Windows the data declared
// runs on to a whole word.
void __appendFlags(const __Member& member, PiplList& list, std::uint32_t mask, unsigned width)
{
    PiplDataBuilder data(list.platform());
    data.highByteFirst(mask, width);
    if (list.platform() == PiplPlatform::windows)
        data.zeros(4 - width);
    __appendProperty(member, list, data.recordData());
}

void __encodeName(const __Member& member, const Node& value, const __Context& context,
                  PiplList& list)
{
    PiplData name = __lengthPrefixedString(value.stringValue());
    if (context.kind.family == PiplFamily::illustrator)
        list.append({__illustratorVendor, "pinm", std::move(name)});
    else
        __appendProperty(member, list, std::move(name));
}

void __encodeVersion(const __Member& member, const Node& value, const __Context& context,
                     PiplList& list)
{
    // The parts are combined as given, neither masked nor range-checked.
    std::uint32_t word = (__numberOf(value, "Major") << 16) | (__numberOf(value, "Minor") << 8)
                         | __numberOf(value, "Revision");
    __appendProperty(member, list,
                     PiplDataBuilder(list.platform())
                         .number(word, 4)
                         .zeroTerminated(context.pluginName)
                         .recordData());
}

void __encodeLengthPrefixed(const __Member& member, const Node& value, const __Context&,
                            PiplList& list)
{
    __appendProperty(member, list, __lengthPrefixedString(value.stringValue()));
}

// "Terminology": false yields nothing.
void __encodeTerminology(const __Member& member, const Node& value, const __Context&,
                         PiplList& list)
{
    if (value.nodeType() != Node::TypeObject)
        return;
    PiplDataBuilder data(list.platform());
    data.zeros(4).code(__stringOf(value, "Class")).code(__stringOf(value, "Event"));
    data.number(__numberOf(value, "aete"), 2).zeroTerminated(__stringOf(value, "Name")).zeros(2);
    __appendProperty(member, list, data.recordData());
}

void __encodeSupportedModes(const __Member& member, const Node& value, const __Context&,
                            PiplList& list)
{
    __appendFlags(member, list, __maskOf(member, value), 2);
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
    __appendFlags(member, list, value.boolValue() ? 0x80 : 0, 1);
}

void __encodeFlagByte(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendFlags(member, list, __maskOf(member, value), 1);
}

void __encodeFileType(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    PiplDataBuilder data(list.platform());
    __appendTypeAndCreator(value, data);
    __appendProperty(member, list, data.recordData());
}

void __encodeTypeList(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendPerElement(member, value, list, __appendTypeAndCreator);
}

void __encodeExtensionList(const __Member& member, const Node& value, const __Context&,
                           PiplList& list)
{
    __appendPerElement(member, value, list, [](const Node& element, PiplDataBuilder& data) {
        data.code(element.stringValue());
    });
}

void __encodeFlagWord(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendFlags(member, list, __maskOf(member, value), 4);
}

// The ARM entry points have the same name as the Intel ones, in the layout of the platform.
void __encodeMacArmCode(const __Member& member, const Node& value, const __Context& context,
                        PiplList& list)
{
    if (value.boolValue() && list.platform() == PiplPlatform::mac)
        __appendProperty(member, list, __lengthPrefixedString(context.entryPoint));
}

void __encodeWinArmCode(const __Member& member, const Node& value, const __Context& context,
                        PiplList& list)
{
    if (value.boolValue() && list.platform() == PiplPlatform::windows)
        __appendProperty(member, list, __zeroTerminatedString(context.entryPoint));
}

// The host may hand the plug-in POSIX file descriptors; only the Mac list says so.
void __encodePosixIo(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    if (value.boolValue() && list.platform() == PiplPlatform::mac)
        __appendWord(member, list, 1);
}

void __encodeNumber(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    __appendWord(member, list, static_cast<std::uint32_t>(value.intValue()));
}

/// Height, then width, each width bytes.
PiplData __heightAndWidth(const Node& value, PiplPlatform platform, unsigned width)
{
    return PiplDataBuilder(platform)
        .number(__numberOf(value, "Height"), width)
        .number(__numberOf(value, "Width"), width)
        .recordData();
}

// Replaces the data of the fixed property.
void __encodePlugInMaxSize(const __Member& member, const Node& value, const __Context&,
                           PiplList& list)
{
    list.replaceData(member.key, __heightAndWidth(value, list.platform(), 4));
}

void __encodeFormatMaxSize(const __Member& member, const Node& value, const __Context&,
                           PiplList& list)
{
    __appendProperty(member, list, __heightAndWidth(value, list.platform(), 2));
}

// One 16-bit count per element, then zero bytes to a multiple of four.
void __encodeChannelCounts(const __Member& member, const Node& value, const __Context&,
                           PiplList& list)
{
    __appendPerElement(member, value, list, [](const Node& element, PiplDataBuilder& data) {
        data.number(static_cast<std::uint32_t>(element.intValue()), 2);
    });
}

void __encodeEnableInfo(const __Member& member, const Node& value, const __Context&, PiplList& list)
{
    list.replaceData(member.key, __zeroTerminatedString(value.stringValue()));
}

// Four bytes per case: in-handling, out-handling, the flags, and a zero byte.
void __encodeFilterCases(const __Member& member, const Node& value, const __Context&,
                         PiplList& list)
{
    PiplDataBuilder data(list.platform());
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        data.number(__numberOf(*element.get(), "InHandling"), 1)
            .number(__numberOf(*element.get(), "OutHandling"), 1)
            .number(__maskOf(member, *element.get()), 1)
            .zeros(1);
    }
    list.replaceData(member.key, data.recordData());
}

// Each element as given, in array order; its data padded with zero bytes to a multiple of four.
void __encodeRawProperties(const __Member&, const Node& value, const __Context&, PiplList& list)
{
    const char* ownData = list.platform() == PiplPlatform::mac ? "MacData" : "WinData";
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        AutoNode sharedData(element->member("Data"));
        const std::string hex =
            sharedData ? sharedData->stringValue() : __stringOf(*element.get(), ownData);
        list.append({__stringOf(*element.get(), "Vendor"), __stringOf(*element.get(), "Key"),
                     PiplDataBuilder(list.platform()).typedHex(hex).recordData()});
    }
}

void __encodeNothing(const __Member&, const Node&, const __Context&, PiplList&)
{
}

// ---- Decoders: each reads one record back into the value its encoder takes

Node* __textNode(const char* name, const std::string& text)
{
    return isPlainListText(text) ? Node::createStr(name, text) : nullptr;
}

Node* __decodeLengthPrefixed(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    std::string text;
    return piplLengthPrefixedAt(record.data, 0, text) ? __textNode(member.name, text) : nullptr;
}

Node* __decodeZeroTerminated(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    std::string text;
    return piplZeroTerminatedAt(record.data, 0, text) ? __textNode(member.name, text) : nullptr;
}

// Length-prefixed on the Mac, zero-terminated on Windows.
Node* __decodeEntryPoint(const __Member& member, const PiplReadRecord& record,
                         PiplPlatform platform)
{
    return platform == PiplPlatform::mac ? __decodeLengthPrefixed(member, record, platform)
                                         : __decodeZeroTerminated(member, record, platform);
}

// Properties that only one value of a boolean member writes.
Node* __decodeTrue(const __Member& member, const PiplReadRecord&, PiplPlatform)
{
    return Node::createBool(member.name, true);
}

Node* __decodeFalse(const __Member& member, const PiplReadRecord&, PiplPlatform)
{
    return Node::createBool(member.name, false);
}

Node* __decodeExportAlpha(const __Member& member, const PiplReadRecord& record,
                          PiplPlatform platform)
{
    return Node::createBool(member.name, piplRecordNumber(record, platform) != 0);
}

Node* __decodeFilterLayers(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    return Node::createBool(member.name, !record.data.empty() && record.data[0] != 0);
}

Node* __decodeNumber(const __Member& member, const PiplReadRecord& record, PiplPlatform platform)
{
    return Node::createInt(member.name,
                           static_cast<std::int32_t>(piplRecordNumber(record, platform)));
}

/// An object of one boolean per flag sub-member, from the bits of mask.
Node* __flagsObject(const char* name, const __SubMembers& subMembers, std::uint32_t mask)
{
    AutoNode object(Node::create(Node::TypeObject, name));
    for (const __SubMember& sub : subMembers)
        if (sub.holds == __Holds::boolean)
            __addMember(*object.get(),
                        Node::createBool(sub.name, ((mask & sub.bit) != 0) != sub.inverted));
    return Node::acquire(object.get());
}

/// The flag bits at the start of the data, width bytes, high byte first on both platforms.
Node* __decodeFlags(const __Member& member, const PiplReadRecord& record, unsigned width)
{
    std::uint32_t mask = 0;
    if (!piplNumberAt(record.data, 0, width, PiplPlatform::mac, mask))
        return nullptr;
    return __flagsObject(member.name, member.subMembers, mask);
}

Node* __decodeFlagWord(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    return __decodeFlags(member, record, 4);
}

Node* __decodeFlagByte(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    return __decodeFlags(member, record, 1);
}

Node* __decodeSupportedModes(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    return __decodeFlags(member, record, 2);
}

/// An object of numbers, one per sub-member, each width bytes from offset on.
Node* __numbersObject(const char* name, const __SubMembers& subMembers,
                      const PiplReadRecord& record, unsigned width, PiplPlatform platform)
{
    AutoNode object(Node::create(Node::TypeObject, name));
    std::size_t offset = 0;
    for (const __SubMember& sub : subMembers) {
        std::uint32_t value = 0;
        if (!piplNumberAt(record.data, offset, width, platform, value))
            return nullptr;
        __addMember(*object.get(), Node::createInt(sub.name, value));
        offset += width;
    }
    return Node::acquire(object.get());
}

Node* __decodeFormatMaxSize(const __Member& member, const PiplReadRecord& record,
                            PiplPlatform platform)
{
    return __numbersObject(member.name, member.subMembers, record, 2, platform);
}

Node* __decodePlugInMaxSize(const __Member& member, const PiplReadRecord& record,
                            PiplPlatform platform)
{
    return __numbersObject(member.name, member.subMembers, record, 4, platform);
}

Node* __decodeVersion(const __Member& member, const PiplReadRecord& record, PiplPlatform platform)
{
    const std::uint32_t word = piplRecordNumber(record, platform);
    AutoNode version(Node::create(Node::TypeObject, member.name));
    __addMember(*version.get(), Node::createInt("Major", word >> 16));
    __addMember(*version.get(), Node::createInt("Minor", (word >> 8) & 0xFF));
    __addMember(*version.get(), Node::createInt("Revision", word & 0xFF));
    return Node::acquire(version.get());
}

/// {"Creator", "Type"} from the codes at offset: the type first, as the list stores them.
Node* __typeAndCreatorObject(const PiplReadRecord& record, std::size_t offset,
                             PiplPlatform platform, const char* name = "")
{
    std::string type, creator;
    if (!piplCodeAt(record.data, offset, platform, type)
        || !piplCodeAt(record.data, offset + 4, platform, creator) || !isPlainListText(type)
        || !isPlainListText(creator))
        return nullptr;
    AutoNode object(Node::create(Node::TypeObject, name));
    __addMember(*object.get(), Node::createStr("Creator", creator));
    __addMember(*object.get(), Node::createStr("Type", type));
    return Node::acquire(object.get());
}

Node* __decodeFileType(const __Member& member, const PiplReadRecord& record, PiplPlatform platform)
{
    return __typeAndCreatorObject(record, 0, platform, member.name);
}

/// An array of one element per width bytes of the data.
Node* __decodeEach(const __Member& member, const PiplReadRecord& record, std::size_t width,
                   PiplPlatform platform,
                   Node* (*element)(const PiplReadRecord& record, std::size_t offset,
                                    PiplPlatform platform))
{
    if (record.data.size() % width)
        return nullptr;
    AutoNode array(Node::create(Node::TypeArray, member.name));
    for (std::size_t offset = 0; offset < record.data.size(); offset += width) {
        AutoNode value(element(record, offset, platform));
        if (!value || !array->addElement(value.get()))
            return nullptr;
    }
    return Node::acquire(array.get());
}

Node* __decodeTypeList(const __Member& member, const PiplReadRecord& record, PiplPlatform platform)
{
    return __decodeEach(member, record, 8, platform,
                        [](const PiplReadRecord& r, std::size_t offset, PiplPlatform p) {
                            return __typeAndCreatorObject(r, offset, p);
                        });
}

Node* __decodeExtensionList(const __Member& member, const PiplReadRecord& record,
                            PiplPlatform platform)
{
    return __decodeEach(member, record, 4, platform,
                        [](const PiplReadRecord& r, std::size_t offset, PiplPlatform p) {
                            std::string code;
                            piplCodeAt(r.data, offset, p, code);
                            return __textNode("", code);
                        });
}

Node* __decodeChannelCounts(const __Member& member, const PiplReadRecord& record,
                            PiplPlatform platform)
{
    return __decodeEach(member, record, 2, platform,
                        [](const PiplReadRecord& r, std::size_t offset, PiplPlatform p) {
                            std::uint32_t count = 0;
                            piplNumberAt(r.data, offset, 2, p, count);
                            return Node::createInt("", count);
                        });
}

// Four bytes per case: in-handling, out-handling, the flags, and a zero byte.
Node* __decodeFilterCases(const __Member& member, const PiplReadRecord& record, PiplPlatform)
{
    if (record.data.size() != 4 * __filterCaseCount)
        return nullptr;
    AutoNode cases(Node::create(Node::TypeArray, member.name));
    for (std::size_t offset = 0; offset < record.data.size(); offset += 4) {
        AutoNode filterCase(__flagsObject("", member.subMembers, record.data[offset + 2]));
        __addMember(*filterCase.get(), Node::createInt("InHandling", record.data[offset]));
        __addMember(*filterCase.get(), Node::createInt("OutHandling", record.data[offset + 1]));
        cases->addElement(filterCase.get());
    }
    return Node::acquire(cases.get());
}

// A zero word, the class and event codes, the 16-bit "aete" value, then the name.
Node* __decodeTerminology(const __Member& member, const PiplReadRecord& record,
                          PiplPlatform platform)
{
    std::string classCode, eventCode, name;
    std::uint32_t id = 0;
    if (!piplCodeAt(record.data, 4, platform, classCode)
        || !piplCodeAt(record.data, 8, platform, eventCode)
        || !piplNumberAt(record.data, 12, 2, platform, id)
        || !piplZeroTerminatedAt(record.data, 14, name) || !isPlainListText(classCode)
        || !isPlainListText(eventCode) || !isPlainListText(name))
        return nullptr;
    AutoNode terminology(Node::create(Node::TypeObject, member.name));
    __addMember(*terminology.get(), Node::createStr("Class", classCode));
    __addMember(*terminology.get(), Node::createStr("Event", eventCode));
    __addMember(*terminology.get(), Node::createStr("Name", name));
    __addMember(*terminology.get(), Node::createInt("aete", id));
    return Node::acquire(terminology.get());
}

// ---- The member table, in name order

// The sub-members of the table's members, each list in the order it is checked in.

constexpr __SubMember __filterCaseSubMembers[] = {
    __numberFromTo("InHandling", "an", 0, 255),
    __numberFromTo("OutHandling", "an", 0, 255),
    {"DontCopyToDestination", __Holds::boolean, "a", 0x01},
    {"WorksWithBlankData", __Holds::boolean, "a", 0x02},
    {"FiltersLayerMasks", __Holds::boolean, "a", 0x04},
    {"WritesOutsideSelection", __Holds::boolean, "a", 0x08},
};

constexpr __SubMember __typeAndCreatorSubMembers[] = {
    {"Creator", __Holds::string, "a"},
    {"Type", __Holds::string, "a"},
};

constexpr __SubMember __formatFlagsSubMembers[] = {
    {"SavesImageResources", __Holds::boolean, "a", 0x40000000},
    {"CanRead", __Holds::boolean, "a", 0x20000000},
    {"CanWrite", __Holds::boolean, "a", 0x10000000},
    {"WritesAll", __Holds::boolean, "a", 0x08000000, true},  // set: not all layers are written
    {"CanWriteAlpha", __Holds::boolean, "a", 0x04000000},
    {"CanMakeThumb", __Holds::boolean, "a", 0x02000000},
};

// Whether an ICC profile is embedded in each image mode.
constexpr __SubMember __formatIccFlagsSubMembers[] = {
    {"EmbedGray", __Holds::boolean, "an", 0x80},
    {"EmbedIndexed", __Holds::boolean, "an", 0x40},
    {"EmbedRGB", __Holds::boolean, "an", 0x20},
    {"EmbedCMYK", __Holds::boolean, "an", 0x10},
};

constexpr __SubMember __formatMaxSizeSubMembers[] = {
    __numberFromTo("Height", "a", 1, 32767),
    __numberFromTo("Width", "a", 1, 32767),
};

constexpr __SubMember __plugInMaxSizeSubMembers[] = {
    __numberFromTo("Height", "a", 1, INT32_MAX),
    __numberFromTo("Width", "a", 1, INT32_MAX),
};

constexpr __SubMember __rawPropertySubMembers[] = {
    {"Vendor", __Holds::fourBytes, "a"}, {"Key", __Holds::fourBytes, "a"},
    {"Data", __Holds::hexText, "a"},     {"MacData", __Holds::hexText, "a"},
    {"WinData", __Holds::hexText, "a"},
};

// "LAB" takes the bit after "Duotone".
constexpr __SubMember __supportedModesSubMembers[] = {
    {"Bitmap", __Holds::boolean, "a", 0x8000},       {"Grayscale", __Holds::boolean, "a", 0x4000},
    {"Indexed", __Holds::boolean, "a", 0x2000},      {"RGB", __Holds::boolean, "a", 0x1000},
    {"CMYK", __Holds::boolean, "a", 0x0800},         {"HSL", __Holds::boolean, "a", 0x0400},
    {"HSB", __Holds::boolean, "a", 0x0200},          {"LAB", __Holds::boolean, "a", 0x0040},
    {"Multichannel", __Holds::boolean, "a", 0x0100}, {"Duotone", __Holds::boolean, "a", 0x0080},
};

constexpr __SubMember __terminologySubMembers[] = {
    {"Class", __Holds::string, "a"},
    {"Event", __Holds::string, "an"},
    {"Name", __Holds::string, "a", 0, false, 0, 0, true},
    {"aete", __Holds::number, "an"},
};

constexpr __SubMember __versionSubMembers[] = {
    {"Major", __Holds::number, "a", 0, false, 0, 0xFFFF},
    {"Minor", __Holds::number, "a", 0, false, 0, 0xFF},
    {"Revision", __Holds::number, "a", 0, false, 0, 0xFF},
};

// One row per member, as wide as it needs: a member is read, and added, as one line.
// clang-format off
constexpr __Member __memberTable[] = {
    {"AboutBox", "nabo", {}, __checkBoolean, __Families::photoshop, __encodeNoAboutBox, __decodeFalse},
    {"Category", "catg", {}, __checkCategory, __Families::photoshop, __encodeLengthPrefixed, __decodeLengthPrefixed, true},
    {"CodeMacARM64", "ma64", {}, __checkBoolean, __Families::photoshop, __encodeMacArmCode, __decodeTrue},
    {"CodeWin64ARM", "wa64", {}, __checkBoolean, __Families::photoshop, __encodeWinArmCode, __decodeTrue},
    // Replaces the data of the fixed property.
    {"EnableInfo", "enbl", {}, __checkString, __Families::photoshop, __encodeEnableInfo, __decodeZeroTerminated},
    // Read before the walk: it names the fixed entry points and those of the ARM members.
    {"EntryPoint", "", {}, __checkEntryPoint, __Families::photoshop, __encodeNothing, __decodeEntryPoint, true},
    {"ExportAlpha", "expf", {}, __checkBoolean, __Families::photoshop, __encodeExportAlpha, __decodeExportAlpha},
    // Replaces the data of the fixed property.
    {"FilterCaseInfo", "fici", __filterCaseSubMembers, __checkFilterCases, __Families::photoshop, __encodeFilterCases, __decodeFilterCases},
    {"FilterLayers", "flly", {}, __checkBoolean, __Families::photoshop, __encodeFilterLayers, __decodeFilterLayers},
    {"FormatFileType", "fmTC", __typeAndCreatorSubMembers, __checkObject, __Families::photoshop, __encodeFileType, __decodeFileType},
    {"FormatFilteredExt", "fftE", {}, __checkStringArray, __Families::photoshop, __encodeExtensionList, __decodeExtensionList},
    {"FormatFilteredTypes", "fftT", __typeAndCreatorSubMembers, __checkObjectArray, __Families::photoshop, __encodeTypeList, __decodeTypeList},
    {"FormatFlags", "fmtf", __formatFlagsSubMembers, __checkObject, __Families::photoshop, __encodeFlagWord, __decodeFlagWord},
    {"FormatICCFlags", "fmip", __formatIccFlagsSubMembers, __checkObject, __Families::photoshop, __encodeFlagByte, __decodeFlagByte},
    {"FormatMaxChannels", "mxch", {}, __checkChannelCounts, __Families::photoshop, __encodeChannelCounts, __decodeChannelCounts},
    {"FormatMaxSize", "mxsz", __formatMaxSizeSubMembers, __checkObject, __Families::photoshop, __encodeFormatMaxSize, __decodeFormatMaxSize},
    {"FormatReadExt", "RdEx", {}, __checkStringArray, __Families::photoshop, __encodeExtensionList, __decodeExtensionList},
    {"FormatReadTypes", "RdTy", __typeAndCreatorSubMembers, __checkObjectArray, __Families::photoshop, __encodeTypeList, __decodeTypeList},
    {"FormatWriteExt", "WrEx", {}, __checkStringArray, __Families::photoshop, __encodeExtensionList, __decodeExtensionList},
    {"FormatWriteTypes", "WrTy", __typeAndCreatorSubMembers, __checkObjectArray, __Families::photoshop, __encodeTypeList, __decodeTypeList},
    {"Name", "name", {}, __checkName, __Families::both, __encodeName, __decodeLengthPrefixed, true},
    // Replaces the data of the fixed property.
    {"PlugInMaxSize", "ms32", __plugInMaxSizeSubMembers, __checkObject, __Families::photoshop, __encodePlugInMaxSize, __decodePlugInMaxSize},
    {"PluginType", "", {}, __checkNothing, __Families::none, __encodeNothing},
    {"Priority", "prty", {}, __checkPriority, __Families::photoshop, __encodeNumber, __decodeNumber},
    // Records given byte for byte; each element names its own vendor and key.
    {"Properties", "", __rawPropertySubMembers, __checkRawProperties, __Families::both, __encodeRawProperties},
    {"SupportedModes", "mode", __supportedModesSubMembers, __checkObject, __Families::photoshop, __encodeSupportedModes, __decodeSupportedModes},
    {"SupportsPOSIXIO", "fxio", {}, __checkBoolean, __Families::photoshop, __encodePosixIo, __decodeTrue},
    {"Terminology", "hstm", __terminologySubMembers, __checkTerminology, __Families::photoshop, __encodeTerminology, __decodeTerminology},
    // Already known to be an object.
    {"Version", "cmpt", __versionSubMembers, __checkObject, __Families::photoshop, __encodeVersion, __decodeVersion},
};
// clang-format on

// The table is in name order: a search, not a walk, for every member of every description.
const __Member* __findMember(const std::string& name)
{
    const auto found = std::lower_bound(
        std::begin(__memberTable), std::end(__memberTable), name,
        [](const __Member& member, const std::string& sought) { return sought > member.name; });
    return found != std::end(__memberTable) && name == found->name ? &*found : nullptr;
}

std::vector<PiplMemberNames> __memberNames()
{
    std::vector<PiplMemberNames> names;
    for (const __Member& member : __memberTable) {
        PiplMemberNames entry{member.name, {}, member.lengthPrefixed, {}, {}};
        for (const __SubMember& sub : member.subMembers) {
            entry.subMembers.push_back(sub.name);
            if (sub.lengthPrefixed)
                entry.lengthPrefixedSubMembers.push_back(sub.name);
            if (sub.holds == __Holds::number && sub.highest != 0)
                entry.packedSubMembers.emplace_back(sub.name, sub.highest);
        }
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
                     const char* typeWords, __Fault& fault)
{
    AutoNode member(description ? description->member(name) : nullptr);
    return __isOfType(member.get(), type)
           || __failAt(fault, name,
                       "The " + __quoted(name) + " member is required (and must be " + typeWords
                           + ") for \"PiPL\" resources.");
}

/// Checks that come before the member walk; sets kind. False with the fault.
bool __checkPrologue(const Node* description, const PiplKind*& kind, __Fault& fault)
{
    if (!__requireMember(description, "PluginType", Node::TypeString, "a string", fault)
        || !__requireMember(description, "Name", Node::TypeString, "a string", fault)
        || !__requireMember(description, "Version", Node::TypeObject, "an object", fault))
        return false;

    std::string pluginType = __stringOf(*description, "PluginType");
    kind = __findPiplKind(pluginType);
    if (!kind)
        return __failAt(fault, "PluginType",
                        "The \"PluginType\" value of \"" + pluginType + "\" " + "is unsupported.");

    // A Photoshop plug-in's terminology is needed before the walk (it may get a default one);
    // an Illustrator plug-in's is checked only when the walk reaches it.
    AutoNode terminology(description->member("Terminology"));
    if (kind->family == PiplFamily::photoshop && terminology
        && terminology->nodeType() != Node::TypeObject && !__isNoTerminology(*terminology.get())) {
        __within(fault, "Terminology");
        return __failValue(fault, "Terminology", "a JSON object");
    }
    return true;
}

/// The name the entry-point properties give: a Photoshop description's "EntryPoint" (checked
/// by the walk, which fails before any list is used when it is not a string), or the kind's.
std::string __entryPointOf(const Node& description, const PiplKind& kind)
{
    AutoNode entryPoint(description.member("EntryPoint"));
    if (kind.family == PiplFamily::photoshop && __isOfType(entryPoint.get(), Node::TypeString))
        return entryPoint->stringValue();
    return kind.entryPoint;
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
bool __walkMembers(const Node& description, const __Context& context, PiplList& mac, PiplList& win,
                   __Fault& fault)
{
    for (const auto& [name, node] : *description.members()) {
        AutoNode value(Node::acquire(node));
        const __Member* member = __findMember(name);
        if (!value || !member)
            continue;
        if (!member->check(*member, *value.get(), context.kind.family, fault))
            return __within(fault, name);
        if (__yieldsFor(*member, context.kind.family)) {
            member->encode(*member, *value.get(), context, mac);
            member->encode(*member, *value.get(), context, win);
        }
    }
    return true;
}

/// The ID of the terminology resource generated for a (checked or default) "Terminology"
/// value; 0 for none: "Terminology" is false, or the list holds the resource itself.
std::int16_t __generatedTerminologyId(const Node& terminology, const TerminologyIds& listed)
{
    if (terminology.nodeType() != Node::TypeObject)
        return 0;
    const std::int64_t id = __terminologyIdOf(terminology);
    if (id < 1 || id > __highestTerminologyId)
        return 0;
    return listed.count(static_cast<std::int16_t>(id)) ? 0 : static_cast<std::int16_t>(id);
}

/// The terminology resource the description's "Terminology" names, unless none is generated.
void __compileTerminology(const Node& description, const TerminologyIds& listed,
                          CompiledPipl& compiled)
{
    AutoNode given(description.member("Terminology"));
    compiled.terminologyId = given ? __generatedTerminologyId(*given.get(), listed) : 0;
    if (compiled.terminologyId == 0)
        return;
    const PiplTerminology terminology{__stringOf(*given.get(), "Name"),
                                      __stringOf(*given.get(), "Class"),
                                      __stringOf(*given.get(), "Event")};
    compiled.macTerminology = __terminologyResource(terminology, PiplPlatform::mac);
    compiled.winTerminology = __terminologyResource(terminology, PiplPlatform::windows);
}

/// The vendor and key of the record a member yields for the family; an empty key when it
/// yields none of its own.
std::pair<std::string, std::string> __recordOf(const __Member& member, PiplFamily family)
{
    if (!__yieldsFor(member, family))
        return {};
    if (family == PiplFamily::illustrator && std::string(member.name) == "Name")
        return {__illustratorVendor, "pinm"};
    return {__photoshopVendor, member.key};
}


// ---- Reading a compiled list back into a description

/// What the walk over a list's records gathers into a description.
struct __Reading {
    const PiplKind& kind;
    PiplPlatform platform;
    std::string entryPoint;
    std::string pluginName;
    AutoNode description;
    AutoNode terminology;  // added last: left out when it is the default one
    AutoNode rawProperties;
};

/// True when data written by a member is the data of a record read from a list, padded.
bool __isReadData(const PiplData& written, const std::vector<unsigned char>& read)
{
    std::vector<unsigned char> padded = read;
    padded.resize((read.size() + 3) / 4 * 4, 0);
    return written.declaredLength == read.size() && written.bytes == padded;
}

/// True when encoding value gives record back exactly: a record appended, or a fixed one
/// given new data.
bool __encodesBack(const __Member& member, const Node& value, const __Reading& reading,
                   const PiplReadRecord& record)
{
    PiplList list(reading.kind, reading.platform, reading.entryPoint);
    const std::size_t fixedCount = list.records().size();
    member.encode(member, value, {reading.kind, reading.pluginName, reading.entryPoint}, list);
    const PiplRecord* written = list.records().size() == fixedCount + 1 ? &list.records().back()
                                                                         : nullptr;
    for (const PiplRecord& fixed : list.records())
        if (!written && fixed.vendor == record.vendor && fixed.key == record.key)
            written = &fixed;
    return written && written->vendor == record.vendor && written->key == record.key
           && __isReadData(written->data, record.data);
}

/// The member's value for the record, when it encodes back to it exactly; else null.
AutoNode __decodeExactly(const __Member& member, const __Reading& reading,
                         const PiplReadRecord& record)
{
    AutoNode value(member.decode ? member.decode(member, record, reading.platform) : nullptr);
    if (value && !__encodesBack(member, *value.get(), reading, record))
        value.reset();
    return value;
}

/// The member that writes a record with vendor and key after the fixed properties.
const __Member* __memberWriting(const PiplReadRecord& record, const __Reading& reading,
                                const PiplList& fixed)
{
    for (const __Member& member : __memberTable) {
        const auto written = __recordOf(member, reading.kind.family);
        if (!written.second.empty() && written == std::make_pair(record.vendor, record.key)
            && !fixed.fixedPropertyMember(record.vendor, record.key))
            return &member;
    }
    return nullptr;
}

/// Keeps value as the description's member, or as the terminology, decided on at the end.
void __keep(__Reading& reading, const __Member& member, AutoNode value)
{
    if (std::string(member.name) == "Name")
        reading.pluginName = value->stringValue();
    if (std::string(member.name) == "Terminology")
        reading.terminology = std::move(value);
    else
        reading.description->addMember(value.get());
}

/// The fixed properties: the kind's, or given new data by a member. False when the list
/// does not start with them.
bool __readFixed(const std::vector<PiplReadRecord>& records, __Reading& reading)
{
    const PiplList kindDefaults(reading.kind, reading.platform, reading.kind.entryPoint);
    const auto& defaults = kindDefaults.records();
    if (records.size() < defaults.size())
        return false;
    // The entry point comes first: the other properties' data may name it.
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        if (defaults[i].vendor != records[i].vendor || defaults[i].key != records[i].key)
            return false;
        if (reading.kind.family == PiplFamily::photoshop
            && std::string(defaults[i].member) == "EntryPoint" && reading.entryPoint.empty()) {
            AutoNode name(__decodeEntryPoint(*__findMember("EntryPoint"), records[i],
                                             reading.platform));
            if (!name || name->stringValue().empty())
                return false;
            reading.entryPoint = name->stringValue();
            if (reading.entryPoint != reading.kind.entryPoint)
                reading.description->addMember(name.get());
        }
    }
    if (reading.entryPoint.empty())
        reading.entryPoint = reading.kind.entryPoint;
    const PiplList fixed(reading.kind, reading.platform, reading.entryPoint);
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        const PiplRecord& expected = fixed.records()[i];
        const std::string member = expected.member;
        if (member == "PluginType" || member == "EntryPoint"
            || __isReadData(expected.data, records[i].data))
            continue;
        AutoNode value(__decodeExactly(*__findMember(member), reading, records[i]));
        if (!value)
            return false;
        reading.description->addMember(value.get());
    }
    return true;
}

/// A raw "Properties" element for a record no member writes in its place.
bool __keepRaw(const PiplReadRecord& record, __Reading& reading)
{
    if (!isPlainListText(record.vendor) || !isPlainListText(record.key))
        return false;
    if (!reading.rawProperties)
        reading.rawProperties = AutoNode(Node::create(Node::TypeArray, "Properties"));
    AutoNode element(Node::create(Node::TypeObject));
    __addMember(*element.get(), Node::createStr("Vendor", record.vendor));
    __addMember(*element.get(), Node::createStr("Key", record.key));
    __addMember(*element.get(),
                Node::createStr("Data", hexDigits(record.data.data(), record.data.size())));
    return reading.rawProperties->addElement(element.get());
}

/// The records after the fixed ones, which members write in name order and "Properties"
/// (the records no member writes) at its place in that order. False when no description writes them in the list's order.
bool __readMembers(const std::vector<PiplReadRecord>& records, std::size_t first,
                   __Reading& reading)
{
    const PiplList fixed(reading.kind, reading.platform, reading.entryPoint);
    const std::string raw = "Properties";
    std::string last;  // the name of the member that wrote the record before
    for (std::size_t i = first; i < records.size(); ++i) {
        const __Member* member = __memberWriting(records[i], reading, fixed);
        AutoNode value;
        if (member && std::string(member->name) > last)
            value = __decodeExactly(*member, reading, records[i]);
        if (value) {
            last = member->name;
            __keep(reading, *member, std::move(value));
        } else if (member || last > raw || !__keepRaw(records[i], reading)) {
            // A record that a member writes is never given raw: the member would say it.
            return false;
        } else {
            last = raw;
        }
    }
    return true;
}

/// True when terminology is the one a description without "Terminology" is given.
bool __isDefaultTerminology(const Node& terminology, const std::string& pluginName)
{
    return __stringOf(terminology, "Class") == __defaultTerminologyCode
           && __stringOf(terminology, "Event") == __defaultTerminologyCode
           && __numberOf(terminology, "aete") == static_cast<std::uint32_t>(__defaultTerminologyId)
           && __stringOf(terminology, "Name") == pluginName;
}

/// The members that every description holds, and the terminology when it is not the default.
bool __completeDescription(__Reading& reading)
{
    Node& description = *reading.description.get();
    if (!AutoNode(description.member("Name")))
        return false;
    if (reading.kind.family == PiplFamily::illustrator) {
        // The Illustrator list does not carry the version.
        AutoNode version(Node::create(Node::TypeObject, "Version"));
        for (const char* part : {"Major", "Minor", "Revision"})
            __addMember(*version.get(), Node::createInt(part, 0));
        description.addMember(version.get());
    } else if (!AutoNode(description.member("Version"))) {
        return false;
    }
    if (reading.kind.family == PiplFamily::photoshop) {
        if (!reading.terminology)
            __addMember(description, Node::createBool("Terminology", false));
        else if (!__isDefaultTerminology(*reading.terminology.get(), reading.pluginName))
            description.addMember(reading.terminology.get());
    }
    if (reading.rawProperties)
        description.addMember(reading.rawProperties.get());
    return true;
}

/// A description that may compile to the records; null when none can.
AutoNode __describeRecords(const std::vector<PiplReadRecord>& records, PiplPlatform platform)
{
    std::string kindCode;
    if (records.empty() || records[0].key != "kind"
        || !piplCodeAt(records[0].data, 0, platform, kindCode))
        return AutoNode();
    const PiplKind* kind = __findPiplKindByCode(records[0].vendor, kindCode);
    if (!kind)
        return AutoNode();
    __Reading reading{*kind, platform, "", "", AutoNode(Node::create(Node::TypeObject)),
                      AutoNode(), AutoNode()};
    __addMember(*reading.description.get(), Node::createStr("PluginType", kind->pluginType));
    if (!__readFixed(records, reading))
        return AutoNode();
    const std::size_t fixedCount = PiplList(*kind, platform, reading.entryPoint).records().size();
    if (!__readMembers(records, fixedCount, reading) || !__completeDescription(reading))
        return AutoNode();
    return std::move(reading.description);
}

/// The list a description compiles to on the platform; compiled gets the rest. Empty when
/// the description does not compile.
std::vector<unsigned char> __compiledList(Node& description, PiplPlatform platform,
                                          CompiledPipl& compiled)
{
    Resource resource;
    resource.type = resourceTypePiPL;
    resource.dataObject = &description;  // shares: takes its own reference
    Diagnostics unused;                  // a description that fails to compile is simply not used
    if (!compilePipl(resource, compiled, unused))
        return {};
    return (platform == PiplPlatform::mac ? compiled.macList : compiled.winList).bytes;
}
/// compilePipl, with the first fault left in fault.
bool __compileChecked(const Resource& res, CompiledPipl& compiled,
                      const TerminologyIds& listedTerminologyIds, __Fault& fault)
{
    Node* description = res.dataObject.get();
    const PiplKind* kind = nullptr;
    if (!__checkPrologue(description, kind, fault))
        return false;

    std::string pluginName = __stringOf(*description, "Name");
    if (kind->family == PiplFamily::photoshop && !AutoNode(description->member("Terminology")))
        __supplyDefaultTerminology(*description, pluginName);

    const std::string entryPoint = __entryPointOf(*description, *kind);
    PiplList mac(*kind, PiplPlatform::mac, entryPoint);
    PiplList win(*kind, PiplPlatform::windows, entryPoint);
    if (!__walkMembers(*description, {*kind, pluginName, entryPoint}, mac, win, fault))
        return false;

    compiled = CompiledPipl();
    compiled.macList = mac.bytes();
    compiled.winList = win.bytes();
    if (kind->family == PiplFamily::photoshop)
        __compileTerminology(*description, listedTerminologyIds, compiled);
    else
        __appendByteImage(*kind, pluginName, compiled.byteImageBlock);
    return true;
}

}  // namespace

bool compilePipl(const Resource& res, CompiledPipl& compiled, Diagnostics& diagnostics,
                 const TerminologyIds& listedTerminologyIds)
{
    __Fault fault;
    if (!__compileChecked(res, compiled, listedTerminologyIds, fault)) {
        Place place = resourcePlace(res, {"data"});
        place.path.insert(place.path.end(), fault.path.begin(), fault.path.end());
        return diagnostics.fail(statusBadObjectData, fault.message, std::move(place));
    }
    return true;
}

TerminologyIds listedTerminologyResourceIds(const ResourcesByType& resourcesByType)
{
    TerminologyIds ids;
    const auto listed = resourcesByType.find(resourceTypeAETE);
    if (listed != resourcesByType.end())
        for (const ResourcePtr& resource : listed->second)
            ids.insert(resource->id);
    return ids;
}

int piplTerminologyResourceId(const Node& description, const TerminologyIds& listedTerminologyIds)
{
    AutoNode pluginType(description.member("PluginType"));
    if (!__isOfType(pluginType.get(), Node::TypeString))
        return 0;
    const PiplKind* kind = __findPiplKind(pluginType->stringValue());
    if (!kind || kind->family != PiplFamily::photoshop)
        return 0;
    AutoNode given(description.member("Terminology"));
    if (!given)
        return listedTerminologyIds.count(__defaultTerminologyId) ? 0 : __defaultTerminologyId;
    return __generatedTerminologyId(*given.get(), listedTerminologyIds);
}

std::string_view piplMemberWritingRecord(const std::string& pluginType,
                                         const std::vector<std::string>& memberNames,
                                         const std::string& vendor, const std::string& key)
{
    const PiplKind* kind = __findPiplKind(pluginType);
    if (!kind)
        return {};
    for (PiplPlatform platform : {PiplPlatform::mac, PiplPlatform::windows})
        if (const char* member =
                PiplList(*kind, platform, kind->entryPoint).fixedPropertyMember(vendor, key))
            return member;
    for (const std::string& name : memberNames) {
        const __Member* member = __findMember(name);
        if (member && __recordOf(*member, kind->family) == std::make_pair(vendor, key))
            return member->name;
    }
    return {};
}

PiplDescription describePipl(const std::vector<unsigned char>& bytes, PiplPlatform platform)
{
    PiplDescription result;
    const PiplReadList list = readPiplRecords(bytes.data(), bytes.size(), platform);
    if (!list.ok())
        return result;
    AutoNode description(__describeRecords(list.records, platform));
    // It is used only when it gives every byte back; compiling a second one built the same
    // way leaves the first without the members the compiler may add.
    AutoNode compiledCopy(__describeRecords(list.records, platform));
    CompiledPipl compiled;
    if (!description || __compiledList(*compiledCopy.get(), platform, compiled) != bytes)
        return result;
    result.description = std::move(description);
    result.terminologyId = compiled.terminologyId;
    result.terminology =
        (platform == PiplPlatform::mac ? compiled.macTerminology : compiled.winTerminology).bytes;
    return result;
}

const std::vector<PiplMemberNames>& knownPiplMembers()
{
    static const std::vector<PiplMemberNames> names = __memberNames();
    return names;
}

}  // namespace kel::rez
