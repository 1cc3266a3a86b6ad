#include "dialogs/DialogStyle.h"

#include "common/Twips.h"

#include <QDialog>
#include <QFont>

namespace DialogStyle {

QRect tw(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void frame(QDialog* dialog, const QString& caption, int width, int height)
{
    // A parent keeps the dialog out of the taskbar and above the main window.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowTitle(caption);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setFixedSize(twips(width), twips(height));
    dialog->setFont(textFont());
    // Placed when shown: QDialog centres a dialog that has not been moved on its parent's
    // window, frame included and kept on the screen, or on the screen when it has none.
}

void buttonFace(QWidget* box)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
}

QFont textFont(bool bold)
{
    // Latin letters and digits in a proportional face, the Chinese in 新細明體.
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("新細明體")});
    f.setPointSizeF(9);
    f.setBold(bold);
    return f;
}

} // namespace DialogStyle
