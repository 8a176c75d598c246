// The overview beside the level view: the selector's layer from above, a
// small square per cell coloured by its object's group, the selector, the
// sentries, the start and the exit marked. A click moves the selector to the
// cell clicked, on the same layer.
#pragma once

#include <QWidget>
#include <functional>

class TOverviewView : public QWidget {
    Q_OBJECT
  public:
    // `moved` runs after a click moved the selector.
    TOverviewView(QWidget* parent, std::function<void()> moved);

    // The click at a point of the widget; false when it is off the map.
    bool ClickAt(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::function<void()> moved_;
};
