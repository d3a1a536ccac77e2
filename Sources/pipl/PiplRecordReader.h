// Reads a compiled PiPL property list back into its records, for either platform: the
// inverse of the list header and record layout that PiplList writes.
#ifndef VANTREL_PIPL_RECORD_READER_H
#define VANTREL_PIPL_RECORD_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "pipl/PiplPropertyList.h"

namespace kel::rez {

/// One property as the list holds it. Codes read as text ("8BIM", "kind"), in the Mac
/// order on both platforms; data holds the declared length's bytes, without the padding.
struct PiplReadRecord {
    std::string vendor;
    std::string key;
    std::vector<unsigned char> data;
};

struct PiplReadList {
    std::vector<PiplReadRecord> records;
    std::string error;  // what is malformed, lower-case; empty when the list read whole

    bool ok() const { return error.empty(); }
};

/// The records of a PiPL resource's bytes. Every length is checked against the bytes that
/// exist, so a truncated or hostile list gives an error and never a read past its end.
PiplReadList readPiplRecords(const unsigned char* bytes, std::size_t size, PiplPlatform platform);

/// The record's data as a 32-bit number in the list's byte order; 0 when it has fewer bytes.
std::uint32_t piplRecordNumber(const PiplReadRecord& record, PiplPlatform platform);

/// A width-byte number (1, 2 or 4) at offset of data in the platform's byte order; false
/// when it does not lie inside data.
bool piplNumberAt(const std::vector<unsigned char>& data, std::size_t offset, unsigned width,
                  PiplPlatform platform, std::uint32_t& value);
/// A four-character code at offset, stored as a number in the platform's byte order.
bool piplCodeAt(const std::vector<unsigned char>& data, std::size_t offset, PiplPlatform platform,
                std::string& code);
/// The text of a length-prefixed string at offset; false when it runs past data.
bool piplLengthPrefixedAt(const std::vector<unsigned char>& data, std::size_t offset,
                          std::string& text);
/// The text before the first zero byte from offset; false when no zero byte follows.
bool piplZeroTerminatedAt(const std::vector<unsigned char>& data, std::size_t offset,
                          std::string& text);

}  // namespace kel::rez

#endif
