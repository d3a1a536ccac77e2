#include "strict/StrictChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string_view>

#include "common/HexEncoding.h"
#include "kelutilsFiles.h"
#include "pipl/Pipl.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceNames.h"
#include "resources/ResourceNumbering.h"
#include "resources/ResourceValues.h"
#include "strict/NearestName.h"

namespace kel::rez {

namespace {

using __Kind = StrictValue::Kind;
constexpr std::size_t __none = StrictValue::none;

// The values of one check: the document and the text its offsets point into.
struct __Source {
    const StrictDocument& document;
    const std::string& text;

    const StrictValue& operator[](std::size_t index) const { return document.values[index]; }

    std::string nameOf(std::size_t index) const
    {
        return strictStringText(text, document.values[index].keyOffset, document.values[index].keyEnd);
    }

    std::string stringOf(std::size_t index) const
    {
        return strictStringText(text, document.values[index].offset, document.values[index].end);
    }

    bool isA(std::size_t index, __Kind kind) const
    {
        return index != __none && document.values[index].kind == kind;
    }

    std::vector<std::size_t> childrenOf(std::size_t container) const
    {
        std::vector<std::size_t> children;
        for (std::size_t child = document.values[container].firstChild; child != __none;
             child = document.values[child].nextSibling)
            children.push_back(child);
        return children;
    }

    /// The first member of object with one of names, trying them in order: the one the
    /// loader and the lenient parser read.
    std::size_t member(std::size_t object, std::initializer_list<std::string_view> names) const
    {
        for (std::string_view name : names)
            for (std::size_t child : childrenOf(object))
                if (nameOf(child) == name)
                    return child;
        return __none;
    }

    std::size_t entryMember(std::size_t entry, EntryMemberKind kind) const
    {
        const auto& spellings = entryMemberNames[kind];
        return member(entry, {spellings[0], spellings[1], spellings[2]});
    }

