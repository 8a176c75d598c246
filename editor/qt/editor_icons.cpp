#include "editor/qt/editor_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace {

// Colours chosen to stay clear on a light grey panel: every shape has a dark
// outline, and each family of commands has its own fill.
const QColor kOutline(20, 30, 50);
const QColor kMoveFill(40, 100, 200); // moves and turns
const QColor kLiftFill(30, 140, 80);  // up and down
const QColor kGlyph(30, 30, 30);      // zoom, views, signs
const QColor kCubeTop(236, 196, 124), kCubeLeft(198, 140, 62), kCubeRight(146, 96, 36);
const QColor kCross(210, 20, 20);
const QColor kSunCore(255, 210, 30), kSunRays(200, 120, 0);
const QColor kDimCore(150, 132, 70), kDimRays(100, 86, 40);
const QColor kNote(20, 30, 80);
const QColor kFlag(30, 150, 50);
const QColor kDoorway(255, 230, 120), kDoorLeaf(140, 90, 40);

QPen Outline(double width = 1.0) {
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen Stroke(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A straight arrow pointing up, centred on the origin and about 20 pixels
// long; callers turn the painter to point it elsewhere.
QPolygonF ArrowShape(double length = 20, double shaft = 3, double head = 8) {
    const double tip = -length / 2, neck = tip + head, tail = length / 2;
    return QPolygonF({{0, tip},
                      {head, neck},
                      {shaft, neck},
                      {shaft, tail},
                      {-shaft, tail},
                      {-shaft, neck},
                      {-head, neck}});
}

void DrawArrow(QPainter& p, QPointF centre, double degrees, const QColor& fill,
               double length = 20) {
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    p.setPen(Outline());
    p.setBrush(fill);
    p.drawPolygon(ArrowShape(length));
    p.restore();
}

// A clockwise arrow round most of a circle, open at the top right, its head
// at the top pointing right.
void DrawTurnClockwise(QPainter& p) {
    const QPointF centre(12, 13);
    const double radius = 7.5;
    const double endDegrees = 112; // where the head begins, near the top
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, 5);
    arc.arcTo(circle, 5, -(360 - endDegrees + 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(kOutline, 5));
    p.drawPath(arc);
    p.setPen(Stroke(kMoveFill, 3));
    p.drawPath(arc);
    // The head: its base across the circle at the arc's end, its tip ahead
    // along the clockwise tangent.
    const double a = endDegrees * std::numbers::pi / 180;
    const QPointF at(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a));
    const QPointF radial(std::cos(a), -std::sin(a));
    const QPointF ahead(std::sin(a), std::cos(a));
    p.setPen(Outline());
    p.setBrush(kMoveFill);
    p.drawPolygon(QPolygonF({at + radial * 5, at + ahead * 7, at - radial * 5}));
}

void MirrorLeftRight(QPainter& p) {
    p.translate(kEditorIconSide, 0);
    p.scale(-1, 1);
}

void MirrorTopBottom(QPainter& p) {
    p.translate(0, kEditorIconSide);
    p.scale(1, -1);
}

// Up or down from a floor line: the selector rising or sinking a cell.
void DrawLift(QPainter& p, bool up) {
    p.setPen(Stroke(kOutline, 2.5));
    p.drawLine(QPointF(3, 21.5), QPointF(21, 21.5));
    DrawArrow(p, QPointF(12, 10.5), up ? 0 : 180, kLiftFill, 18);
}

// A magnifying glass with a plus or a minus in its lens.
void DrawZoom(QPainter& p, bool in) {
    const QPointF lens(10, 10);
    p.setPen(Stroke(kGlyph, 4));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(Stroke(kGlyph, 2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(lens, 7, 7);
    p.setPen(Stroke(kGlyph, 2));
    p.drawLine(lens + QPointF(-3.5, 0), lens + QPointF(3.5, 0));
    if (in) p.drawLine(lens + QPointF(0, -3.5), lens + QPointF(0, 3.5));
}

// An eye above a floor plate, looking down at it: the view from the top.
// Mirrored top to bottom it is the view from below.
void DrawViewFromTop(QPainter& p) {
    QPainterPath eye;
    eye.moveTo(4, 5.5);
    eye.quadTo(12, -1.5, 20, 5.5);
    eye.quadTo(12, 12.5, 4, 5.5);
    p.setPen(Outline(1.5));
    p.setBrush(Qt::white);
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawEllipse(QPointF(12, 5.5), 2.5, 2.5);
    // The line of sight, down to the plate.
    p.setPen(QPen(kGlyph, 1.5, Qt::DashLine, Qt::FlatCap));
    p.drawLine(QPointF(12, 10), QPointF(12, 15));
    p.setPen(Outline());
    p.setBrush(kCubeTop);
    p.drawPolygon(QPolygonF({{12, 14}, {22, 18}, {12, 22}, {2, 18}}));
}

// A cell's cube seen from above a corner, three faces shaded.
void DrawCube(QPainter& p) {
    const QPointF top(12, 2), right(21, 6.5), middle(12, 11), left(3, 6.5);
    const QPointF bottom(12, 22), rightLow(21, 17.5), leftLow(3, 17.5);
    p.setPen(Outline());
    p.setBrush(kCubeTop);
    p.drawPolygon(QPolygonF({top, right, middle, left}));
    p.setBrush(kCubeLeft);
    p.drawPolygon(QPolygonF({left, middle, bottom, leftLow}));
    p.setBrush(kCubeRight);
    p.drawPolygon(QPolygonF({middle, right, rightLow, bottom}));
}

void DrawCross(QPainter& p) {
    p.setPen(Stroke(Qt::white, 5));
    p.drawLine(QPointF(4, 4), QPointF(20, 20));
    p.drawLine(QPointF(20, 4), QPointF(4, 20));
    p.setPen(Stroke(kCross, 3));
    p.drawLine(QPointF(4, 4), QPointF(20, 20));
    p.drawLine(QPointF(20, 4), QPointF(4, 20));
}

// A sun with a plus (bright) or, dimmed, with a minus.
void DrawSun(QPainter& p, bool brighter) {
    const QPointF centre(9.5, 9.5);
    p.setPen(Stroke(brighter ? kSunRays : kDimRays, 2));
    for (int ray = 0; ray < 8; ++ray) {
        const double a = ray * std::numbers::pi / 4;
        const QPointF direction(std::cos(a), std::sin(a));
        p.drawLine(centre + direction * 6, centre + direction * 8.5);
    }
    p.setBrush(brighter ? kSunCore : kDimCore);
    p.setPen(Outline());
    p.drawEllipse(centre, 4.5, 4.5);
    p.setPen(Stroke(kGlyph, 2.5));
    p.drawLine(QPointF(15, 19), QPointF(22, 19));
    if (brighter) p.drawLine(QPointF(18.5, 15.5), QPointF(18.5, 22.5));
}

// Two notes joined by a beam: a music cell.
void DrawNote(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kNote);
    for (const QPointF head : {QPointF(6.5, 18.5), QPointF(16.5, 16.5)}) {
        p.save();
        p.translate(head);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), 4, 3);
        p.restore();
    }
    p.setPen(Stroke(kNote, 2));
    p.drawLine(QPointF(10, 17.5), QPointF(10, 5));
    p.drawLine(QPointF(20, 15.5), QPointF(20, 3));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{9, 4}, {21, 1.5}, {21, 6}, {9, 8.5}}));
}

