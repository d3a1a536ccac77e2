// The default terminology of Photoshop plug-ins: the member added to the description and the
// "aete" resource that describes it.
#include "output/HexEncoding.h"
#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

const std::string __defaultCode = "DfTm";
const std::int64_t __defaultTerminologyId = 1000;

void __addMember(Node& object, Node* created)
{
    AutoNode child(created);  // released once the object holds its own reference
    object.addMember(child.get());
}

// Length byte and bytes, without padding.
std::string __shortName(const std::string& name)
{
    return __int8ToHex(static_cast<signed char>(name.size() & 0xFFu)) + __strToHex(name);
}

std::string __macData(const std::string& pluginName)
{
    const ByteOrder order = ByteOrder::bigEndian;
    return "01000000" "00000001" + __shortName(pluginName) + "00" + __strToHex(__defaultCode) +
           __hex16(1, order) + __hex16(1, order) + "0001" + __shortName(pluginName) + "00" +
           __strToHex(__defaultCode) + __strToHex(__defaultCode) + __strToHex("null") + "00000000" +
           __strToHex("#ImR") + "0000B000" + "00000000" + "00000000";
}

std::string __winData(const std::string& pluginName)
{
    const ByteOrder order = ByteOrder::littleEndian;
    return "0100" "0100" "0000" "0000" "0100" + __shortName(pluginName) + "00" + __codeHex(__defaultCode, order) +
           __hex16(1, order) + __hex16(1, order) + "0100" + __shortName(pluginName) + "00" +
           __codeHex(__defaultCode, order) + __codeHex(__defaultCode, order) + __codeHex("null", order) + "00" +
           "0000" + __codeHex("#ImR", order) + "00" + "00B0" + "0000" + "0000" + "0000" + __hex16(1, order) +
           __codeHex("TCmd", order) + __hex16(1, order) + "00" + __codeHex("    ", order) + "00";
}

}  // namespace

void __supplyDefaultTerminology(Node& description, const std::string& pluginName)
{
    AutoNode terminology(Node::create(Node::TypeObject, "Terminology"));
    __addMember(*terminology.get(), Node::createStr("Class", __defaultCode));
    __addMember(*terminology.get(), Node::createStr("Event", __defaultCode));
    __addMember(*terminology.get(), Node::createInt("aete", __defaultTerminologyId));
    __addMember(*terminology.get(), Node::createStr("Name", pluginName));
    description.addMember(terminology.get());
}

PiplLists __terminologyResourceData(const std::string& pluginName)
{
    return {__macData(pluginName), __winData(pluginName)};
}

}  // namespace kel::rez
