#include "strict/StrictCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>

#include "common/ExitStatus.h"
#include "common/HexEncoding.h"
#include "kelutilsFiles.h"
#include "kelutilsStrings.h"
#include "pipl/Pipl.h"
#include "resources/ResourceNames.h"
#include "resources/ResourceNumbering.h"
#include "resources/ResourceType.h"
#include "resources/ResourceValues.h"
#include "strict/NearestName.h"
#include "strict/StrictDuplicates.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {

namespace {

using __Kind = StrictValue::Kind;
constexpr std::size_t __none = StrictValue::none;

/// What the checks read, and where they report.
struct __Check {
    const StrictPlaces& places;
    const std::string& text;
    Diagnostics& diagnostics;

    void report(std::size_t offset, std::string message) const
    {
        diagnostics.fail(statusStrictCheckFailed, std::move(message), {offset});
    }

    bool isA(std::size_t value, __Kind kind) const { return places.isA(value, kind); }

    /// A string value as the lenient parser reads it.
    std::string stringOf(std::size_t value) const
    {
        return strictStringText(text, places[value].offset, places[value].end);
    }

    /// The string of object's member name, or "" when it holds no string there.
    std::string stringMember(std::size_t object, std::string_view name) const
    {
        const std::size_t found = places.member(object, name);
        return isA(found, __Kind::string) ? stringOf(found) : std::string();
    }

    /// A number as the lenient parser reads it, rounded half away from zero.
    long long numberOf(std::size_t number) const
    {
        return std::llround(std::strtod(text.c_str() + places[number].offset, nullptr));
    }
};

/// Every spelling the loader reads for an entry's members.
const std::vector<std::string_view>& __entryNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const auto& spellings : entryMemberNames)
            all.insert(all.end(), std::begin(spellings), std::end(spellings));
        return all;
    }();
    return names;
}

std::string __quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

void __checkNames(const __Check& check, std::size_t object,
                  const std::vector<std::string_view>& known, const std::string& where)
{
    for (std::size_t child : check.places.childrenOf(object)) {
        const std::string& name = check.places[child].name;
        if (std::find(known.begin(), known.end(), name) != known.end())
            continue;
        const std::string_view nearest = nearestName(name, known);
        check.report(check.places[child].keyOffset,
                     "unknown member " + __quoted(name) + " in " + where
                         + (nearest.empty() ? "" : "; did you mean " + __quoted(nearest) + "?"));
    }
}

// Numbers that share one field of the record, as a version word holds Major in 16 bits and
// Minor and Revision in 8 each: a larger part runs into its neighbour.
void __checkPackedParts(const __Check& check, std::size_t object, const PiplMemberNames& member,
                        const std::string& where)
{
    for (const auto& [part, highest] : member.packedSubMembers) {
        const std::size_t number = check.places.member(object, part);
        if (!check.isA(number, __Kind::number))
            continue;
        const long long value = check.numberOf(number);
        if (value < 0 || value > highest)
            check.report(check.places[number].offset,
                         __quoted(part) + " of " + __quoted(member.name) + " in " + where + " is "
                             + std::to_string(value) + ", which runs into the other parts; give "
                             + "a number from 0 to " + std::to_string(highest));
    }
}

void __checkLength(const __Check& check, std::size_t string, const std::string& what)
{
    const std::size_t length =
        check.isA(string, __Kind::string) ? check.stringOf(string).size() : 0;
    if (length > 255)
        check.report(check.places[string].offset,
                     what + " is " + std::to_string(length)
                         + " bytes; its length byte holds at most 255");
}

// A member's own string, its own object or each object of its array, with its sub-members.
void __checkMember(const __Check& check, std::size_t value, const PiplMemberNames& member,
                   const std::string& where)
{
    const std::string memberWhere = __quoted(member.name) + " of " + where;
    std::vector<std::size_t> objects{value};
    if (check.isA(value, __Kind::array))
        objects = check.places.childrenOf(value);
    for (std::size_t object : objects) {
        if (!check.isA(object, __Kind::object))
            continue;
        __checkNames(check, object, member.subMembers, memberWhere);
        for (std::string_view sub : member.lengthPrefixedSubMembers)
            __checkLength(check, check.places.member(object, sub),
                          __quoted(sub) + " of " + memberWhere);
    }
    if (member.lengthPrefixed)
        __checkLength(check, value, memberWhere);
    if (check.isA(value, __Kind::object))
        __checkPackedParts(check, value, member, where);
}

