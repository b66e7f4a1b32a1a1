// Switches one of KWin's outputs off or on, as the display settings do, through KWin's output
// management protocol. Exits 0 once KWin has applied the change, 1 when it refuses or the output is
// unknown.
// Usage: pipfield-kwin-output NAME enable|disable
#include "kde-output-device-v2-client-protocol.h"
#include "kde-output-management-v2-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Device {
    kde_output_device_v2* proxy = nullptr;
    std::string name;
};

struct State {
    wl_registry* registry = nullptr;
    kde_output_management_v2* management = nullptr;
    std::vector<Device*> devices;
    int outcome = -1; // 1 applied, 0 failed
};

// The devices send many events of which only the name matters here: a dispatcher sees them all
// without a handler for each.
int deviceEvent(const void*, void* target, std::uint32_t, const wl_message* message, wl_argument* args) {
    auto* device = static_cast<Device*>(wl_proxy_get_user_data(static_cast<wl_proxy*>(target)));
    if (std::strcmp(message->name, "name") == 0 && args[0].s != nullptr) {
        device->name = args[0].s;
    }
    return 0;
}

int configurationEvent(const void*, void* target, std::uint32_t, const wl_message* message, wl_argument*) {
    auto* state = static_cast<State*>(wl_proxy_get_user_data(static_cast<wl_proxy*>(target)));
    if (std::strcmp(message->name, "applied") == 0) {
        state->outcome = 1;
    } else if (std::strcmp(message->name, "failed") == 0) {
        state->outcome = 0;
    }
    return 0;
}

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    auto* state = static_cast<State*>(data);
    if (std::strcmp(interface, kde_output_management_v2_interface.name) == 0) {
        state->management = static_cast<kde_output_management_v2*>(
            wl_registry_bind(registry, name, &kde_output_management_v2_interface, std::min(version, 2U)));
    } else if (std::strcmp(interface, kde_output_device_v2_interface.name) == 0 && version >= 2) {
        auto* device = new Device;
        device->proxy =
            static_cast<kde_output_device_v2*>(wl_registry_bind(registry, name, &kde_output_device_v2_interface, 2));
        wl_proxy_add_dispatcher(reinterpret_cast<wl_proxy*>(device->proxy), deviceEvent, nullptr, device);
        state->devices.push_back(device);
    }
}

void globalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistry{global, globalRemove};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[2], "enable") != 0 && std::strcmp(argv[2], "disable") != 0)) {
        std::fprintf(stderr, "usage: %s NAME enable|disable\n", argv[0]);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::perror("no Wayland display");
        return 1;
    }
    State state;
    state.registry = wl_display_get_registry(display);
    wl_registry_add_listener(state.registry, &kRegistry, &state);
    // The globals, then the devices' first events.
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    Device* target = nullptr;
    for (Device* device : state.devices) {
        if (device->name == argv[1]) {
            target = device;
        }
    }
    if (state.management == nullptr || target == nullptr) {
        std::fprintf(stderr, "KWin offers no output management or no output named %s\n", argv[1]);
        return 1;
    }
    kde_output_configuration_v2* configuration = kde_output_management_v2_create_configuration(state.management);
    wl_proxy_add_dispatcher(reinterpret_cast<wl_proxy*>(configuration), configurationEvent, nullptr, &state);
    kde_output_configuration_v2_enable(configuration, target->proxy, std::strcmp(argv[2], "enable") == 0 ? 1 : 0);
    kde_output_configuration_v2_apply(configuration);
    while (state.outcome < 0 && wl_display_dispatch(display) >= 0) {
    }
    if (state.outcome != 1) {
        std::fprintf(stderr, "KWin did not apply it\n");
    }
    const bool applied = state.outcome == 1;
    for (Device* device : state.devices) {
        delete device;
    }
    wl_display_disconnect(display);
    return applied ? 0 : 1;
}
