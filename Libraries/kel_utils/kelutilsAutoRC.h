// Scoped owner of one reference on an intrusively counted object (release() / static acquire()).
#ifndef KEL_UTILS_AUTORC_H
#define KEL_UTILS_AUTORC_H

namespace kel::utils {

template <typename T>
class AutoRC
{
public:
    /// Adopts the reference it is given: no acquire.
    explicit AutoRC(T* object = nullptr)
        : __object(object)
    {
    }
    /// Copies share: each holds its own reference.
    AutoRC(const AutoRC& other)
        : __object(T::acquire(other.__object))
    {
    }
    AutoRC& operator=(const AutoRC& other) { return *this = other.__object; }
    ~AutoRC() noexcept { reset(); }

    /// Shares the incoming object: it is acquired, the one held before is released.
    AutoRC& operator=(T* object)
    {
        if (object != __object) {
            T* previous = __object;
            __object = T::acquire(object);
            if (previous)
                previous->release();
        }
        return *this;
    }

    T* get() const { return __object; }
    T* operator->() const { return __object; }
    explicit operator bool() const { return __object != nullptr; }

    /// Releases the held reference, if any.
    void reset() noexcept
    {
        if (__object) {
            T* held = __object;
            __object = nullptr;
            held->release();
        }
    }

private:
    T* __object;
};

}  // namespace kel::utils

#endif
