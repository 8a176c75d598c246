// The pictures of the editor's icons (I_MoveForward ... I_Exit): 24 x 24,
// drawn in code on a transparent ground, dark enough to read on a light panel.
// The same name always gives the same picture, pixel for pixel.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

constexpr int kEditorIconSide = 24;

// The picture of the icon with this object name; a null image for a name
// that is not one of the editor's icons.
QImage EditorIconImage(const QString& objectName);

// The same picture as an icon for a button; null for an unknown name.
QIcon EditorIcon(const QString& objectName);
