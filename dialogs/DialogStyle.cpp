#include "dialogs/DialogStyle.h"

#include "common/Numbers.h"

#include <QDialog>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>

namespace DialogStyle {

QRect tw(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void frame(QDialog* dialog, const QString& caption, int width, int height)
{
    // A parent keeps the dialog out of the taskbar; the position is ours, not the parent's.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowTitle(caption);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setFixedSize(twips(width), twips(height));
    dialog->setFont(textFont());
    const QScreen* screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}

void buttonFace(QWidget* box)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
}

QFont textFont(bool bold)
{
    QFont f(QStringLiteral("新細明體"));
    f.setPointSizeF(9);
    f.setBold(bold);
    return f;
}

} // namespace DialogStyle