// A raw record that the description already writes through a member: the host would find
// the key twice.
void __checkRawRecords(const __Check& check, std::size_t description, const std::string& where)
{
    const std::size_t records = check.places.member(description, "Properties");
    if (!check.isA(records, __Kind::array))
        return;
    std::vector<std::string> memberNames;
    for (std::size_t child : check.places.childrenOf(description))
        memberNames.push_back(check.places[child].name);
    const std::string pluginType = check.stringMember(description, "PluginType");
    for (std::size_t record : check.places.childrenOf(records)) {
        if (!check.isA(record, __Kind::object))
            continue;
        const std::string vendor = check.stringMember(record, "Vendor");
        const std::string key = check.stringMember(record, "Key");
        const std::string_view member =
            piplMemberWritingRecord(pluginType, memberNames, vendor, key);
        if (!member.empty())
            check.report(check.places[record].offset,
                         "raw property '" + vendor + "' '" + key + "' in " + where
                             + " repeats a record the description writes; use " + __quoted(member)
                             + " instead");
    }
}

/// One entry under check: its members the loader reads (none for those it lacks), and its
/// type when that is a string.
struct __Entry {
    std::size_t value;
    std::size_t index;
    std::string of;  // "entry <index>", as messages name it
    std::size_t members[entryMemberKinds];
    std::optional<std::string> type;

    std::size_t operator[](EntryMemberKind kind) const { return members[kind]; }
};

__Entry __entryAt(const __Check& check, std::size_t value, std::size_t index)
{
    __Entry entry{value, index, "entry " + std::to_string(index), {}, std::nullopt};
    for (int kind = 0; kind < entryMemberKinds; ++kind)
        entry.members[kind] = check.places.entryMember(value, static_cast<EntryMemberKind>(kind));
    if (check.isA(entry[memberType], __Kind::string))
        entry.type = check.stringOf(entry[memberType]);
    return entry;
}

void __checkDescription(const __Check& check, const __Entry& entry)
{
    const std::size_t description = entry[memberData];
    if (!entry.type || !resourceTypeTraits(*entry.type).takesObjectData
        || !check.isA(description, __Kind::object))
        return;
    const std::string where = "the PiPL description of " + entry.of;
    std::vector<std::string_view> names;
    for (const PiplMemberNames& member : knownPiplMembers())
        names.push_back(member.name);
    __checkNames(check, description, names, where);
    __checkRawRecords(check, description, where);
    for (std::size_t child : check.places.childrenOf(description))
        for (const PiplMemberNames& member : knownPiplMembers())
            if (member.name == check.places[child].name)
                __checkMember(check, child, member, where);
}

void __checkEntryNames(const __Check& check, const __Entry& entry)
{
    __checkNames(check, entry.value, __entryNames(), entry.of);
}

// The texts that go into the outputs, by the loader's own rules, but placed at the value.
void __checkValues(const __Check& check, const __Entry& entry)
{
    for (EntryMemberKind kind : {memberType, memberFile, memberName, memberDefine}) {
        if (!check.isA(entry[kind], __Kind::string))
            continue;
        if (const std::optional<UnsafeByte> unsafe =
                findUnsafeByte(kind, check.stringOf(entry[kind])))
            check.report(check.places[entry[kind]].offset,
                         "the \"" + std::string(entryMemberNames[kind][0]) + "\" member of "
                             + entry.of + " " + describeUnsafeByte(*unsafe));
    }
}

void __checkFile(const __Check& check, const __Entry& entry)
{
    const std::size_t file = entry[memberFile];
    if (!check.isA(file, __Kind::string))
        return;
    const std::string path = check.stringOf(file);
    // A path with a byte the outputs cannot carry is reported as such, not quoted here.
    if (findUnsafeByte(memberFile, path))
        return;
    const std::size_t backslashes = path.find("\\\\");
    if (backslashes != std::string::npos)
        check.report(check.places[file].offset + 1 + backslashes,
                     "escape \"\\\\\" in the file of " + entry.of
                         + " is kept as written, not read as one backslash; write \"/\"");
    else if (!path.empty() && !kel::utils::fileExists(path))
        check.report(check.places[file].offset,
                     "file " + __quoted(path) + " of " + entry.of + " does not exist");
}

// A Mac resource type is four bytes; Rez takes a shorter or longer one as written, but a
// type of its own on the Mac side ("SVG" is "SVG_") is written that way. A type unfit for
// the outputs is reported as such, not here.
void __checkTypeLength(const __Check& check, const __Entry& entry)
{
    if (!entry.type || resourceTypeTraits(*entry.type).macFileType.size() == 4
        || findUnsafeByte(memberType, *entry.type))
        return;
    check.report(check.places[entry[memberType]].offset,
                 "type " + __quoted(*entry.type) + " of " + entry.of + " is "
                     + std::to_string(entry.type->size())
                     + " bytes long; a Mac type has four, such as \"PNGI\" or \"snd \"");
}

