// Pieces of the PiPL compiler shared by its own files; nothing outside Pipl*.cpp includes this.
#ifndef VANTREL_PIPL_INTERNAL_H
#define VANTREL_PIPL_INTERNAL_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "keljsonNode.h"

namespace kel::rez {

enum class PiplFamily { illustrator, photoshop };

/// One row of the table of plug-in kinds.
struct PiplKind {
    const char* pluginType;  // the "PluginType" value that selects the row
    PiplFamily family;
    const char* entryPoint;
    const char* kindCode;
    std::uint32_t version;   // the 'vers' value (Photoshop only)
    bool hasActionsProperty; // adds the 'AcpM' property
};

/// The row for a "PluginType" value, compared exactly; null when the value is unsupported.
const PiplKind* __findPiplKind(const std::string& pluginType);

/// The Mac (big-endian) and Windows (little-endian) property lists, built side by side as hex.
struct PiplLists {
    std::string mac;
    std::string win;
};

enum class ByteOrder { bigEndian, littleEndian };

std::string __hex16(std::uint16_t value, ByteOrder order);
std::string __hex32(std::uint32_t value, ByteOrder order);
/// The four-character code of text (space padded, cut after four) as 32-bit hex.
std::string __codeHex(const std::string& text, ByteOrder order);

/// A string laid out with trailing zero padding, and the length its record declares for it.
struct PaddedString {
    std::string hex;
    std::uint32_t length;
};

/// Length byte, the bytes, then 1 to 4 zero bytes up to a multiple of four.
PaddedString __lengthPrefixedString(const std::string& text);
/// The bytes, then 1 to 4 zero bytes (the first is the terminator) up to a multiple of four.
PaddedString __zeroTerminatedString(const std::string& text);

/// Appends one property record: vendor, key, id 0, declared length, then the data as given.
void __appendRecord(std::string& list, ByteOrder order, const std::string& vendor,
                    const std::string& key, std::uint32_t declaredLength, const std::string& dataHex);

/// Appends the same property to both lists; data is asked for once per byte order.
void __appendRecordToBoth(PiplLists& lists, const std::string& vendor, const std::string& key,
                          std::uint32_t declaredLength,
                          const std::function<std::string(ByteOrder)>& data);

/// Number of property records of each list.
struct PiplCounts {
    std::uint32_t mac;
    std::uint32_t win;
};

/// Counts the records the description will yield, from one walk over its members. Expects a
/// description that has its terminology member when it is of the Photoshop family.
PiplCounts __countProperties(const kel::json::Node& description, const PiplKind& kind);

/// Checks that come before the member walk; sets kind. False after printing the message.
bool __checkPiplPrologue(const kel::json::Node* description, const PiplKind*& kind);
/// Checks one member met by the walk; unrecognised names pass. False after printing the message.
bool __checkPiplMember(const std::string& name, const kel::json::Node& value, PiplFamily family);

void __appendListHeaders(const PiplCounts& counts, PiplLists& lists);
void __appendFixedProperties(const PiplKind& kind, PiplLists& lists);
/// Appends the property a checked member yields for the family, if any.
void __appendMemberProperty(const std::string& name, const kel::json::Node& value,
                            const std::string& pluginName, PiplFamily family, PiplLists& lists);

/// Adds the default "Terminology" member (codes 'DfTm', "aete" 1000, the plug-in's name).
void __supplyDefaultTerminology(kel::json::Node& description, const std::string& pluginName);
/// The "aete" resource data that describes the default terminology of the plug-in.
PiplLists __terminologyResourceData(const std::string& pluginName);

/// Appends one Illustrator block of the raw PiPL byte image.
void __appendByteImage(const std::string& pluginName, std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
