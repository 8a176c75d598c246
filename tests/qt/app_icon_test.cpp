// The programs' icons: every size of the icon theme, a tile with transparent
// corners, the game and the editor told apart, and an SVG that parses.
#include <QColor>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "backends/qt/app_icon.h"

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).alpha() == 255;
    return count;
}

} // namespace

TEST(AppIcon, EverySizeIsATileWithTransparentCorners) {
    for (const AppIconKind kind : {AppIconKind::Game, AppIconKind::Editor}) {
        for (const int side : AppIconSizes()) {
            const QImage icon = DrawAppIcon(kind, side);
            ASSERT_EQ(icon.size(), QSize(side, side));
            EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << side;
            EXPECT_EQ(icon.pixelColor(side - 1, side - 1).alpha(), 0) << side;
            EXPECT_EQ(icon.pixelColor(side / 2, side / 2).alpha(), 255) << side;
            // Most of the square is covered, whatever the size.
            EXPECT_GT(OpaquePixels(icon), side * side * 6 / 10) << side;
        }
    }
    EXPECT_NE(DrawAppIcon(AppIconKind::Game, 48), DrawAppIcon(AppIconKind::Editor, 48));
    EXPECT_EQ(DrawAppIcon(AppIconKind::Game, 32), DrawAppIcon(AppIconKind::Game, 32));
    EXPECT_NE(AppIconName(AppIconKind::Game), AppIconName(AppIconKind::Editor));
}

TEST(AppIcon, TheScalableIconIsWellFormedSvg) {
    for (const AppIconKind kind : {AppIconKind::Game, AppIconKind::Editor}) {
        QXmlStreamReader svg(QString::fromStdString(AppIconSvg(kind)));
        int shapes = 0;
        QString root;
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement) continue;
            if (root.isEmpty()) {
                root = svg.name().toString();
                EXPECT_EQ(svg.attributes().value("viewBox").toString(), "0 0 256 256");
            }
            if (svg.name() == QLatin1String("rect") || svg.name() == QLatin1String("polygon")) {
                ++shapes;
                EXPECT_TRUE(svg.attributes().value("fill").startsWith('#'));
            }
        }
        EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
        EXPECT_EQ(root, "svg");
        EXPECT_GE(shapes, 5);
    }
}
