// String functions on byte strings, conversions between string forms, number-to-text
// conversions (the text encodings have their own header).
// Functions that return raw arrays allocate them with array new; the caller frees them
// with array delete.
#ifndef KEL_UTILS_STRINGS_H
#define KEL_UTILS_STRINGS_H

#include <cstdint>
#include <string>

namespace kel::utils {

/// Number of occurrences of pattern in text, overlapping ones counted; 0 when pattern is
/// empty or longer than text.
unsigned int stringSubstrCount(const std::string& text, const std::string& pattern);

/// Splits text at every occurrence of delimiter. Returns false, leaving parts untouched and
/// count 0, when the delimiter does not occur. Otherwise parts receives a new array of
/// count strings (free it with delete[]).
bool stringSplit(const std::string& text, const std::string& delimiter, std::string*& parts,
                 unsigned int& count);

/// Text without leading and trailing space, tab, vertical tab, CR, LF and form feed.
std::string stringTrim(const std::string& text);

/// Replaces every occurrence of find; replaced text is never searched again.
std::string stringReplaceAll(const std::string& text, const std::string& find,
                             const std::string& replacement);

/// ASCII case mapping; UTF-8 multi-byte sequences are copied unchanged.
std::string stringUpper(const std::string& text);
std::string stringLower(const std::string& text);
/// ASCII case mapping of every byte, whatever stands around it: for names compared without
/// regard to case that need not be UTF-8.
std::string bytesUpper(std::string text);
std::string bytesLower(std::string text);

/// Decimal text of integers; floating values as a default output string stream writes them.
std::string itoa(int value);
std::string ltoa(std::int64_t value);
std::string ftoa(float value);
std::string dtoa(double value);
std::string ldtoa(long double value);

/// Replaces array (allocated with new[]) by a new array of 2 * count elements holding the
/// first count elements of the old one; capacity becomes 2 * count.
template <typename T>
void enlargeArray(unsigned int count, T*& array, unsigned int& capacity)
{
    T* larger = new T[2 * static_cast<std::size_t>(count)];
    for (unsigned int i = 0; i < count; ++i)
        larger[i] = std::move(array[i]);
    delete[] array;
    array = larger;
    capacity = 2 * count;
}

/// New zero-filled array of length + 1 holding text up to its first zero byte; caller frees.
char* stdStringToCString(const std::string& text);
/// "" for null, else a copy.
std::string cStringToStdString(const char* text);
/// Always true: copy receives a new array holding text and its terminator; caller frees.
bool unconstCString(const char* text, char*& copy);
/// Codes above 32767 as their four bytes (most significant first); others as decimal text.
std::string fourCharCodeToString(int code);
/// Length-prefixed copy (length byte, bytes, zero byte) in a new array; false (result null)
/// when the text up to its first zero byte is longer than 255 bytes.
bool stdStringToPString(const std::string& text, unsigned char*& result);
bool cStringToPString(const char* text, unsigned char*& result);
/// The counted bytes of a length-prefixed string (stopping at a zero byte); false for null.
bool pStringToStdString(const unsigned char* pString, std::string& result);
bool pStringToCString(const unsigned char* pString, char*& result);

}  // namespace kel::utils

#endif
