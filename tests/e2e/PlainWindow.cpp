// An ordinary client window for the end-to-end checks: white, 400 x 200 at (100, 100), named by the
// first argument, optionally without decorations (set before the window manager first sees it, as
// games and video players do), and writing one line per button press to standard output.
// Usage: pipfield-e2e-window NAME [--undecorated]

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s NAME [--undecorated]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 400, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                      values);
    const char* name = argv[1];
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(std::strlen(name)), name);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(std::strlen(name)), name);
    const char wmClass[] = "plain\0Plain";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass,
                        wmClass);
    if (argc > 2 && std::strcmp(argv[2], "--undecorated") == 0) {
        // Motif hints: flags = decorations given, decorations = none.
        const xcb_atom_t motif = atom(c, "_MOTIF_WM_HINTS");
        const std::uint32_t hints[] = {2, 0, 0, 0, 0};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, motif, motif, 32, 5, hints);
    }
    xcb_map_window(c, window);
    xcb_flush(c);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & ~0x80) == XCB_BUTTON_PRESS) {
            const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
            std::printf("ButtonPress %d at %d,%d\n", press->detail, press->root_x, press->root_y);
            std::fflush(stdout);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
