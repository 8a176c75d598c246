// The editor's help window, THelp: nine buttons at the left, each showing one
// page of the notebook `Pages` (a title and read-only rich text about this
// editor). Created with the editor and hidden until "&Help" shows it.
#pragma once

#include <QWidget>

class QStackedWidget;
class QPushButton;

class THelp : public QWidget {
    Q_OBJECT
  public:
    explicit THelp(QWidget* parent = nullptr);

    // The page shown now, counted from 0.
    int CurrentPage() const;
    // The title label's text of the page shown now.
    QString CurrentTitle() const;

    QStackedWidget* Pages = nullptr;
};
