#include "inspect/InspectedFile.h"

#include <algorithm>

#include "common/ListText.h"
#include "inspect/MacBundleReader.h"
#include "inspect/MacResourceFileReader.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "inspect/ResFileReader.h"
#include "kelutilsStrings.h"
#include "resources/Resource.h"
#include "resources/ResourceValues.h"

namespace kel::rez {

namespace {

using __Result = ReadResult<InspectedFile>;

std::string __listRange()
{
    return "a resource list holds IDs from " + std::to_string(lowestResourceId) + " to "
           + std::to_string(highestResourceId) + " only";
}

void __describe(InspectedResource& resource, const std::string& key)
{
    resource.described = "the " + resource.type + " resource " + key;
}

void __checkId(InspectedResource& resource, int id)
{
    if (resource.unlistable.empty() && (id < lowestResourceId || id > highestResourceId))
        resource.unlistable = __listRange();
}

void __checkName(InspectedResource& resource)
{
    if (!resource.name.empty() && !isPlainListText(resource.name)) {
        resource.unlistableName = "it holds a backslash, a control character or bytes that are "
                                  "not UTF-8";
        resource.name.clear();
    }
}

/// A type of plain text may still be one that a list refuses, as the .rc could not name it.
void __checkListType(const std::string& type, std::string& unlistable)
{
    if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(memberType, type))
        unlistable = "a resource list refuses its type: the \"type\" member "
                     + describeUnsafeByte(*unsafe);
}

/// A Windows type as a list names it: a resource compiler stores the list's types with
/// their ASCII letters upper-cased, so "PIPL" and "AETE" are the PiPL's and the aete's.
std::string __windowsListType(const WindowsResourceId& type, std::string& unlistable)
{
    if (type.isOrdinal) {
        unlistable = "a resource list names types by text, and this one is the number "
                     + std::to_string(type.ordinal);
        return type.text();
    }
    const std::string upper = kel::utils::bytesUpper(type.name);
    if (upper == "PIPL")
        return resourceTypePiPL;
    if (upper == "AETE")
        return resourceTypeAETE;
    if (!isPlainListText(type.name))
        unlistable = "its type holds a backslash, a control character or bytes that are not UTF-8";
    else
        __checkListType(type.name, unlistable);
    return type.name;
}

bool __sameResource(const WindowsResource& a, const WindowsResource& b)
{
    return a.type == b.type && a.bytes == b.bytes;
}

/// Each resource keyed by ID, named after the resource keyed by name that carries the same
/// type and bytes (a list entry with a name gives both keys); a name without such a twin
/// cannot be listed.
std::vector<InspectedResource> __fromWindows(const std::vector<WindowsResource>& resources)
{
    std::vector<InspectedResource> listed;
    std::vector<bool> paired(resources.size(), false);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const WindowsResource& resource = resources[i];
        if (!resource.name.isOrdinal)
            continue;
        InspectedResource entry;
        entry.type = __windowsListType(resource.type, entry.unlistable);
        entry.id = static_cast<std::int16_t>(resource.name.ordinal);
        entry.bytes = resource.bytes;
        __describe(entry, resource.name.text());
        __checkId(entry, resource.name.ordinal);
        for (std::size_t j = 0; j < resources.size(); ++j) {
            if (!paired[j] && !resources[j].name.isOrdinal && __sameResource(resource, resources[j])) {
                paired[j] = true;
                entry.name = resources[j].name.name;
                break;
            }
        }
        __checkName(entry);
        listed.push_back(std::move(entry));
    }
    for (std::size_t j = 0; j < resources.size(); ++j) {
        if (resources[j].name.isOrdinal || paired[j])
            continue;
        InspectedResource entry;
        entry.type = __windowsListType(resources[j].type, entry.unlistable);
        entry.name = resources[j].name.name;
        entry.bytes = resources[j].bytes;
        __describe(entry, "\"" + resources[j].name.name + "\"");
        entry.unlistable = "a resource list gives every resource an ID, and this one has a name only";
        listed.push_back(std::move(entry));
    }
    return listed;
}

