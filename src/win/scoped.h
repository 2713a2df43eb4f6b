#pragma once
#include <windows.h>

#include <utility>

// RAII for the platform's handles: each is released exactly once, when its scope ends.

// A WM_PAINT's device context, ended when the scope ends.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// A device context from GetDC (a window's, or the screen's for null), released at the end.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDC()
    {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context, the previous one put back when the scope ends.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() { SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A GDI object the scope created (brush, font, pen), deleted at the end.
template <class T> class ScopedGdiObject {
public:
    explicit ScopedGdiObject(T object = nullptr) : object_(object) {}
    ~ScopedGdiObject() { Reset(); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Takes the new object and deletes the old one, in that order.
    void Reset(T object = nullptr)
    {
        T old = std::exchange(object_, object);
        if (old)
            DeleteObject(old);
    }

private:
    T object_;
};
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;

// A memory device context the scope created, deleted at the end.
class ScopedDC {
public:
    explicit ScopedDC(HDC dc) : dc_(dc) {}
    ~ScopedDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A kernel HANDLE (file, process, thread), closed at the end. Both null and
// INVALID_HANDLE_VALUE count as no handle.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Gives the handle up: the caller closes it.
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    bool Close()
    {
        if (!valid())
            return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = nullptr;
        return closed;
    }

private:
    HANDLE handle_;
};

// An open registry key, closed at the end.
class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY get() const { return key_; }
    HKEY* out() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// A popup menu, destroyed at the end.
class ScopedMenu {
public:
    ScopedMenu() : menu_(CreatePopupMenu()) {}
    ~ScopedMenu()
    {
        if (menu_)
            DestroyMenu(menu_);
    }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};
