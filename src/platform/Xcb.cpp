#include "platform/Xcb.h"

#include <cstring>

namespace pipfield::xcb {

std::vector<std::uint32_t> atoms(xcb_connection_t* c, const std::vector<const char*>& names) {
    std::vector<xcb_intern_atom_cookie_t> asked;
    asked.reserve(names.size());
    for (const char* name : names) {
        asked.push_back(xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
    }
    std::vector<std::uint32_t> found;
    found.reserve(names.size());
    for (const xcb_intern_atom_cookie_t cookie : asked) {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
        found.push_back(reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE));
    }
    return found;
}

std::uint32_t atom(xcb_connection_t* c, const char* name) {
    return atoms(c, {name}).front();
}

void setProperty(xcb_connection_t* c, std::uint32_t window, std::uint32_t property, std::uint32_t type,
                 const std::vector<std::uint32_t>& values) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, 32, static_cast<std::uint32_t>(values.size()),
                        values.data());
}

void withdraw(xcb_connection_t* c, std::uint32_t root, std::uint32_t window) {
    xcb_unmap_window(c, window);
    xcb_unmap_notify_event_t withdrawn{};
    withdrawn.response_type = XCB_UNMAP_NOTIFY;
    withdrawn.event = root;
    withdrawn.window = window;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&withdrawn));
}

} // namespace pipfield::xcb
