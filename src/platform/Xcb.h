#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

// Small helpers for talking to the X server through xcb, shared by the X11 desktop and the strip's
// window.
namespace pipfield::xcb {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
/// A reply or error that xcb allocated, freed with it.
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

/// The atoms of these names, in order, asked for together (one round trip); XCB_ATOM_NONE for any the
/// server does not answer.
std::vector<std::uint32_t> atoms(xcb_connection_t* c, const std::vector<const char*>& names);
std::uint32_t atom(xcb_connection_t* c, const char* name);

/// Replaces a property of 32-bit values.
void setProperty(xcb_connection_t* c, std::uint32_t window, std::uint32_t property, std::uint32_t type,
                 const std::vector<std::uint32_t>& values);

/// Withdraws a window as ICCCM asks: unmapped, and the window manager told by a synthetic UnmapNotify
/// on the root, which it hears even where it had not seen the window mapped.
void withdraw(xcb_connection_t* c, std::uint32_t root, std::uint32_t window);

} // namespace pipfield::xcb