// A flag on a pole with an S on it: the start point.
void DrawStartFlag(QPainter& p) {
    p.setPen(Stroke(kOutline, 2));
    p.drawLine(QPointF(4, 2.5), QPointF(4, 22.5));
    QPainterPath flag;
    flag.moveTo(5, 3);
    flag.quadTo(12, 0.5, 21, 3.5);
    flag.lineTo(21, 15);
    flag.quadTo(12, 12.5, 5, 15);
    flag.closeSubpath();
    p.setPen(Outline());
    p.setBrush(kFlag);
    p.drawPath(flag);
    // The S: an upper bowl turning left and a lower bowl turning right.
    const double x = 13, y = 8.75, halfWidth = 3, bowl = 3.5;
    QPainterPath s;
    const QRectF upper(x - halfWidth, y - bowl, 2 * halfWidth, bowl);
    const QRectF lower(x - halfWidth, y, 2 * halfWidth, bowl);
    s.arcMoveTo(upper, 20);
    s.arcTo(upper, 20, 250);
    s.arcTo(lower, 90, -250);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(Qt::white, 1.8));
    p.drawPath(s);
}

// A lit doorway, its door swung open, and an arrow going out: the exit.
void DrawExitDoor(QPainter& p) {
    p.setPen(Outline(1.5));
    p.setBrush(kDoorway);
    p.drawRect(QRectF(3, 2, 11, 20));
    p.setPen(Outline());
    p.setBrush(kDoorLeaf);
    p.drawPolygon(QPolygonF({{3, 2}, {8, 4.5}, {8, 20}, {3, 22}}));
    p.setPen(Outline());
    p.setBrush(kFlag);
    p.drawPolygon(
        QPolygonF({{10, 10}, {16, 10}, {16, 6.5}, {22.5, 12}, {16, 17.5}, {16, 14}, {10, 14}}));
}

