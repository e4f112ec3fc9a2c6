#include "cart/gba_clock.h"

#include "cart/bus.h"
#include "device/protocol.h"

namespace gb {
namespace {

constexpr uint32_t kAllPinsOut = 7;

bool gpio_write(uint32_t offset, uint32_t value) {
    return write_pairs(p_gba_cpu_write, {kGbaCartSpace + offset, value});
}

// The direction and control registers, as one read of the ROM stream shows them.
bool registers(uint32_t* direction, uint32_t* control) {
    static_assert(kGpioControl == kGpioDirection + 2, "read together");
    uint8_t bytes[4] = {};
    if (!p_gba_cpu_read || p_gba_cpu_read(kGpioDirection / 2, bytes, sizeof bytes) != sizeof bytes)
        return false;
    *direction = proto::get16(bytes);
    *control = proto::get16(bytes + 2);
    return true;
}

}  // namespace

bool gba_clock_present() {
    uint32_t romDirection = 0, romControl = 0, direction = 0, control = 0;
    if (!gpio_write(kGpioControl, 0) || !registers(&romDirection, &romControl)) return false;
    const bool shown = gpio_write(kGpioControl, 1) && gpio_write(kGpioDirection, kAllPinsOut) &&
                       registers(&direction, &control);
    gpio_write(kGpioControl, 0);  // the ROM shows again
    return shown && (direction & 0xF) == kAllPinsOut && (control & 1) == 1 &&
           (direction != romDirection || control != romControl);
}

}  // namespace gb
