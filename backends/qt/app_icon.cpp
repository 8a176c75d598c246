#include "backends/qt/app_icon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

// Every shape is drawn on a canvas of this side and scaled to the icon's.
constexpr double kCanvas = 256;

// A filled and outlined shape of an icon: a rounded rectangle (two corners,
// its radius) or a polygon.
struct IconShape {
    std::vector<QPointF> points;
    QColor fill;
    double cornerRadius = -1; // >= 0: the points are a rectangle's corners
};

const QColor kOutline(20, 30, 50);
constexpr double kOutlineWidth = 6;

// A tile of night blue carrying a cube of the game's sandstone, lit from the
// top left; the game's cube holds an ingot, the editor's has a pencil.
std::vector<IconShape> Shapes(AppIconKind kind) {
    std::vector<IconShape> shapes = {
        {{{16, 16}, {240, 240}}, QColor(36, 56, 104), 44},
        {{{128, 52}, {208, 96}, {128, 140}, {48, 96}}, QColor(236, 196, 124)},
        {{{48, 96}, {128, 140}, {128, 228}, {48, 184}}, QColor(198, 140, 62)},
        {{{128, 140}, {208, 96}, {208, 184}, {128, 228}}, QColor(146, 96, 36)},
    };
    if (kind == AppIconKind::Game) {
        shapes.push_back({{{128, 70}, {164, 90}, {128, 110}, {92, 90}}, QColor(255, 214, 60)});
    } else {
        shapes.push_back({{{136, 208}, {172, 196}, {148, 172}}, QColor(246, 224, 180)});
        shapes.push_back({{{148, 172}, {172, 196}, {236, 132}, {212, 108}}, QColor(240, 180, 40)});
        shapes.push_back({{{212, 108}, {236, 132}, {248, 120}, {224, 96}}, QColor(230, 120, 130)});
    }
    return shapes;
}

QString svgColour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

} // namespace

const std::vector<int>& AppIconSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

std::string AppIconName(AppIconKind kind) {
    return kind == AppIconKind::Game ? "org.kelvane.Kelvane" : "org.kelvane.Kelvedit";
}

QImage DrawAppIcon(AppIconKind kind, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / kCanvas, side / kCanvas);
    painter.setPen(QPen(kOutline, kOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const IconShape& shape : Shapes(kind)) {
        painter.setBrush(shape.fill);
        if (shape.cornerRadius >= 0) {
            painter.drawRoundedRect(QRectF(shape.points[0], shape.points[1]), shape.cornerRadius,
                                    shape.cornerRadius);
        } else {
            painter.drawPolygon(
                QPolygonF(QList<QPointF>(shape.points.begin(), shape.points.end())));
        }
    }
    return image;
}

std::string AppIconSvg(AppIconKind kind) {
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                       "height=\"256\" viewBox=\"0 0 256 256\">\n"
                       "  <g stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\">\n")
            .arg(svgColour(kOutline))
            .arg(kOutlineWidth);
    for (const IconShape& shape : Shapes(kind)) {
        if (shape.cornerRadius >= 0) {
            const QRectF rect(shape.points[0], shape.points[1]);
            svg += QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                                  "rx=\"%5\" fill=\"%6\"/>\n")
                       .arg(rect.x())
                       .arg(rect.y())
                       .arg(rect.width())
                       .arg(rect.height())
                       .arg(shape.cornerRadius)
                       .arg(svgColour(shape.fill));
        } else {
            QString points;
            for (const QPointF& point : shape.points)
                points += QStringLiteral("%1%2,%3")
                              .arg(points.isEmpty() ? "" : " ")
                              .arg(point.x())
                              .arg(point.y());
            svg += QStringLiteral("    <polygon points=\"%1\" fill=\"%2\"/>\n")
                       .arg(points, svgColour(shape.fill));
        }
    }
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg.toStdString();
}

void UseAppIcon(QWidget& window, AppIconKind kind) {
    QIcon icon;
    for (const int side : AppIconSizes())
        icon.addPixmap(QPixmap::fromImage(DrawAppIcon(kind, side)));
    window.setWindowIcon(icon);
    // The program's other windows (help, dialogs, message boxes) too.
    QGuiApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QString::fromStdString(AppIconName(kind)));
}
