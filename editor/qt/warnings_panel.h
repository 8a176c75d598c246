// The warnings list beside the level view: what the level's check finds now
// (the same warnings a save reports), each line naming its cell; clicking a
// line with a cell moves the selector there.
#pragma once

#include <QGroupBox>
#include <functional>
#include <string>
#include <vector>

#include "editor/level_check.h"

class QListWidget;

class TWarningsPanel : public QGroupBox {
    Q_OBJECT
  public:
    // `moved` runs after a click moved the selector.
    TWarningsPanel(QWidget* parent, std::function<void()> moved);

    // Checks the level again and shows what it finds.
    void Refresh();
    std::vector<std::string> Lines() const;

    QListWidget* List = nullptr; // WarningsList

  private:
    std::vector<LevelWarning> shown_;
    bool filled_ = false;
    std::function<void()> moved_;
};
