#include "inspect/LoadChecks.h"

#include <algorithm>
#include <cstdint>

#include "common/ExitStatus.h"
#include "pipl/PiplRecordReader.h"

namespace kel::rez {

namespace {

/// A property that names the entry point of one architecture's code.
struct __CodeProperty {
    const char* key;
    PiplPlatform platform;
    const char* architecture;  // as ModuleCode names it
};

const __CodeProperty __codeProperties[] = {
    {"mi64", PiplPlatform::mac, "x86_64"},  {"ma64", PiplPlatform::mac, "arm64"},
    {"wx86", PiplPlatform::windows, "x86"}, {"8664", PiplPlatform::windows, "x64"},
    {"wa64", PiplPlatform::windows, "ARM64"},
};

const __CodeProperty* __codePropertyWithKey(const std::string& key, PiplPlatform platform)
{
    for (const __CodeProperty& property : __codeProperties)
        if (property.platform == platform && key == property.key)
            return &property;
    return nullptr;
}

const __CodeProperty* __codePropertyFor(const std::string& architecture, PiplPlatform platform)
{
    for (const __CodeProperty& property : __codeProperties)
        if (property.platform == platform && architecture == property.architecture)
            return &property;
    return nullptr;
}

/// Text taken from a file, between quotes, with every byte that could end or forge a line
/// of the report (controls, quotes, backslashes) written as an escape.
std::string __quoted(const std::string& text, char quote)
{
    static const char digits[] = "0123456789abcdef";
    std::string shown(1, quote);
    for (unsigned char byte : text) {
        if (byte < 0x20 || byte == 0x7F)
            shown += std::string("\\x") + digits[byte >> 4] + digits[byte & 0xF];
        else if (byte == static_cast<unsigned char>(quote) || byte == '\\')
            shown += std::string("\\") + static_cast<char>(byte);
        else
            shown += static_cast<char>(byte);
    }
    return shown + quote;
}

/// Mac lists hold an entry point as a length-prefixed string, Windows lists as a
/// zero-terminated one; false when the record's bytes hold no such string.
bool __entryPointName(const PiplReadRecord& record, PiplPlatform platform, std::string& name)
{
    const std::vector<unsigned char>& data = record.data;
    if (platform == PiplPlatform::mac) {
        if (data.empty() || data[0] + 1u > data.size())
            return false;
        name.assign(data.begin() + 1, data.begin() + 1 + data[0]);
        return true;
    }
    const auto terminator = std::find(data.begin(), data.end(), 0);
    if (terminator == data.end())
        return false;
    name.assign(data.begin(), terminator);
    return true;
}

const ModuleCode* __codeOf(const LoadCheckInput& input, const std::string& architecture)
{
    for (const ModuleCode& code : input.code)
        if (code.architecture == architecture)
            return &code;
    return nullptr;
}

bool __exports(const ModuleCode& code, const std::string& name)
{
    return std::find(code.exports.begin(), code.exports.end(), name) != code.exports.end();
}

/// The checks of one PiPL, each failure reported with the PiPL's place among them.
class __PiplChecks
{
public:
    __PiplChecks(const LoadCheckInput& input, const std::vector<PiplReadRecord>& records,
                 std::string subject, Diagnostics& diagnostics)
        : __input(input), __records(records), __subject(std::move(subject)),
          __diagnostics(diagnostics)
    {
    }

    void checkKind() const;
    void checkTerminology() const;
    void checkEntryPoints() const;

private:
    void __fail(const std::string& message) const
    {
        __diagnostics.fail(statusPluginWouldNotLoad, __subject + message);
    }
    const PiplReadRecord* __record(const char* key) const;
    bool __isIllustrator() const;
    std::string __number(std::uint16_t value) const;
    void __checkExported(const PiplReadRecord& record, const ModuleCode& code) const;
    void __checkMacEntryPoints() const;
    void __checkWindowsEntryPoint(const ModuleCode& code) const;

