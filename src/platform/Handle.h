#pragma once
// One move-only owner for every handle kind: a traits type names the value that means "none"
// and how a handle is closed.

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Value value) noexcept : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Value get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    Value release() noexcept { return std::exchange(value_, Traits::invalid()); }

    void reset(Value value = Traits::invalid()) noexcept
    {
        const Value old = std::exchange(value_, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }

    // For an out-parameter: closes what is held and hands out the slot.
    Value* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::invalid();
};

// Traits of a handle that is a pointer, none when null, closed by one function.
template <class Handle, auto Close>
struct PointerHandleTraits {
    using Value = Handle;
    static constexpr Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { Close(handle); }
};