// Two digits make a byte: Rez drops an odd last digit, the resource script writes a zero byte.
void __checkHexData(const __Check& check, const __Entry& entry)
{
    const std::size_t data = entry[memberData];
    if (!entry.type || entry[memberFile] != __none || !check.isA(data, __Kind::string))
        return;
    const std::string digits = check.stringOf(data);
    if (digits.size() % 2 == 1 && firstNonHexDigit(digits) == digits.size())
        check.report(check.places[data].offset,
                     "\"data\" of " + entry.of + " has an odd number of hex digits ("
                         + std::to_string(digits.size()) + "); write two for each byte");
}

/// An entry's type and name, for the checks across entries.
struct __NamedEntry {
    std::string type;
    std::string name;
    std::size_t place;  // its "name", or its "file" when the name comes from it
    std::size_t index;
};

/// The checks of one entry, in the order their problems at one place are reported.
constexpr void (*__entryChecks[])(const __Check&, const __Entry&) = {
    __checkValues,     __checkEntryNames, __checkFile,
    __checkTypeLength, __checkHexData,    __checkDescription,
};

void __noteName(const __Check& check, const __Entry& entry, std::vector<__NamedEntry>& named)
{
    const std::size_t name = entry[memberName], file = entry[memberFile];
    if (!entry.type)
        return;
    if (check.isA(name, __Kind::string))
        named.push_back(
            {*entry.type, check.stringOf(name), check.places[name].offset, entry.index});
    else if (name == __none && check.isA(file, __Kind::string) && !check.stringOf(file).empty())
        named.push_back({*entry.type, nameFromFilePath(check.stringOf(file)),
                         check.places[file].offset, entry.index});
}

// Windows takes names without regard to letter case, and keeps one resource of a name.
void __checkSharedNames(const __Check& check, const std::vector<__NamedEntry>& named)
{
    std::map<std::pair<std::string, std::string>, const __NamedEntry*> first;
    for (const __NamedEntry& entry : named) {
        if (entry.name.empty())
            continue;
        const auto found =
            first.try_emplace({entry.type, kel::utils::bytesUpper(entry.name)}, &entry);
        if (found.second)
            continue;
        const __NamedEntry& earlier = *found.first->second;
        const std::string names =
            earlier.name == entry.name
                ? __quoted(entry.name)
                : __quoted(earlier.name) + " and " + __quoted(entry.name) + ", one name to Windows";
        check.report(entry.place, "entries " + std::to_string(earlier.index) + " and "
                                      + std::to_string(entry.index) + " are both " + entry.type
                                      + " resources named " + names
                                      + "; give one another \"name\"");
    }
}

// A variant is numbered after its base image, which must be in the list.
void __checkVariantBases(const __Check& check, const std::vector<__NamedEntry>& named)
{
    std::vector<std::string_view> baseStems;
    for (const __NamedEntry& entry : named)
        if (resourceTypeTraits(entry.type).numbersVariantsAfterBase && !entry.name.empty()
            && pngVariantStem(entry.name).empty())
            baseStems.push_back(pngBaseStem(entry.name));
    for (const __NamedEntry& entry : named) {
        const std::string_view stem = pngVariantStem(entry.name);
        if (resourceTypeTraits(entry.type).numbersVariantsAfterBase && !stem.empty()
            && std::find(baseStems.begin(), baseStems.end(), stem) == baseStems.end())
            check.report(entry.place, entry.type + " resource " + __quoted(entry.name)
                                          + " of entry " + std::to_string(entry.index)
                                          + " is a variant of " + __quoted(stem)
                                          + ", which is not in the list; add "
                                          + "that image or rename this one");
    }
}

void __checkEntries(const __Check& check)
{
    std::vector<__NamedEntry> named;
    for (std::size_t index = 0; index < check.places.entries().size(); ++index) {
        const std::size_t value = check.places.entries()[index];
        if (!check.isA(value, __Kind::object))
            continue;
        const __Entry entry = __entryAt(check, value, index);
        for (const auto entryCheck : __entryChecks)
            entryCheck(check, entry);
        __noteName(check, entry, named);
    }
    __checkSharedNames(check, named);
    __checkVariantBases(check, named);
}

}  // namespace

int StrictCheck::checkBeforeLoading(const std::string& text, Diagnostics& diagnostics)
{
    diagnostics.hold();
    StrictPlaces places = readStrictSyntax(text, diagnostics);
    __checkEntries({places, text, diagnostics});
    if (diagnostics.release())
        return statusStrictCheckFailed;
    // Only the places outlive the text: the later steps' problems are placed by them.
    __places = std::move(places);
    return 0;
}

int StrictCheck::checkAfterNumbering(const ResourcesByType& resourcesByType,
                                     Diagnostics& diagnostics)
{
    diagnostics.hold();
    checkDuplicateIds(resourcesByType, __places, diagnostics);
    return diagnostics.release() ? statusStrictCheckFailed : 0;
}

}  // namespace kel::rez