    const LoadCheckInput& __input;
    const std::vector<PiplReadRecord>& __records;
    std::string __subject;
    Diagnostics& __diagnostics;
};

const PiplReadRecord* __PiplChecks::__record(const char* key) const
{
    for (const PiplReadRecord& record : __records)
        if (record.key == key)
            return &record;
    return nullptr;
}

/// The code as text: a list holds it as a number in its own byte order.
std::string __kindCode(const PiplReadRecord& record, PiplPlatform platform)
{
    const std::uint32_t value = piplRecordNumber(record, platform);
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8)
        code += static_cast<char>((value >> shift) & 0xFF);
    return code;
}

bool __PiplChecks::__isIllustrator() const
{
    const PiplReadRecord* kind = __record("kind");
    const PiplKind* row =
        kind ? __findPiplKindByCode(kind->vendor, __kindCode(*kind, __input.platform)) : nullptr;
    return row && row->family == PiplFamily::illustrator;
}

void __PiplChecks::checkKind() const
{
    const PiplReadRecord* kind = __record("kind");
    if (!kind)
        return __fail("the list has no 'kind' property");
    if (kind->data.size() < 4)
        return __fail("the 'kind' property holds " + std::to_string(kind->data.size())
                      + " bytes, not a four-character code");
    const std::string code = __kindCode(*kind, __input.platform);
    if (!__findPiplKindByCode(kind->vendor, code))
        __fail("the 'kind' property holds " + __quoted(code, '\'') + " (vendor "
               + __quoted(kind->vendor, '\'') + "), which is not a kind a PiPL description names");
}

/// A resource ID as the platform writes them: signed on the Mac, unsigned on Windows.
std::string __PiplChecks::__number(std::uint16_t value) const
{
    if (__input.platform == PiplPlatform::mac)
        return std::to_string(static_cast<std::int16_t>(value));
    return std::to_string(value);
}

void __PiplChecks::checkTerminology() const
{
    // The data: a version word, the class and event codes, then the 16-bit aete ID.
    constexpr std::size_t aeteIdAt = 12;
    for (const PiplReadRecord& record : __records) {
        if (record.key != "hstm")
            continue;
        if (record.data.size() < aeteIdAt + 2) {
            __fail("the 'hstm' property holds " + std::to_string(record.data.size())
                   + " bytes, too few to name an aete resource");
            continue;
        }
        const unsigned char* id = record.data.data() + aeteIdAt;
        const auto aeteId = static_cast<std::uint16_t>(
            __input.platform == PiplPlatform::mac ? id[0] << 8 | id[1] : id[1] << 8 | id[0]);
        const bool held =
            std::any_of(__input.aeteIds.begin(), __input.aeteIds.end(),
                        [aeteId](int held) { return static_cast<std::uint16_t>(held) == aeteId; });
        if (!held)
            __fail("the 'hstm' property names aete resource " + __number(aeteId)
                   + ", which the file does not hold");
    }
}

void __PiplChecks::__checkExported(const PiplReadRecord& record, const ModuleCode& code) const
{
    std::string name;
    if (!__entryPointName(record, __input.platform, name))
        return __fail("the '" + record.key + "' property holds no "
                      + (__input.platform == PiplPlatform::mac ? "length-prefixed"
                                                               : "zero-terminated")
                      + " entry point name");
    if (!__exports(code, name))
        __fail("the " + code.architecture + " code does not export " + __quoted(name, '"')
               + ", the entry point that '" + record.key + "' names");
}

/// Each Mac entry point names code of its own architecture, which a universal file holds as
/// one slice among others: a property whose slice is missing fails like a missing export.
void __PiplChecks::__checkMacEntryPoints() const
{
    for (const PiplReadRecord& record : __records) {
        const __CodeProperty* property = __codePropertyWithKey(record.key, PiplPlatform::mac);
        if (!property)
            continue;
        if (const ModuleCode* code = __codeOf(__input, property->architecture))
            __checkExported(record, *code);
        else
            __fail("'" + record.key + "' names an entry point of " + property->architecture
                   + " code, which the module does not hold");
    }
}

/// A Windows module holds the code of one machine, and every Photoshop list names entry
/// points for both x86 and x64: only the property of the module's own machine is the one its
/// host reads. Illustrator reads its 'wx86' property whatever the machine.
void __PiplChecks::__checkWindowsEntryPoint(const ModuleCode& code) const
{
    const __CodeProperty* property = __isIllustrator()
                                         ? __codePropertyWithKey("wx86", PiplPlatform::windows)
                                         : __codePropertyFor(code.architecture, PiplPlatform::windows);
    const PiplReadRecord* record = property ? __record(property->key) : nullptr;
    if (!record)
        return __fail("no " + (property ? "'" + std::string(property->key) + "' " : std::string())
                      + "property names the entry point of the module's " + code.architecture
                      + " code");
    __checkExported(*record, code);
}

void __PiplChecks::checkEntryPoints() const
{
    if (__input.platform == PiplPlatform::mac)
        return __checkMacEntryPoints();
    for (const ModuleCode& code : __input.code)
        __checkWindowsEntryPoint(code);
}

/// How messages name a PiPL: by its place when the file holds more than one.
std::string __piplSubject(std::size_t index, std::size_t count)
{
    if (count == 1)
        return "PiPL: ";
    return "PiPL " + std::to_string(index + 1) + " of " + std::to_string(count) + ": ";
}

}  // namespace

std::string checkPluginLoads(const LoadCheckInput& input, Diagnostics& diagnostics)
{
    if (input.pipls.empty())
        diagnostics.fail(statusPluginWouldNotLoad,
                         "the file holds no PiPL resource, so no host loads it as a plug-in");
    for (std::size_t index = 0; index < input.pipls.size(); ++index) {
        const std::vector<unsigned char>& bytes = input.pipls[index];
        const std::string subject = __piplSubject(index, input.pipls.size());
        const PiplReadList list = readPiplRecords(bytes.data(), bytes.size(), input.platform);
        if (!list.ok()) {
            diagnostics.fail(statusPluginWouldNotLoad, subject + "the list cannot be read: "
                                                           + list.error);
            continue;
        }
        const __PiplChecks checks(input, list.records, subject, diagnostics);
        checks.checkKind();
        checks.checkTerminology();
        if (input.hasCode)
            checks.checkEntryPoints();
    }
    if (!input.hasCode)
        return "Note: the export checks were skipped: the file holds resources alone, no code\n";
    return "";
}

ModuleCode moduleCodeOf(const PeModule& module)
{
    return {peMachineName(module.machine), module.exports};
}

std::vector<ModuleCode> moduleCodeOf(const std::vector<MachOSlice>& slices)
{
    std::vector<ModuleCode> code;
    for (const MachOSlice& slice : slices) {
        ModuleCode sliceCode{machCpuName(slice.cpuType), {}};
        // A C function's symbol is its name after an underscore; other symbols name no
        // entry point a host could call.
        for (const std::string& symbol : slice.exports)
            if (symbol.size() > 1 && symbol[0] == '_')
                sliceCode.exports.push_back(symbol.substr(1));
        code.push_back(std::move(sliceCode));
    }
    return code;
}

}  // namespace kel::rez
