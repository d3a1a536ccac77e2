// Private to the utility library: the length of a UTF-8 sequence from its lead byte.
#ifndef KEL_UTILS_UTF8_H
#define KEL_UTILS_UTF8_H

#include <cstddef>

namespace kel::utils {

/// Length of the UTF-8 sequence a lead byte at or above 0xC2 starts; 1 for any other byte.
inline std::size_t __utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

}  // namespace kel::utils

#endif