    std::string stringMember(std::size_t object, std::string_view name) const
    {
        const std::size_t found = member(object, {name});
        return isA(found, __Kind::string) ? stringOf(found) : std::string();
    }
};

/// What a resource list's names and types are checked against.
struct __KnownNames {
    std::vector<std::string_view> entry, description;
};

const __KnownNames& __known()
{
    static const __KnownNames known = [] {
        __KnownNames names;
        for (const auto& spellings : entryMemberNames)
            names.entry.insert(names.entry.end(), std::begin(spellings), std::end(spellings));
        for (const PiplMemberNames& member : knownPiplMembers())
            names.description.push_back(member.name);
        return names;
    }();
    return known;
}

std::string __quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string __didYouMean(std::string_view written, const std::vector<std::string_view>& known)
{
    const std::string_view nearest = nearestName(written, known);
    return nearest.empty() ? "" : "; did you mean " + __quoted(nearest) + "?";
}

void __checkNames(const __Source& source, std::size_t object,
                  const std::vector<std::string_view>& known, const std::string& where,
                  StrictProblems& problems)
{
    for (std::size_t child : source.childrenOf(object)) {
        const std::string name = source.nameOf(child);
        if (std::find(known.begin(), known.end(), name) == known.end())
            problems.add(source[child].keyOffset, "unknown member " + __quoted(name) + " in "
                                                      + where + __didYouMean(name, known));
    }
}

/// A number as the lenient parser reads it, rounded half away from zero.
long long __numberOf(const __Source& source, std::size_t number)
{
    return std::llround(std::strtod(source.text.c_str() + source[number].offset, nullptr));
}

// A version word holds Major in 16 bits, then Minor and Revision in 8 each: a larger part
// runs into its neighbour.
void __checkVersion(const __Source& source, std::size_t version, const std::string& where,
                    StrictProblems& problems)
{
    static const std::pair<const char*, long long> parts[] = {
        {"Major", 65535}, {"Minor", 255}, {"Revision", 255}};
    for (const auto& [part, highest] : parts) {
        const std::size_t number = source.member(version, {part});
        if (!source.isA(number, __Kind::number))
            continue;
        const long long value = __numberOf(source, number);
        if (value < 0 || value > highest)
            problems.add(source[number].offset,
                         __quoted(part) + " of \"Version\" in " + where + " is "
                             + std::to_string(value) + ", which runs into the other parts; give "
                             + "a number from 0 to " + std::to_string(highest));
    }
}

void __checkLength(const __Source& source, std::size_t string, const std::string& what,
                   StrictProblems& problems)
{
    const std::size_t length = source.isA(string, __Kind::string) ? source.stringOf(string).size() : 0;
    if (length > 255)
        problems.add(source[string].offset, what + " is " + std::to_string(length)
                                                + " bytes; its length byte holds at most 255");
}

// A member's own object, or each object of its array, with its sub-members.
void __checkMemberObjects(const __Source& source, std::size_t value, const PiplMemberNames& names,
                          const std::string& where, StrictProblems& problems)
{
    std::vector<std::size_t> objects{value};
    if (source.isA(value, __Kind::array))
        objects = source.childrenOf(value);
    const std::string memberWhere = __quoted(names.name) + " of " + where;
    for (std::size_t object : objects) {
        if (!source.isA(object, __Kind::object))
            continue;
        __checkNames(source, object, names.subMembers, memberWhere, problems);
        for (std::string_view sub : names.lengthPrefixedSubMembers)
            __checkLength(source, source.member(object, {sub}), __quoted(sub) + " of " + memberWhere,
                          problems);
    }
}

// A raw record that the description already writes through a member: the host would find
// the key twice.
void __checkRawRecords(const __Source& source, std::size_t description, const std::string& where,
                       StrictProblems& problems)
{
    const std::size_t records = source.member(description, {"Properties"});
    if (!source.isA(records, __Kind::array))
        return;
    std::vector<std::string> memberNames;
    for (std::size_t child : source.childrenOf(description))
        memberNames.push_back(source.nameOf(child));
    const std::string pluginType = source.stringMember(description, "PluginType");
    for (std::size_t record : source.childrenOf(records)) {
        if (!source.isA(record, __Kind::object))
            continue;
        const std::string vendor = source.stringMember(record, "Vendor");
        const std::string key = source.stringMember(record, "Key");
        const std::string_view member =
            piplMemberWritingRecord(pluginType, memberNames, vendor, key);
        if (!member.empty())
            problems.add(source[record].offset,
                         "raw property '" + vendor + "' '" + key + "' in " + where
                             + " repeats a record the description writes; use "
                             + __quoted(member) + " instead");
    }
}

void __checkDescription(const __Source& source, std::size_t description, std::size_t entryIndex,
                        StrictProblems& problems)
{
    const std::string where = "the PiPL description of entry " + std::to_string(entryIndex);
    __checkNames(source, description, __known().description, where, problems);
    __checkRawRecords(source, description, where, problems);
    for (std::size_t child : source.childrenOf(description)) {
        const std::string name = source.nameOf(child);
        for (const PiplMemberNames& member : knownPiplMembers()) {
            if (member.name != name)
                continue;
            __checkMemberObjects(source, child, member, where, problems);
            if (member.lengthPrefixed)
                __checkLength(source, child, __quoted(name) + " of " + where, problems);
        }
        if (name == "Version" && source.isA(child, __Kind::object))
            __checkVersion(source, child, where, problems);
    }
}

void __checkFile(const __Source& source, std::size_t file, const std::string& ofEntry,
                 StrictProblems& problems)
{
    if (!source.isA(file, __Kind::string))
        return;
    const std::string path = source.stringOf(file);
    // A path with a byte the outputs cannot carry is reported as such, not quoted here.
    if (findUnsafeByte(memberFile, path))
        return;
    const std::size_t backslashes = path.find("\\\\");
    if (backslashes != std::string::npos)
        problems.add(source[file].offset + 1 + backslashes,
                     "escape \"\\\\\" in the file of " + ofEntry
                         + " is kept as written, not read as one backslash; write \"/\"");
    else if (!path.empty() && !kel::utils::fileExists(path))
        problems.add(source[file].offset, "file " + __quoted(path) + " of " + ofEntry + " does not exist");
}

// Two digits make a byte: Rez drops an odd last digit, the resource script writes a zero byte.
void __checkHexData(const __Source& source, std::size_t data, const std::string& ofEntry,
                    StrictProblems& problems)
{
    const std::string digits = source.stringOf(data);
    if (digits.size() % 2 == 1 && firstNonHexDigit(digits) == digits.size())
        problems.add(source[data].offset, "\"data\" of " + ofEntry + " has an odd number of hex "
                                              "digits (" + std::to_string(digits.size())
                                              + "); write two for each byte");
}

// A Mac resource type is four bytes; Rez takes a shorter or longer one as written. "SVG" alone
// is written as "SVG_". A type unfit for the outputs is reported as such, not here.
void __checkTypeLength(const __Source& source, std::size_t type, const std::string& ofEntry,
                       StrictProblems& problems)
{
    const std::string text = source.stringOf(type);
    if (text.size() == 4 || text == resourceTypeSVG || findUnsafeByte(memberType, text))
        return;
    problems.add(source[type].offset, "type " + __quoted(text) + " of " + ofEntry + " is "
                                          + std::to_string(text.size()) + " bytes long; a Mac "
                                          + "type has four, such as \"PNGI\" or \"snd \"");
}

// The texts that go into the outputs, by the loader's own rules, but placed at the value.
void __checkValues(const __Source& source, std::size_t entry, const std::string& ofEntry,
                   StrictProblems& problems)
{
    for (EntryMemberKind kind : {memberType, memberFile, memberName, memberDefine}) {
        const std::size_t member = source.entryMember(entry, kind);
        if (!source.isA(member, __Kind::string))
            continue;
        if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(kind, source.stringOf(member)))
            problems.add(source[member].offset, "the \"" + std::string(entryMemberNames[kind][0])
                                                    + "\" member of " + ofEntry + " "
                                                    + describeUnsafeByte(*unsafe));
    }
}

/// An entry's type and name, for the checks across entries.
struct __NamedEntry {
    std::string type;
    std::string name;
    std::size_t place;  // its "name", or its "file" when the name comes from it
    std::size_t index;
};

void __checkEntry(const __Source& source, std::size_t entry, std::size_t index,
                  std::vector<__NamedEntry>& named, StrictProblems& problems)
{
    const std::string ofEntry = "entry " + std::to_string(index);
    __checkValues(source, entry, ofEntry, problems);
    __checkNames(source, entry, __known().entry, ofEntry, problems);
    const std::size_t file = source.entryMember(entry, memberFile);
    __checkFile(source, file, ofEntry, problems);
    const std::size_t type = source.entryMember(entry, memberType);
    const std::size_t data = source.entryMember(entry, memberData);
    if (!source.isA(type, __Kind::string))
        return;
    __checkTypeLength(source, type, ofEntry, problems);
    if (file == __none && source.isA(data, __Kind::string))
        __checkHexData(source, data, ofEntry, problems);
    if (source.stringOf(type) == resourceTypePiPL && source.isA(data, __Kind::object))
        __checkDescription(source, data, index, problems);

    const std::size_t name = source.entryMember(entry, memberName);
    if (source.isA(name, __Kind::string))
        named.push_back({source.stringOf(type), source.stringOf(name), source[name].offset, index});
    else if (name == __none && source.isA(file, __Kind::string) && !source.stringOf(file).empty())
        named.push_back({source.stringOf(type), nameFromFilePath(source.stringOf(file)),
                         source[file].offset, index});
}

std::string __upperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Windows takes names without regard to letter case, and keeps one resource of a name.
void __checkSharedNames(const std::vector<__NamedEntry>& named, StrictProblems& problems)
{
    std::map<std::pair<std::string, std::string>, const __NamedEntry*> first;
    for (const __NamedEntry& entry : named) {
        if (entry.name.empty())
            continue;
        const auto found = first.try_emplace({entry.type, __upperCase(entry.name)}, &entry);
        if (found.second)
            continue;
        const __NamedEntry& earlier = *found.first->second;
        const std::string names = earlier.name == entry.name
                                      ? __quoted(entry.name)
                                      : __quoted(earlier.name) + " and " + __quoted(entry.name)
                                            + ", one name to Windows";
        problems.add(entry.place, "entries " + std::to_string(earlier.index) + " and "
                                      + std::to_string(entry.index) + " are both " + entry.type
                                      + " resources named " + names + "; give one another \"name\"");
    }
}

// A variant is numbered after its base image, which must be in the list.
void __checkVariantBases(const std::vector<__NamedEntry>& named, StrictProblems& problems)
{
    std::vector<std::string_view> baseStems;
    for (const __NamedEntry& entry : named)
        if (entry.type == resourceTypePNGI && !entry.name.empty() && pngVariantStem(entry.name).empty())
            baseStems.push_back(pngBaseStem(entry.name));
    for (const __NamedEntry& entry : named) {
        const std::string_view stem = pngVariantStem(entry.name);
        if (entry.type == resourceTypePNGI && !stem.empty()
            && std::find(baseStems.begin(), baseStems.end(), stem) == baseStems.end())
            problems.add(entry.place, "PNGI resource " + __quoted(entry.name) + " of entry "
                                          + std::to_string(entry.index) + " is a variant of "
                                          + __quoted(stem) + ", which is not in the list; add "
                                          + "that image or rename this one");
    }
}

}  // namespace

void checkStrictEntries(const StrictDocument& document, const std::string& text,
                        StrictProblems& problems)
{
    const __Source source{document, text};
    if (document.values.empty() || !source.isA(0, __Kind::array))
        return;
    std::vector<__NamedEntry> named;
    const std::vector<std::size_t> entries = source.childrenOf(0);
    for (std::size_t index = 0; index < entries.size(); ++index)
        if (source.isA(entries[index], __Kind::object))
            __checkEntry(source, entries[index], index, named, problems);
    __checkSharedNames(named, problems);
    __checkVariantBases(named, problems);
}

std::vector<StrictEntryPlace> strictEntryPlaces(const StrictDocument& document,
                                                const std::string& text)
{
    const __Source source{document, text};
    std::vector<StrictEntryPlace> places;
    if (document.values.empty() || !source.isA(0, __Kind::array))
        return places;
    for (std::size_t entry : source.childrenOf(0)) {
        StrictEntryPlace place{document.values[entry].offset};
        if (source.isA(entry, __Kind::object)) {
            const std::size_t id = source.entryMember(entry, memberId);
            if (id != __none)
                place.idName = document.values[id].keyOffset;
        }
        places.push_back(place);
    }
    return places;
}

}  // namespace kel::rez
