#include "editor/qt/overview_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>

#include "editor/editor_state.h"
#include "editor/object_groups.h"
#include "editor/overview_map.h"
#include "world/world.h"

namespace {

// By group (ObjectGroup order), then unknown types and empty cells.
constexpr std::array<QRgb, kObjectGroupCount> kGroupColours = {
    qRgb(150, 150, 150), // floors and walls
    qRgb(140, 90, 40),   // soil and crates
    qRgb(225, 170, 60),  // ladders and stairs
    qRgb(70, 120, 235),  // doors and levers
    qRgb(250, 225, 0),   // items
    qRgb(225, 40, 30),   // hazards
    qRgb(60, 170, 80),   // decoration
};
constexpr QRgb kUnknownColour = qRgb(220, 0, 220);
constexpr QRgb kEmptyColour = qRgb(24, 24, 32);

QRgb colourOf(std::int8_t mark) {
    if (mark >= 0 && mark < kObjectGroupCount) return kGroupColours[static_cast<std::size_t>(mark)];
    return mark == kOverviewUnknown ? kUnknownColour : kEmptyColour;
}

} // namespace

TOverviewView::TOverviewView(QWidget* parent, std::function<void()> moved)
    : QWidget(parent), moved_(std::move(moved)) {
    setObjectName(QStringLiteral("Overview"));
    setToolTip(QStringLiteral(
        "Overview of the selector's layer (click a cell to go there)\n"
        "grey: floors and walls, brown: soil and crates, orange: ladders and stairs,\n"
        "blue: doors and levers, yellow: items, red: hazards, green: decoration;\n"
        "white frame: selector, red dot: sentry, S: start, E: exit"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TOverviewView::ClickAt(QPoint position) {
    const OverviewMap map = BuildOverview();
    const OverviewFit fit = FitOverview(map, width(), height());
    const std::optional<CellPosition> cell = OverviewCellAt(map, fit, position.x(), position.y());
    if (!cell) return false;
    PlaceSelectorAt(*cell);
    update();
    if (moved_) moved_();
    return true;
}

void TOverviewView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ClickAt(event->position().toPoint());
}

void TOverviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const OverviewMap map = BuildOverview();
    const OverviewFit fit = FitOverview(map, width(), height());
    if (fit.scale <= 0) return;
    // One pixel per cell, north at the top, scaled up without smoothing.
    QImage image(map.sizeX, map.sizeZ, QImage::Format_RGB32);
    for (int z = 0; z < map.sizeZ; ++z) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(map.sizeZ - 1 - z));
        for (int x = 0; x < map.sizeX; ++x) line[x] = colourOf(map.MarkAt(x, z));
    }
    const QRect area(fit.left, fit.top, fit.width, fit.height);
    painter.drawImage(area, image);

    // Marks keep a readable size on maps of sub-pixel cells.
    const double side = std::max(fit.scale, 4.0);
    const auto cellRect = [&](int x, int z) {
        const double cx = fit.left + (x + 0.5) * fit.scale;
        const double cy = fit.top + (map.sizeZ - 1 - z + 0.5) * fit.scale;
        return QRectF(cx - side / 2, cy - side / 2, side, side);
    };
    painter.setRenderHint(QPainter::Antialiasing);
    for (const CellPosition& s : map.sentries) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 60, 60));
        painter.drawEllipse(cellRect(s.x, s.z).adjusted(side / 6, side / 6, -side / 6, -side / 6));
    }
    QFont font = painter.font();
    font.setPixelSize(std::max(8, static_cast<int>(side)));
    font.setBold(true);
    painter.setFont(font);
    const LevelState& l = levelState;
    if (map.startOnLayer) {
        painter.setPen(QColor(120, 255, 120));
        painter.drawText(cellRect(l.startX, l.startZ), Qt::AlignCenter, QStringLiteral("S"));
    }
    if (map.exitOnLayer) {
        painter.setPen(QColor(255, 255, 0));
        painter.drawText(cellRect(l.exitX, l.exitZ), Qt::AlignCenter, QStringLiteral("E"));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawRect(cellRect(map.selector.x, map.selector.z));
    painter.setPen(QColor(90, 90, 100));
    painter.drawRect(QRectF(area).adjusted(-0.5, -0.5, 0.5, 0.5));
}
