// One owner type per kind of Windows resource, each knowing its own invalid
// value, so that no exit path has to release anything by hand.
#pragma once

#include <windows.h>

#include <utility>

namespace quarn {

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership at the one point where the resource passes on.
    Value release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void reset(Value value = Traits::Invalid()) noexcept {
        Value old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Value value_ = Traits::Invalid();
};

// Process, thread, mutex and event handles are invalid at NULL.
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};

// File handles are invalid at INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};

struct FindHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { ::FindClose(value); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;

}  // namespace quarn
