// Move-only owners of Win32 handles, one alias per kind, and scoped GDI guards.
#pragma once

#include <windows.h>

template <typename Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type value) : value_(value) {}
    ~Unique() { reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const { return value_; }
    bool valid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return valid(); }
    void reset(Type value = Traits::Invalid()) {
        if (valid()) Traits::Close(value_);
        value_ = value;
    }
    Type release() {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }

private:
    Type value_ = Traits::Invalid();
};

struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
template <typename T>
struct GdiTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct DcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};
struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};
struct LocalTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<HandleTraits>;
using UniqueFont = Unique<GdiTraits<HFONT>>;
using UniquePen = Unique<GdiTraits<HPEN>>;
using UniqueBrush = Unique<GdiTraits<HBRUSH>>;
using UniqueBitmap = Unique<GdiTraits<HBITMAP>>;
using UniqueDC = Unique<DcTraits>;
using UniqueGlobal = Unique<GlobalTraits>;
using UniqueLocal = Unique<LocalTraits>;

// Selects an object into a DC for the guard's lifetime and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a DC's state for the guard's lifetime.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A window's display context for the guard's lifetime.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
