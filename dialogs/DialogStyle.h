#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QWidget;

// What the three dialogs share: placement in twips, the window's look, the fonts.
namespace DialogStyle {

QRect tw(int left, int top, int width, int height);

// Fixed size in twips, title bar with a close box only, modal, centred on its parent (the
// main window).
void frame(QDialog* dialog, const QString& caption, int width, int height);

// A read-only box drawn on the button face, as the dialogs' value boxes are.
void buttonFace(QWidget* box);

// The dialogs' 9-point text face: a proportional Latin face, then 新細明體 for the Chinese.
QFont textFont(bool bold = false);

} // namespace DialogStyle
