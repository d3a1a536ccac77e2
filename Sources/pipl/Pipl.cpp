// The PiPL compiler's one pass: prologue checks, then the member walk that checks and encodes
// each member, then the hand-off of the finished lists to the emitters.
#include "pipl/Pipl.h"

#include "pipl/PiplInternal.h"
#include "output/ResourceScriptText.h"
#include "output/RezText.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

const std::int16_t __terminologyResourceId = 1000;

std::string __pluginNameOf(const Node& description)
{
    AutoNode name(description.member("Name"));
    return name ? name->stringValue() : std::string();
}

// Checks every member in ascending name order and appends what each yields. The map is not
// changed during the walk, so its pointers stay valid; each is still held while in use.
bool __walkMembers(const Node& description, const PiplKind& kind, const std::string& pluginName,
                   PiplLists& lists)
{
    for (const auto& [name, member] : *description.members()) {
        AutoNode value(Node::acquire(member));
        if (!value)
            continue;
        if (!__checkPiplMember(name, *value.get(), kind.family))
            return false;
        __appendMemberProperty(name, *value.get(), pluginName, kind.family, lists);
    }
    return true;
}

bool __emitTerminologyResource(const std::string& pluginName, std::string& macText, std::string& winText)
{
    Resource terminology;
    terminology.type = resourceTypeAETE;
    terminology.id = __terminologyResourceId;
    PiplLists data = __terminologyResourceData(pluginName);
    return __processByteStrMac(terminology, data.mac, macText) &&
           __processByteStrWin(terminology, data.win, winText, false);
}

}  // namespace

bool __processPiPL(const Resource& res, std::string& macText, std::string& winText,
                   std::vector<unsigned char>& piplBytes)
{
    Node* description = res.dataObject.get();
    const PiplKind* kind = nullptr;
    if (!__checkPiplPrologue(description, kind))
        return false;

    std::string pluginName = __pluginNameOf(*description);
    if (kind->family == PiplFamily::photoshop) {
        AutoNode terminology(description->member("Terminology"));
        if (!terminology)
            __supplyDefaultTerminology(*description, pluginName);
    }

    // Everything is built apart from the caller's texts, so a failed check leaves them as they were.
    PiplLists lists;
    __appendListHeaders(__countProperties(*description, *kind), lists);
    __appendFixedProperties(*kind, lists);
    if (!__walkMembers(*description, *kind, pluginName, lists))
        return false;

    if (!__processByteStrMac(res, lists.mac, macText) || !__processByteStrWin(res, lists.win, winText, false))
        return false;
    if (kind->family == PiplFamily::photoshop)
        return __emitTerminologyResource(pluginName, macText, winText);
    __appendByteImage(pluginName, piplBytes);
    return true;
}

}  // namespace kel::rez