/// A Mac type as a list names it: a shorter list type is stored right-aligned after zero bytes.
std::string __macListType(const std::string& type, std::string& unlistable)
{
    const std::size_t start = std::min(type.find_first_not_of('\0'), type.size());
    std::string listType = type.substr(start);
    if (listType.empty() || listType.find('\0') != std::string::npos
        || !isPlainListText(listType))
        unlistable = "its type holds a zero byte, a backslash, a control character or bytes that "
                     "are not UTF-8";
    else
        __checkListType(listType, unlistable);
    return listType;
}

void __addMac(const std::vector<MacResource>& resources, InspectedFile& file)
{
    for (const MacResource& resource : resources) {
        InspectedResource entry;
        entry.type = __macListType(resource.type, entry.unlistable);
        entry.id = resource.id;
        entry.name = resource.hasName ? resource.name : "";
        entry.bytes = resource.bytes;
        __describe(entry, std::to_string(resource.id));
        __checkId(entry, resource.id);
        __checkName(entry);
        file.resources.push_back(std::move(entry));
    }
}

__Result __fromPe(const std::vector<unsigned char>& bytes)
{
    const ReadResult<PeModule> module = readPeModule(bytes);
    if (!module.ok())
        return __Result::failure(module.error);
    __Result result;
    result.value.platform = PiplPlatform::windows;
    result.value.resources = __fromWindows(module.value.resources);
    result.value.hasCode = true;
    result.value.code.push_back(moduleCodeOf(module.value));
    return result;
}

__Result __fromBundle(const std::string& path)
{
    const ReadResult<MacBundle> bundle = readMacBundle(path);
    if (!bundle.ok())
        return __Result::failure(bundle.error);
    __Result result;
    result.value.platform = PiplPlatform::mac;
    for (const BundleFile& resourceFile : bundle.value.resourceFiles) {
        const auto resources = readMacResourceFile(resourceFile.bytes);
        if (!resources.ok())
            return __Result::failure(resourceFile.path + ": " + resources.error);
        __addMac(resources.value, result.value);
    }
    if (!bundle.value.hasExecutable)
        return result;
    const auto slices = readMachO(bundle.value.executable.bytes);
    if (!slices.ok())
        return __Result::failure(bundle.value.executable.path + ": " + slices.error);
    result.value.hasCode = true;
    result.value.code = moduleCodeOf(slices.value);
    return result;
}

}  // namespace

ReadResult<InspectedFile> readInspectedBytes(const std::vector<unsigned char>& bytes)
{
    if (looksLikePeModule(bytes))
        return __fromPe(bytes);
    __Result result;
    if (looksLikeResFile(bytes)) {
        const auto resources = readResFile(bytes);
        if (!resources.ok())
            return __Result::failure(resources.error);
        result.value.platform = PiplPlatform::windows;
        result.value.resources = __fromWindows(resources.value);
        return result;
    }
    if (looksLikeMachO(bytes))
        return __Result::failure("a Mach-O executable holds no resources: inspect the bundle "
                                 "folder it belongs to");
    const auto resources = readMacResourceFile(bytes);
    if (!resources.ok())
        return __Result::failure("not a Windows module or .res file, and as a Mac resource "
                                 "file: " + resources.error);
    result.value.platform = PiplPlatform::mac;
    __addMac(resources.value, result.value);
    return result;
}

ReadResult<InspectedFile> readInspectedFile(const std::string& path)
{
    __Result result;
    if (looksLikeMacBundle(path)) {
        result = __fromBundle(path);
    } else {
        std::vector<unsigned char> bytes;
        if (!readWholeFile(path, bytes))
            return __Result::failure("cannot read " + path);
        result = readInspectedBytes(bytes);
    }
    if (!result.ok())
        result.error = path + ": " + result.error;
    return result;
}

}  // namespace kel::rez
