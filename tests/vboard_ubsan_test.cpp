// The board model built with UndefinedBehaviorSanitizer: cartridges and the
// board start from empty saves, images and serials without undefined behaviour.
#include <gtest/gtest.h>

#include "board.h"

namespace {

TEST(VirtualBoardUndefinedBehaviour, EmptySavesImagesAndSerials) {
    vboard::Bytes rom(0x8000, 0);
    for (const uint8_t type : {0x00, 0x08, 0x1B}) {
        rom[0x147] = type;
        EXPECT_EQ(vboard::make_gb_cart(rom, {})->read(0x0100), 0) << int(type);
    }
    vboard::GbaCart gba(vboard::Bytes(0x100, 0x11), vboard::GbaSave::None, {}, 0);
    EXPECT_TRUE(gba.save().empty());
    vboard::BoardOptions options;
    options.serial.clear();
    vboard::Board board(options, nullptr, nullptr);
    EXPECT_TRUE(board.command_write(nullptr, 0));
    uint8_t ident[16];
    EXPECT_TRUE(board.read_ident(0, ident, sizeof ident));
}

}  // namespace
