#include "editor/qt/object_list.h"

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QStandardItemModel>
#include <algorithm>
#include <utility>
#include <vector>

#include "editor/editor_state.h"
#include "editor/object_groups.h"
#include "world/world.h"

namespace {

constexpr int kTypeRole = Qt::UserRole;
constexpr int kHeader = -1;

std::vector<PlaceableObject> placeable;

} // namespace

TObjectList::TObjectList(QWidget* parent, QComboBox* objects, std::function<void()> chosen)
    : QObject(parent), Objects(objects), chosen_(std::move(chosen)) {
    Group = new QComboBox(parent);
    Group->setObjectName(QStringLiteral("ObjectGroup"));
    Group->setToolTip(QStringLiteral("Group of objects shown"));
    Group->setMaximumWidth(92);
    Group->addItem(QStringLiteral("All objects"));
    for (int g = 0; g < kObjectGroupCount; ++g)
        Group->addItem(QString::fromLatin1(ObjectGroupName(static_cast<ObjectGroup>(g))));
    Search = new QLineEdit(parent);
    Search->setObjectName(QStringLiteral("ObjectSearch"));
    Search->setToolTip(QStringLiteral("Search the objects by name"));
    Search->setPlaceholderText(QStringLiteral("Search"));
    Search->setClearButtonEnabled(true);

    connect(Group, &QComboBox::currentIndexChanged, this, [this] { Refilter(); });
    connect(Search, &QLineEdit::textChanged, this, [this] { Refilter(); });
    // Enter in the search box takes the first object found.
    connect(Search, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < Objects->count(); ++i)
            if (Objects->itemData(i, kTypeRole).toInt() != kHeader) {
                Objects->setCurrentIndex(i);
                ChooseAt(i);
                return;
            }
    });
    connect(Objects, &QComboBox::activated, this, [this](int index) { ChooseAt(index); });
}

void TObjectList::Fill() {
    placeable = PlaceableObjects(objectTypes);
    Refilter();
}

void TObjectList::Refilter() {
    const bool anyGroup = Group->currentIndex() <= 0;
    const auto group = static_cast<ObjectGroup>(std::max(Group->currentIndex() - 1, 0));
    const std::vector<PlaceableObject> shown =
        FilterObjects(placeable, anyGroup, group, Search->text().toStdString());
    const QSignalBlocker quiet(Objects);
    Objects->clear();
    auto* model = qobject_cast<QStandardItemModel*>(Objects->model());
    int current = -1;
    bool headed = false;
    ObjectGroup last{};
    for (const PlaceableObject& o : shown) {
        // Each group under its name, when more than one group is shown.
        if (anyGroup && (!headed || o.group != last)) {
            Objects->addItem(QString::fromLatin1(ObjectGroupName(o.group)).toUpper(), kHeader);
            if (model) {
                QStandardItem* item = model->item(Objects->count() - 1);
                item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            headed = true;
            last = o.group;
        }
        Objects->addItem(QString::fromStdString(o.name), static_cast<int>(o.type));
        if (o.type == editor.currentObject) current = Objects->count() - 1;
    }
    // Nothing shown as chosen while the current object is not listed: Put
    // would not put what the box showed.
    Objects->setCurrentIndex(current);
}

void TObjectList::ChooseAt(int index) {
    if (index < 0 || index >= Objects->count()) return;
    const int type = Objects->itemData(index, kTypeRole).toInt();
    if (type == kHeader) {
        Refilter(); // a heading is not an object: the choice stays
        return;
    }
    editor.currentObject = static_cast<std::uint8_t>(type);
    if (chosen_) chosen_();
}

std::string TObjectList::GroupText() const {
    return Group->currentText().toStdString();
}

std::string TObjectList::SearchText() const {
    return Search->text().toStdString();
}

int TObjectList::Listed() const {
    int listed = 0;
    for (int i = 0; i < Objects->count(); ++i)
        listed += Objects->itemData(i, kTypeRole).toInt() != kHeader;
    return listed;
}
