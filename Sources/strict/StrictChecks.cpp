#include "strict/StrictChecks.h"

#include <algorithm>
#include <string_view>

#include "strict/NearestName.h"
#include "kelutilsFiles.h"
#include "pipl/Pipl.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceValues.h"

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
        const StrictValue& value = document.values[index];
        return strictStringText(text, value.keyOffset, value.keyEnd);
    }

    std::string stringOf(std::size_t index) const
    {
        const StrictValue& value = document.values[index];
        return strictStringText(text, value.offset, value.end);
    }

    bool isA(std::size_t index, __Kind kind) const
    {
        return index != __none && document.values[index].kind == kind;
    }

    /// The name of a member as written, escapes and all.
    std::string_view writtenNameOf(std::size_t index) const
    {
        const StrictValue& value = document.values[index];
        return std::string_view(text).substr(value.keyOffset + 1,
                                             value.keyEnd - value.keyOffset - 2);
    }

    /// The member of object the loader reads for kind: the first of its names present, and
    /// of repeated names the first, which is the one the lenient parser keeps.
    std::size_t entryMember(std::size_t object, EntryMemberKind kind) const
    {
        // The spellings hold no quote or backslash, so names as written compare as when read.
        for (std::string_view name : entryMemberNames[kind])
            for (std::size_t child = document.values[object].firstChild; child != __none;
                 child = document.values[child].nextSibling)
                if (writtenNameOf(child) == name)
                    return child;
        return __none;
    }
};

std::vector<std::string_view> __entryNames()
{
    std::vector<std::string_view> names;
    for (const auto& spellings : entryMemberNames)
        names.insert(names.end(), std::begin(spellings), std::end(spellings));
    return names;
}

std::vector<std::string_view> __descriptionNames()
{
    std::vector<std::string_view> names;
    for (const PiplMemberNames& member : knownPiplMembers())
        names.push_back(member.name);
    return names;
}

void __checkNames(const __Source& source, std::size_t object,
                  const std::vector<std::string_view>& known, const std::string& where,
                  StrictProblems& problems)
{
    for (std::size_t child = source[object].firstChild; child != __none;
         child = source[child].nextSibling) {
        const std::string name = source.nameOf(child);
        if (std::find(known.begin(), known.end(), name) != known.end())
            continue;
        std::string message = "unknown member \"" + name + "\" in " + where;
        const std::string_view suggestion = nearestName(name, known);
        if (!suggestion.empty())
            message += "; did you mean \"" + std::string(suggestion) + "\"?";
        problems.add(source[child].keyOffset, message);
    }
}

// The objects a description member holds: the value itself, or the elements of an array.
void __checkSubMembers(const __Source& source, std::size_t member, const PiplMemberNames& names,
                       const std::string& where, StrictProblems& problems)
{
    const std::string memberWhere = "\"" + std::string(names.name) + "\" of " + where;
    if (source.isA(member, __Kind::object))
        __checkNames(source, member, names.subMembers, memberWhere, problems);
    if (!source.isA(member, __Kind::array))
        return;
    for (std::size_t element = source[member].firstChild; element != __none;
         element = source[element].nextSibling)
        if (source.isA(element, __Kind::object))
            __checkNames(source, element, names.subMembers, memberWhere, problems);
}

/// The member of object named name (the first of that name), or none.
std::size_t __memberNamed(const __Source& source, std::size_t object, const std::string& name)
{
    for (std::size_t child = source[object].firstChild; child != __none;
         child = source[child].nextSibling)
        if (source.nameOf(child) == name)
            return child;
    return __none;
}

std::string __stringMember(const __Source& source, std::size_t object, const std::string& name)
{
    const std::size_t member = __memberNamed(source, object, name);
    return source.isA(member, __Kind::string) ? source.stringOf(member) : std::string();
}

