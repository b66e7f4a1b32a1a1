// Gives a headless Wayland compositor's seat a pointer, and clicks with it: the compositor then
// sends pointer events to the surface under the cursor as it would for a mouse.
// Usage: pipfield-virtual-pointer WIDTH HEIGHT   then lines on standard input:
//   click X Y    moves to (X, Y) of the WIDTH x HEIGHT layout and clicks the left button, then moves
//                near the top of the left edge: there the cursor covers no pixel that is looked at,
//                and it stays over the window clicked (XWayland drops a click whose pointer leaves at once)
// Each command is answered with "done" once the compositor has handled it.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <linux/input-event-codes.h>
#include <sstream>
#include <string>

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void global(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat == nullptr) {
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener{global, globalRemove};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const auto width = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10));
    const auto height = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland compositor\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr || seat == nullptr) {
        std::fprintf(stderr, "the compositor has no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    std::cout << "ready" << std::endl;

    std::uint32_t time = 1;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        words >> command >> x >> y;
        if (command == "click") {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, time++, x, y, width, height);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, time++, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, time++, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_motion_absolute(pointer, time++, 0, height / 4, width, height);
            zwlr_virtual_pointer_v1_frame(pointer);
        }
        if (wl_display_roundtrip(display) < 0) {
            return 1;
        }
        std::cout << "done" << std::endl;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
