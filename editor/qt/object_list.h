// The object chooser of the editor's window: a group list, a search box and
// the drop-down of placeable objects (ObjectCombo), headed group by group.
// Choosing an object makes it the current one.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

class TObjectList : public QObject {
    Q_OBJECT
  public:
    // Makes the three controls as children of `parent`; `chosen` runs after
    // the current object changed by a choice in the list.
    TObjectList(QWidget* parent, QComboBox* objects, std::function<void()> chosen);

    // Reads the placeable objects from the definitions and shows them.
    void Fill();
    // Shows the objects of the group and search now set, the current object
    // chosen when it is among them.
    void Refilter();

    QComboBox* Group = nullptr;   // "All objects" and the groups
    QLineEdit* Search = nullptr;  // part of a name, any case
    QComboBox* Objects = nullptr; // ObjectCombo

    std::string GroupText() const;
    std::string SearchText() const;
    // Objects listed now (headers left out).
    int Listed() const;

  private:
    void ChooseAt(int index);
    std::function<void()> chosen_;
};
