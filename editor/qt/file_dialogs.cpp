#include "editor/qt/file_dialogs.h"

#include <QFileDialog>
#include <QList>
#include <QUrl>

#include "editor/editor_state.h"
#include "editor/level_files.h"

std::optional<std::string> RunLevelFileDialog(QWidget* parent, bool forSave) {
    const LevelDialogPlaces places =
        LevelDialogPlacesFor(forSave, editor.fileName, editor.dataFolder);
    QFileDialog dialog(parent, QString(), QString::fromStdString(places.folder),
                       QStringLiteral("Level file (*.lev)"));
    dialog.setObjectName(forSave ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt's own dialog, so that the level folders can be offered in its sidebar.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (forSave) dialog.setDefaultSuffix(QStringLiteral("lev"));
    QList<QUrl> sidebar = dialog.sidebarUrls();
    for (auto place = places.places.rbegin(); place != places.places.rend(); ++place) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(*place));
        if (!sidebar.contains(url)) sidebar.prepend(url);
    }
    dialog.setSidebarUrls(sidebar);
    dialog.selectFile(QString::fromStdString(places.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}
