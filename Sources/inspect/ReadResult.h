// What a reader of a built module gives back: the value it read, or a message naming what
// is malformed (lower-case, without the "Error: " its caller puts before it).
#ifndef VANTREL_INSPECT_READ_RESULT_H
#define VANTREL_INSPECT_READ_RESULT_H

#include <string>
#include <utility>

namespace kel::rez {

template <typename Value>
struct ReadResult
{
    Value value{};
    std::string error;

    bool ok() const { return error.empty(); }

    static ReadResult failure(std::string message)
    {
        ReadResult result;
        result.error = std::move(message);
        return result;
    }
};

}  // namespace kel::rez

#endif
