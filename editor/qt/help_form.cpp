#include "editor/qt/help_form.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTextEdit>

#include "editor/qt/editor_icons.h"
#include "editor/qt/help_pages.h"

namespace {

constexpr int kClientWidth = 521, kClientHeight = 480;

// The small logo at the top left: the game's name in the page titles' yellow.
QPixmap logo() {
    QPixmap picture(67, 16);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::yellow);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("KELVANE"));
    return picture;
}

// A panel icon as the panel shows it: the picture on a light button face with
// a thin frame, so that it stands out on the page's black ground.
QImage iconOnButton(const QString& objectName) {
    const QImage icon = EditorIconImage(objectName);
    if (icon.isNull()) return {};
    constexpr int side = kEditorIconSide + 4;
    QImage button(side, side, QImage::Format_ARGB32_Premultiplied);
    button.fill(QColor(239, 239, 239));
    QPainter painter(&button);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, side - 1, side - 1);
    painter.drawImage(2, 2, icon);
    return button;
}

// Gives the document the picture of every panel icon its text names.
void addIconPictures(QTextDocument& document, const QString& text) {
    static const QRegularExpression reference(QStringLiteral(HELP_ICON_SCHEME ":(\\w+)"));
    for (auto match = reference.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QImage picture = iconOnButton(found.captured(1));
        if (!picture.isNull())
            document.addResource(QTextDocument::ImageResource, QUrl(found.captured(0)), picture);
    }
}

QWidget* makePage(const HelpPage& page, QWidget* parent) {
    auto* widget = new QWidget(parent);
    auto* title = new QLabel(widget);
    title->setObjectName(QStringLiteral("Title"));
    // The titles write "&" doubled, as a caption with access letters would.
    title->setTextFormat(Qt::PlainText);
    title->setText(
        QString::fromUtf8(page.title).replace(QStringLiteral("&&"), QStringLiteral("&")));
    title->setStyleSheet(
        QStringLiteral("color: yellow; font-family: Arial; font-weight: bold; font-size: 13px;"));
    title->setGeometry(8, 4, 411, 20);
    auto* text = new QTextEdit(widget);
    text->setObjectName(QStringLiteral("Text"));
    text->setReadOnly(true);
    text->setEnabled(false);
    text->setFrameShape(QFrame::NoFrame);
    text->setStyleSheet(QStringLiteral("QTextEdit { background: black; color: white; "
                                       "font-family: Arial; font-size: 11px; }"));
    addIconPictures(*text->document(), QString::fromUtf8(page.text));
    text->setHtml(QString::fromUtf8(page.text));
    text->setGeometry(8, 30, 411, 440);
    return widget;
}

} // namespace

THelp::THelp(QWidget* parent) : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Level Editor - Aide"));
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Logo"));
    picture->setPixmap(logo());
    picture->setGeometry(15, 40, 67, 16);

    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setGeometry(95, 0, 427, 482);
    for (const HelpPage& page : kHelpPages) Pages->addWidget(makePage(page, Pages));

    // Where "Small Fonts" is missing a wider face stands in: one size small
    // enough for every caption to fit its button.
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(11);
    for (const HelpButton& entry : kHelpButtons)
        while (small.pixelSize() > 7 &&
               QFontMetrics(small).horizontalAdvance(QString::fromUtf8(entry.caption)) > 91 - 8)
            small.setPixelSize(small.pixelSize() - 1);
    for (const HelpButton& entry : kHelpButtons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setFont(small);
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
        button->setGeometry(2, entry.top, 91, 17);
        button->setFocusPolicy(Qt::NoFocus);
        const int page = entry.page;
        connect(button, &QPushButton::clicked, this,
                [this, page] { Pages->setCurrentIndex(page); });
    }
    Pages->setCurrentIndex(0);
}

int THelp::CurrentPage() const {
    return Pages->currentIndex();
}

QString THelp::CurrentTitle() const {
    const auto* title = Pages->currentWidget()->findChild<QLabel*>(QStringLiteral("Title"));
    return title ? title->text() : QString();
}
