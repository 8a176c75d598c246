// The pictures of the editor's icons: one of its own for every icon, drawn
// the same way every time, and dark enough to read on a light panel.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "editor/qt/editor_icons.h"

namespace {

const QStringList kIconNames = {"I_MoveForward", "I_MoveBack",    "I_MoveLeft", "I_MoveRight",
                                "I_RotateLeft",  "I_RotateRight", "I_GoUp",     "I_GoDown",
                                "I_ZoomIn",      "I_ZoomOut",     "I_LookUp",   "I_LookDown",
                                "I_PutBlock",    "I_DelBlock",    "I_Brighter", "I_Darker",
                                "I_SFX",         "I_Start",       "I_Exit"};

// Pixels a reader sees on a light grey panel: nearly opaque and dark.
int DarkOpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && qGray(c.rgb()) < 110) ++count;
        }
    return count;
}

TEST(EditorIcons, EachIconHasItsOwnClearPictureDrawnTheSameEveryTime) {
    std::vector<QImage> pictures;
    for (const QString& name : kIconNames) {
        const QImage picture = EditorIconImage(name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_EQ(picture.size(), QSize(24, 24)) << name.toStdString();
        // Transparent corners let the button's face show round the picture.
        EXPECT_EQ(picture.pixelColor(0, 23).alpha(), 0) << name.toStdString();
        EXPECT_GE(DarkOpaquePixels(picture), 20) << name.toStdString();
        // The screenshots of two runs are compared byte for byte.
        EXPECT_EQ(EditorIconImage(name), picture) << name.toStdString();
        for (std::size_t i = 0; i < pictures.size(); ++i)
            EXPECT_NE(pictures[i], picture)
                << name.toStdString() << " looks like " << kIconNames[int(i)].toStdString();
        pictures.push_back(picture);
    }
    EXPECT_TRUE(EditorIconImage(QStringLiteral("I_Nothing")).isNull());
    EXPECT_TRUE(EditorIcon(QStringLiteral("Play")).isNull());
}

} // namespace