// A raw record that the description already writes through a member: the host would find
// the key twice.
void __checkRawRecords(const __Source& source, std::size_t description, const std::string& where,
                       StrictProblems& problems)
{
    const std::size_t records = __memberNamed(source, description, "Properties");
    if (!source.isA(records, __Kind::array))
        return;
    std::vector<std::string> memberNames;
    for (std::size_t child = source[description].firstChild; child != __none;
         child = source[child].nextSibling)
        memberNames.push_back(source.nameOf(child));
    const std::string pluginType = __stringMember(source, description, "PluginType");
    for (std::size_t record = source[records].firstChild; record != __none;
         record = source[record].nextSibling) {
        if (!source.isA(record, __Kind::object))
            continue;
        const std::string vendor = __stringMember(source, record, "Vendor");
        const std::string key = __stringMember(source, record, "Key");
        const std::string_view member =
            piplMemberWritingRecord(pluginType, memberNames, vendor, key);
        if (!member.empty())
            problems.add(source[record].offset,
                         "raw property '" + vendor + "' '" + key + "' in " + where
                             + " repeats a record the description writes; use \""
                             + std::string(member) + "\" instead");
    }
}

void __checkDescription(const __Source& source, std::size_t description, std::size_t entryIndex,
                        StrictProblems& problems)
{
    const std::vector<PiplMemberNames>& members = knownPiplMembers();
    static const std::vector<std::string_view> names = __descriptionNames();
    const std::string where = "the PiPL description of entry " + std::to_string(entryIndex);
    __checkNames(source, description, names, where, problems);
    __checkRawRecords(source, description, where, problems);

    for (std::size_t child = source[description].firstChild; child != __none;
         child = source[child].nextSibling) {
        const std::string name = source.nameOf(child);
        const auto known = std::find_if(members.begin(), members.end(),
                                        [&](const PiplMemberNames& m) { return m.name == name; });
        if (known != members.end() && !known->subMembers.empty())
            __checkSubMembers(source, child, *known, where, problems);
    }
}

void __checkFile(const __Source& source, std::size_t file, std::size_t entryIndex,
                 StrictProblems& problems)
{
    if (!source.isA(file, __Kind::string))
        return;
    const std::string path = source.stringOf(file);
    // A path with a byte the outputs cannot carry is reported as such, not quoted here.
    if (findUnsafeByte(memberFile, path))
        return;
    if (!path.empty() && !kel::utils::fileExists(path))
        problems.add(source[file].offset, "file \"" + path + "\" of entry "
                                              + std::to_string(entryIndex) + " does not exist");
}

// The texts that go into the outputs, by the loader's own rules, but placed at the value.
void __checkValues(const __Source& source, std::size_t entry, std::size_t entryIndex,
                   StrictProblems& problems)
{
    for (EntryMemberKind kind : {memberType, memberFile, memberName, memberDefine}) {
        const std::size_t member = source.entryMember(entry, kind);
        if (!source.isA(member, __Kind::string))
            continue;
        if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(kind, source.stringOf(member)))
            problems.add(source[member].offset,
                         "the \"" + std::string(entryMemberNames[kind][0]) + "\" member of entry "
                             + std::to_string(entryIndex) + " " + describeUnsafeByte(*unsafe));
    }
}

void __checkEntry(const __Source& source, std::size_t entry, std::size_t entryIndex,
                  StrictProblems& problems)
{
    __checkValues(source, entry, entryIndex, problems);
    static const std::vector<std::string_view> entryNames = __entryNames();
    __checkNames(source, entry, entryNames, "entry " + std::to_string(entryIndex), problems);
    __checkFile(source, source.entryMember(entry, memberFile), entryIndex, problems);

    const std::size_t type = source.entryMember(entry, memberType);
    const std::size_t data = source.entryMember(entry, memberData);
    if (source.isA(type, __Kind::string) && source.stringOf(type) == resourceTypePiPL
        && source.isA(data, __Kind::object))
        __checkDescription(source, data, entryIndex, problems);
}

}  // namespace

void checkStrictEntries(const StrictDocument& document, const std::string& text,
                        StrictProblems& problems)
{
    const __Source source{document, text};
    if (document.values.empty() || document.values[0].kind != __Kind::array)
        return;
    std::size_t entryIndex = 0;
    for (std::size_t entry = document.values[0].firstChild; entry != __none;
         entry = document.values[entry].nextSibling, ++entryIndex)
        if (source.isA(entry, __Kind::object))
            __checkEntry(source, entry, entryIndex, problems);
}

std::vector<StrictEntryPlace> strictEntryPlaces(const StrictDocument& document,
                                                const std::string& text)
{
    const __Source source{document, text};
    std::vector<StrictEntryPlace> places;
    if (document.values.empty() || document.values[0].kind != __Kind::array)
        return places;
    for (std::size_t entry = document.values[0].firstChild; entry != __none;
         entry = document.values[entry].nextSibling) {
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
