// The X server's own floor: no toolkit at all, a strip-sized window of the X server's (a 32-bit
// visual with an alpha channel where the server has one, as a translucent strip needs) into which
// worker-sized patches are put with xcb_put_image, one put per moved patch, so many times a second.
// What this costs the program and the X server is what any strip that paints that often must pay;
// what the real program costs above it is its own.
//
// With no patches it only wakes that often: what any program pays to be woken, before it paints.
//
//   pipfield-xcb-floor [--rate 18] [--patches 6] [--seconds 60]   prints cpu_percent over the run

#include "../CpuTime.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using pipfield::bench::cpuSeconds;

constexpr int kWidth = 746;
constexpr int kHeight = 72;
constexpr int kPatchWidth = 24;
constexpr int kPatchHeight = 40;

// A 32-bit visual of the screen, or 0 when it has none.
xcb_visualid_t alphaVisual(const xcb_screen_t* screen) {
    for (xcb_depth_iterator_t depth = xcb_screen_allowed_depths_iterator(screen); depth.rem != 0;
         xcb_depth_next(&depth)) {
        if (depth.data->depth != 32) {
            continue;
        }
        const xcb_visualtype_iterator_t visual = xcb_depth_visuals_iterator(depth.data);
        if (visual.rem != 0) {
            return visual.data->visual_id;
        }
    }
    return 0;
}

struct Options {
    double rate = 18;
    int patches = 6;
    double seconds = 60;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const double value = std::strtod(argv[i + 1], nullptr);
        if (name == "--rate" && value > 0) {
            options.rate = value;
        } else if (name == "--patches" && value >= 0) {
            options.patches = static_cast<int>(value);
        } else if (name == "--seconds" && value > 0) {
            options.seconds = value;
        }
    }
    return options;
}

void sleepUntil(timespec& at, long stepNs) {
    at.tv_nsec += stepNs;
    while (at.tv_nsec >= 1000000000L) {
        at.tv_nsec -= 1000000000L;
        ++at.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        std::fputs("pipfield-xcb-floor: no X server\n", stderr);
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem != 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_screen_t* screen = screens.data;

    xcb_visualid_t visual = alphaVisual(screen);
    std::uint8_t depth = 32;
    xcb_colormap_t colormap = 0;
    if (visual != 0) {
        colormap = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
    } else {
        visual = screen->root_visual;
        depth = screen->root_depth;
        colormap = screen->default_colormap;
    }
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {0, 0, XCB_EVENT_MASK_EXPOSURE, colormap};
    const auto x = static_cast<std::int16_t>((screen->width_in_pixels - kWidth) / 2);
    const auto y = static_cast<std::int16_t>(screen->height_in_pixels - kHeight);
    xcb_create_window(connection, depth, window, screen->root, x, y, kWidth, kHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      visual, XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    xcb_map_window(connection, window);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, window, 0, nullptr);
    xcb_flush(connection);

    // One column wider than a patch: a put carries the patch where it now stands and clears the
    // column it left.
    constexpr int putWidth = kPatchWidth + 1;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(putWidth) * kPatchHeight, 0xff2858c8u);
    for (int row = 0; row < kPatchHeight; ++row) {
        pixels[static_cast<std::size_t>(row) * putWidth] = 0; // the column left behind
    }
    const int lane = std::max(1, kWidth / std::max(1, options.patches) - putWidth);
    int step = 0;
    const auto stepNs = static_cast<long>(1e9 / options.rate);
    const long steps = static_cast<long>(options.seconds * options.rate);
    timespec at{};
    clock_gettime(CLOCK_MONOTONIC, &at);
    // A second to settle (the window manager maps the window), then the measured run.
    for (long i = 0; i < static_cast<long>(options.rate); ++i) {
        sleepUntil(at, stepNs);
    }
    const double start = cpuSeconds();
    for (long i = 0; i < steps; ++i) {
        step = (step + 1) % lane;
        for (int p = 0; p < options.patches; ++p) {
            const auto left = static_cast<std::int16_t>(p * (kWidth / options.patches) + step - 1);
            xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, putWidth, kPatchHeight,
                          std::max<std::int16_t>(0, left), kHeight - kPatchHeight - 2, 0, depth,
                          static_cast<std::uint32_t>(pixels.size() * sizeof(std::uint32_t)),
                          reinterpret_cast<const std::uint8_t*>(pixels.data()));
        }
        xcb_flush(connection);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            std::free(event);
        }
        sleepUntil(at, stepNs);
    }
    std::printf("xcbfloor rate=%g patches=%d cpu_percent=%.2f\n", options.rate, options.patches,
                100.0 * (cpuSeconds() - start) / options.seconds);
    xcb_disconnect(connection);
    return 0;
}
