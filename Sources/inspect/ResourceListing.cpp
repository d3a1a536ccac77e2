#include "inspect/ResourceListing.h"

#include <map>

#include "common/HexEncoding.h"
#include "common/ListText.h"
#include "pipl/Pipl.h"
#include "pipl/PiplRecordReader.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

/// How one resource goes into the list.
struct __Entry {
    const InspectedResource* resource = nullptr;
    PiplDescription pipl;  // PiPL resources that a description gives back
    bool leftOut = false;  // an "aete" the description generates, or one a list cannot hold
};

std::string __hexOf(const std::vector<unsigned char>& bytes)
{
    return hexDigits(bytes.data(), bytes.size());
}

// ---- Printing

bool __isContainer(const Node& node)
{
    return node.nodeType() == Node::TypeObject || node.nodeType() == Node::TypeArray;
}

std::vector<const Node*> __childrenOf(const Node& node)
{
    std::vector<const Node*> children;
    if (node.nodeType() == Node::TypeArray)
        children.assign(node.elements()->begin(), node.elements()->end());
    else
        for (const auto& member : *node.members())
            children.push_back(member.second);
    return children;
}

void __appendValue(const Node& node, const std::string& indent, std::string& out);

/// A container of scalars stands on one line; one holding containers, one child a line.
void __appendContainer(const Node& node, const std::string& indent, std::string& out)
{
    const bool isObject = node.nodeType() == Node::TypeObject;
    const std::vector<const Node*> children = __childrenOf(node);
    bool flat = true;
    for (const Node* child : children)
        flat = flat && !__isContainer(*child);
    out += isObject ? "{" : "[";
    const std::string inner = indent + "\t";
    for (std::size_t i = 0; i < children.size(); ++i) {
        out += i ? "," : "";
        out += flat ? " " : "\n" + inner;
        if (isObject)
            out += quotedListText(children[i]->name()) + ": ";
        __appendValue(*children[i], inner, out);
    }
    out += children.empty() ? "" : flat ? " " : "\n" + indent;
    out += isObject ? "}" : "]";
}

void __appendValue(const Node& node, const std::string& indent, std::string& out)
{
    switch (node.nodeType()) {
    case Node::TypeBool:
        out += node.boolValue() ? "true" : "false";
        break;
    case Node::TypeNumber:
        out += std::to_string(node.intValue());
        break;
    case Node::TypeString:
        out += quotedListText(node.stringValue());
        break;
    default:
        __appendContainer(node, indent, out);
    }
}

void __appendEntry(const __Entry& entry, std::string& out)
{
    const InspectedResource& resource = *entry.resource;
    out += "\t{\n\t\t\"type\": " + quotedListText(resource.type) + ",\n\t\t\"id\": "
           + std::to_string(resource.id) + ",\n";
    if (!resource.name.empty())
        out += "\t\t\"name\": " + quotedListText(resource.name) + ",\n";
    out += "\t\t\"data\": ";
    if (entry.pipl.description)
        __appendValue(*entry.pipl.description.get(), "\t\t", out);
    else
        out += quotedListText(__hexOf(resource.bytes));
    out += "\n\t}";
}

// ---- Deciding

std::string __note(const InspectedResource& resource, const std::string& what)
{
    return "Note: " + resource.described + " " + what + "\n";
}

/// The generated terminology resources of the descriptions, by ID.
std::map<int, std::vector<__Entry*>> __generatedTerminologies(std::vector<__Entry>& entries)
{
    std::map<int, std::vector<__Entry*>> generated;
    for (__Entry& entry : entries)
        if (entry.pipl.description && entry.pipl.terminologyId)
            generated[entry.pipl.terminologyId].push_back(&entry);
    return generated;
}

/// An "aete" is left out when exactly one description generates it, byte for byte. Any
/// other is listed, which keeps the compiler from generating one with its ID; when the list
/// cannot hold it, the PiPLs that would generate one stay hex data.
void __decideTerminologies(std::vector<__Entry>& entries)
{
    std::map<int, std::vector<__Entry*>> generated = __generatedTerminologies(entries);
    std::map<int, std::vector<__Entry*>> held;
    for (__Entry& entry : entries)
        if (entry.resource->type == resourceTypeAETE)
            held[entry.resource->id].push_back(&entry);
    for (auto& [id, pipls] : generated) {
        const std::vector<__Entry*>& aetes = held[id];
        if (pipls.size() == 1 && aetes.size() == 1
            && pipls[0]->pipl.terminology == aetes[0]->resource->bytes) {
            aetes[0]->leftOut = true;
            continue;
        }
        if (aetes.size() == 1 && aetes[0]->resource->unlistable.empty())
            continue;  // listed, so that none is generated
        for (__Entry* pipl : pipls)
            pipl->pipl = PiplDescription();
    }
}

std::string __listedEntries(const std::vector<__Entry>& entries, std::string& notes)
{
    std::string text = "[";
    bool first = true;
    for (const __Entry& entry : entries) {
        const InspectedResource& resource = *entry.resource;
        if (entry.leftOut)
            continue;
        if (!resource.unlistable.empty()) {
            notes += __note(resource, "is left out: " + resource.unlistable);
            continue;
        }
        if (!resource.unlistableName.empty())
            notes += __note(resource, "is listed without its name: " + resource.unlistableName);
        if (resource.type == resourceTypePiPL && !entry.pipl.description)
            notes += __note(resource, "is kept as hex data: no description gives its bytes back");
        text += first ? "\n" : ",\n";
        first = false;
        __appendEntry(entry, text);
    }
    return text + "\n]\n";
}

}  // namespace

ResourceListing listResources(const InspectedFile& file)
{
    ResourceListing listing;
    std::vector<__Entry> entries;
    for (const InspectedResource& resource : file.resources) {
        __Entry entry;
        entry.resource = &resource;
        if (resource.type == resourceTypePiPL) {
            const PiplReadList list =
                readPiplRecords(resource.bytes.data(), resource.bytes.size(), file.platform);
            if (!list.ok()) {
                listing.error = resource.described + " is malformed: " + list.error;
                return listing;
            }
            if (resource.unlistable.empty())
                entry.pipl = describePipl(resource.bytes, file.platform);
        }
        entries.push_back(std::move(entry));
    }
    __decideTerminologies(entries);
    listing.text = __listedEntries(entries, listing.notes);
    return listing;
}

}  // namespace kel::rez
