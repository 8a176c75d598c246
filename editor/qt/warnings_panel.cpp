#include "editor/qt/warnings_panel.h"

#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TWarningsPanel::TWarningsPanel(QWidget* parent, std::function<void()> moved)
    : QGroupBox(QStringLiteral("Warnings"), parent), moved_(std::move(moved)) {
    setObjectName(QStringLiteral("WarningsPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("WarningsList"));
    List->setToolTip(QStringLiteral("What the level's check finds (click one to go to its cell)"));
    List->setFocusPolicy(Qt::NoFocus);
    List->setWordWrap(true);
    List->setUniformItemSizes(false);
    layout->addWidget(List);
    connect(List, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = List->row(item);
        if (row < 0 || row >= static_cast<int>(shown_.size()) || !shown_[row].hasCell) return;
        PlaceSelectorAt(shown_[row].cell);
        if (moved_) moved_();
    });
}

void TWarningsPanel::Refresh() {
    std::vector<LevelWarning> found = CheckLevelWarnings();
    const bool same =
        found.size() == shown_.size() &&
        std::equal(found.begin(), found.end(), shown_.begin(),
                   [](const LevelWarning& a, const LevelWarning& b) {
                       return a.text == b.text && a.hasCell == b.hasCell && a.cell == b.cell;
                   });
    if (same && filled_) return; // the list, and the line chosen in it, stay
    filled_ = true;
    shown_ = std::move(found);
    List->clear();
    for (const LevelWarning& w : shown_) List->addItem(QString::fromStdString(WarningLine(w)));
    if (shown_.empty()) {
        List->addItem(QStringLiteral("No warnings."));
        List->item(0)->setFlags(Qt::NoItemFlags);
    }
    setTitle(shown_.empty() ? QStringLiteral("Warnings")
                            : QStringLiteral("Warnings (%1)").arg(shown_.size()));
}

std::vector<std::string> TWarningsPanel::Lines() const {
    std::vector<std::string> lines;
    for (const LevelWarning& w : shown_) lines.push_back(WarningLine(w));
    return lines;
}