using Draw = void (*)(QPainter&);

struct IconPicture {
    const char* name;
    Draw draw;
};

const IconPicture kPictures[] = {
    {"I_MoveForward",
     [](QPainter& p) {
         DrawArrow(p, {12, 12}, 0, kMoveFill);
     }},
    {"I_MoveBack",
     [](QPainter& p) {
         DrawArrow(p, {12, 12}, 180, kMoveFill);
     }},
    {"I_MoveLeft",
     [](QPainter& p) {
         DrawArrow(p, {12, 12}, -90, kMoveFill);
     }},
    {"I_MoveRight",
     [](QPainter& p) {
         DrawArrow(p, {12, 12}, 90, kMoveFill);
     }},
    {"I_RotateLeft",
     [](QPainter& p) {
         MirrorLeftRight(p);
         DrawTurnClockwise(p);
     }},
    {"I_RotateRight", DrawTurnClockwise},
    {"I_GoUp", [](QPainter& p) { DrawLift(p, true); }},
    {"I_GoDown", [](QPainter& p) { DrawLift(p, false); }},
    {"I_ZoomIn", [](QPainter& p) { DrawZoom(p, true); }},
    {"I_ZoomOut", [](QPainter& p) { DrawZoom(p, false); }},
    {"I_LookUp", DrawViewFromTop},
    {"I_LookDown",
     [](QPainter& p) {
         MirrorTopBottom(p);
         DrawViewFromTop(p);
     }},
    {"I_PutBlock", DrawCube},
    {"I_DelBlock",
     [](QPainter& p) {
         DrawCube(p);
         DrawCross(p);
     }},
    {"I_Brighter", [](QPainter& p) { DrawSun(p, true); }},
    {"I_Darker", [](QPainter& p) { DrawSun(p, false); }},
    {"I_SFX", DrawNote},
    {"I_Start", DrawStartFlag},
    {"I_Exit", DrawExitDoor},
};

// The picture drawn `scale` times larger, for screens of more pixels per
// point; a null image for an unknown name.
QImage DrawIcon(const QString& objectName, int scale) {
    for (const IconPicture& picture : kPictures) {
        if (objectName != QLatin1String(picture.name)) continue;
        QImage image(kEditorIconSide * scale, kEditorIconSide * scale,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        picture.draw(painter);
        return image;
    }
    return {};
}

} // namespace

QImage EditorIconImage(const QString& objectName) {
    return DrawIcon(objectName, 1);
}

QIcon EditorIcon(const QString& objectName) {
    const QImage image = EditorIconImage(objectName);
    if (image.isNull()) return {};
    QIcon icon(QPixmap::fromImage(image));
    // Sharp on screens with two pixels a point, rather than the small one enlarged.
    QPixmap large = QPixmap::fromImage(DrawIcon(objectName, 2));
    large.setDevicePixelRatio(2);
    icon.addPixmap(large);
    return icon;
}
