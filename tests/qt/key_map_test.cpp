#include <gtest/gtest.h>

#include "backends/qt/key_map.h"
#include "platform/keys.h"

namespace {

int vk(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return VirtualKeyFromQt(key, modifiers);
}

TEST(QtKeyMapTest, GameKeys) {
    EXPECT_EQ(vk(Qt::Key_Up), 38);
    EXPECT_EQ(vk(Qt::Key_Down), 40);
    EXPECT_EQ(vk(Qt::Key_Left), 37);
    EXPECT_EQ(vk(Qt::Key_Right), 39);
    EXPECT_EQ(vk(Qt::Key_Space), 32);
    EXPECT_EQ(vk(Qt::Key_Control, Qt::ControlModifier), 17);
    EXPECT_EQ(vk(Qt::Key_Shift, Qt::ShiftModifier), 16);
    EXPECT_EQ(vk(Qt::Key_Escape), 27);
    EXPECT_EQ(vk(Qt::Key_F1), 112);
    EXPECT_EQ(vk(Qt::Key_F11), 122);
    EXPECT_EQ(vk(Qt::Key_A), 65);
    EXPECT_EQ(vk(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(vk(Qt::Key_7), 55);
}

TEST(QtKeyMapTest, KeypadKeysDifferFromTheMainKeys) {
    EXPECT_EQ(vk(Qt::Key_Plus, Qt::KeypadModifier), kVkAdd);
    EXPECT_EQ(vk(Qt::Key_Minus, Qt::KeypadModifier), kVkSubtract);
    EXPECT_EQ(vk(Qt::Key_Plus), kVkOemPlus);
    EXPECT_EQ(vk(Qt::Key_Minus), kVkOemMinus);
    EXPECT_EQ(vk(Qt::Key_3, Qt::KeypadModifier), kVkNumpad0 + 3);
    // Keypad arrows act as the arrows.
    EXPECT_EQ(vk(Qt::Key_Up, Qt::KeypadModifier), kVkUp);
}

TEST(QtKeyMapTest, ShiftedSymbolsShareTheirKey) {
    // Pressed with Shift and released without it, one key stays one key.
    EXPECT_EQ(vk(Qt::Key_Exclam, Qt::ShiftModifier), vk(Qt::Key_1));
    EXPECT_EQ(vk(Qt::Key_Plus, Qt::ShiftModifier), vk(Qt::Key_Equal));
    EXPECT_EQ(vk(Qt::Key_unknown), -1);
    EXPECT_EQ(vk(Qt::Key_VolumeUp), -1);
}

} // namespace
