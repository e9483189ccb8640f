// Owners of Windows kernel handles and registry keys.
#pragma once

#include <windows.h>

namespace base {

// Owns a handle of the kind that Traits describes: its type, its "none"
// values and how it is closed.
template <typename Traits> class UniqueOwner {
public:
    using Handle = typename Traits::Handle;

    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    ~UniqueOwner() { reset(); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle get() const { return handle_; }
    Handle release()
    {
        Handle h = handle_;
        handle_ = nullptr;
        return h;
    }
    void reset(Handle handle = nullptr)
    {
        if (*this)
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    // INVALID_HANDLE_VALUE and null both mean "none".
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

using UniqueHandle = UniqueOwner<KernelHandleTraits>;

// Owns an open registry key.
class UniqueRegKey {
public:
    UniqueRegKey() = default;
    ~UniqueRegKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    UniqueRegKey(const UniqueRegKey&) = delete;
    UniqueRegKey& operator=(const UniqueRegKey&) = delete;

    HKEY get() const { return key_; }
    HKEY* put() { return &key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace base
