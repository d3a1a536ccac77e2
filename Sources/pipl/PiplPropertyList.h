// One platform's PiPL property list: byte order, padded strings, records, the list header, and
// the properties that the plug-in's kind fixes whatever its description holds.
#ifndef VANTREL_PIPL_PROPERTY_LIST_H
#define VANTREL_PIPL_PROPERTY_LIST_H

#include <cstdint>
#include <string>
#include <vector>

#include "common/HexEncoding.h"

namespace kel::rez {

/// Vendor codes: the Photoshop family's own, and Illustrator's (also used by the Photoshop
/// actions property).
inline constexpr const char* __photoshopVendor = "8BIM";
inline constexpr const char* __illustratorVendor = "ADBE";

enum class PiplFamily { illustrator, photoshop };

/// One row of the table of plug-in kinds.
struct PiplKind {
    const char* pluginType;  // the "PluginType" value that selects the row
    PiplFamily family;
    const char* entryPoint;
    const char* kindCode;
    std::uint32_t version;    // the 'vers' value (Photoshop only)
    bool hasActionsProperty;  // adds the 'AcpM' property
};

/// The row for a "PluginType" value, compared exactly; null when the value is unsupported.
const PiplKind* __findPiplKind(const std::string& pluginType);
/// The row whose 'kind' property a list holds as vendor and code (Illustrator's vendor for
/// the Illustrator family, Photoshop's for the rest); null when no row has them.
const PiplKind* __findPiplKindByCode(const std::string& vendor, const std::string& kindCode);

/// Mac lists are big-endian; Windows lists little-endian, after a reserved word.
enum class PiplPlatform { mac, windows };

/// A record's data in the list's byte order, padding included, and the length it declares.
struct PiplData : HexBytes {
    std::uint32_t declaredLength = 0;
};

/// Builds data in one list's byte order, each part appended in place.
class PiplDataBuilder
{
public:
    /// Room for capacity bytes from the start: most record data takes one allocation.
    explicit PiplDataBuilder(PiplPlatform platform, std::size_t capacity = 32)
        : __platform(platform)
    {
        __data.bytes.reserve(capacity);
    }

    /// A width-byte number (1, 2 or 4) in the list's order.
    PiplDataBuilder& number(std::uint32_t value, unsigned width);
    /// A number with its high byte first on both platforms, as flag sets are stored.
    PiplDataBuilder& highByteFirst(std::uint32_t value, unsigned width);
    /// The four-character code of text (space padded, cut after four) as a 32-bit number.
    PiplDataBuilder& code(const std::string& text);
    PiplDataBuilder& zeros(std::size_t count);
    PiplDataBuilder& text(const std::string& text);
    /// Length byte, the bytes, then 1 to 4 zero bytes up to a multiple of four.
    PiplDataBuilder& lengthPrefixed(const std::string& text);
    /// The bytes, then 1 to 4 zero bytes (the first is the terminator) up to a multiple of four.
    PiplDataBuilder& zeroTerminated(const std::string& text);
    /// Hex digits taken byte for byte, whose digits the texts keep as typed.
    PiplDataBuilder& typedHex(std::string_view digits);
    PiplDataBuilder& append(const HexBytes& data);

    /// What was appended, as it stands; the builder is left empty.
    HexBytes bytes() { return std::move(__data); }
    /// What was appended as a record's data: declared as long as it is, then padded with zero
    /// bytes to a multiple of four.
    PiplData recordData();

private:
    PiplPlatform __platform;
    HexBytes __data;
};

/// Length-prefixed, and zero-terminated, record data (see the builder).
PiplData __lengthPrefixedString(const std::string& text);
PiplData __zeroTerminatedString(const std::string& text);

struct PiplRecord {
    std::string vendor;
    std::string key;
    PiplData data;                 // already in the list's byte order
    const char* member = nullptr;  // fixed properties: the member that sets or chooses them
};

/// The records of one platform's list, in order; the count in its header is their number.
class PiplList
{
public:
    /// Starts with the fixed properties of the kind on the platform; a Photoshop kind's
    /// entry-point properties name entryPoint.
    PiplList(const PiplKind& kind, PiplPlatform platform, const std::string& entryPoint);

    PiplPlatform platform() const { return __platform; }
    void append(PiplRecord record);
    /// Gives the first property with key (a fixed one) new data, in its place.
    void replaceData(const std::string& key, PiplData data);
    /// The member that sets or chooses the fixed property with vendor and key; null when the
    /// list has no such fixed property.
    const char* fixedPropertyMember(const std::string& vendor, const std::string& key) const;
    const std::vector<PiplRecord>& records() const { return __records; }
    /// Header and records.
    HexBytes bytes() const;

private:
    PiplPlatform __platform;
    std::vector<PiplRecord> __records;
};

}  // namespace kel::rez

#endif
