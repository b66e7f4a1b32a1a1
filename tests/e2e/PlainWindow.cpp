// An ordinary client window for the end-to-end checks: white, 400 x 200 at (100, 100), named by the
// first argument, and writing one line per button press to standard output. Optionally without
// decorations (set before the window manager first sees it, as games and video players do); with a
// black X border of its own, as xev and other plain X clients keep; or with a largest size in its
// size hints. The last two leave a full-screen window short of the screen where the window manager
// keeps the border (i3) or the size (openbox).
// Usage: pipfield-e2e-window NAME [--undecorated] [--border PIXELS] [--max-size WIDTHxHEIGHT]

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
        std::fprintf(stderr, "usage: %s NAME [--undecorated] [--border PIXELS] [--max-size WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    bool undecorated = false;
    std::uint16_t border = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--undecorated") == 0) {
            undecorated = true;
        } else if (std::strcmp(argv[i], "--border") == 0 && i + 1 < argc) {
            border = static_cast<std::uint16_t>(std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--max-size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &maxWidth, &maxHeight) != 2) {
                std::fprintf(stderr, "not a size: %s\n", argv[i]);
                return 2;
            }
        } else {
            std::fprintf(stderr, "unknown option: %s\n", argv[i]);
            return 2;
        }
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    // Black, so that the border differs from the white inside wherever it shows.
    const std::uint32_t values[] = {screen->white_pixel, screen->black_pixel,
                                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 400, 200, border,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values);
    const char* name = argv[1];
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(std::strlen(name)), name);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(std::strlen(name)), name);
    const char wmClass[] = "plain\0Plain";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass,
                        wmClass);
    if (maxWidth > 0 && maxHeight > 0) {
        // WM_NORMAL_HINTS (ICCCM 4.1.2.3): flags, then four obsolete fields, then the minimum and the
        // maximum size; PMaxSize is flag 32.
        std::uint32_t hints[18] = {32};
        hints[7] = static_cast<std::uint32_t>(maxWidth);
        hints[8] = static_cast<std::uint32_t>(maxHeight);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18,
                            hints);
    }
    if (undecorated) {
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
