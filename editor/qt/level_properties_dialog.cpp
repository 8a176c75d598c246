#include "editor/qt/level_properties_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

std::optional<std::string> ShowLevelPropertiesDialog(QWidget* parent,
                                                     const LevelProperties& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LevelDialog"));
    dialog.setWindowTitle(QStringLiteral("Level"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* outdoor = new QRadioButton(QStringLiteral("&Outdoor: the sky is drawn"), &dialog);
    outdoor->setObjectName(QStringLiteral("OutdoorButton"));
    auto* indoor = new QRadioButton(QStringLiteral("&Indoor"), &dialog);
    indoor->setObjectName(QStringLiteral("IndoorButton"));
    (current.outside ? outdoor : indoor)->setChecked(true);
    layout->addWidget(outdoor);
    layout->addWidget(indoor);
    auto* form = new QFormLayout;
    auto* seed = new QLineEdit(QString::number(current.seed), &dialog);
    seed->setObjectName(QStringLiteral("SeedEdit"));
    seed->setToolTip(QStringLiteral("A number between 0 and 32767: where the sentries' "
                                    "random choices start"));
    form->addRow(QStringLiteral("Random &seed:"), seed);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // The seed's text is checked by the command, which says what is wrong.
    const std::string seedText = seed->text().trimmed().toStdString();
    return std::string(outdoor->isChecked() ? "Outdoor" : "Indoor") +
           (seedText.empty() ? "" : " " + seedText);
}
