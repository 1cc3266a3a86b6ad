#include "dialogs/frmViewer.h"

#include "platform/Desktop.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

frmViewer::frmViewer(QWidget* parent, const QString& path, Format format)
    : QDialog(parent), m_path(path), m_format(format)
{
    setObjectName(QStringLiteral("frmViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    if (format == Format::Html) {
        page = new QTextBrowser(this);
        page->setObjectName(QStringLiteral("page"));
        page->setOpenLinks(false); // the pages link nowhere; nothing to follow out of them
        layout->addWidget(page);
        resize(440, 360);
    } else {
        text = new QPlainTextEdit(this);
        text->setObjectName(QStringLiteral("text"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        layout->addWidget(text);
        resize(520, 360);
    }
    buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("關閉(&C)"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
}

frmViewer* frmViewer::showFile(QWidget* parent, const QString& path, Format format)
{
    frmViewer* viewer = nullptr;
    if (parent)
        for (frmViewer* open : parent->findChildren<frmViewer*>(Qt::FindDirectChildrenOnly))
            if (open->path() == path && open->format() == format && open->isVisible())
                viewer = open;
    const bool fresh = !viewer;
    if (fresh)
        viewer = new frmViewer(parent, path, format);
    if (!viewer->load()) {
        if (fresh)
            delete viewer;
        return nullptr;
    }
    // Above an open modal dialog, a window that is not modal itself takes no input.
    if (fresh && QApplication::activeModalWidget())
        viewer->setWindowModality(Qt::ApplicationModal);
    viewer->show(); // a new one centred on its parent by QDialog
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

bool frmViewer::load()
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString content = QString::fromUtf8(f.readAll());
    QString title = QFileInfo(m_path).fileName();
    if (page) {
        page->setHtml(content);
        const QString docTitle = page->documentTitle().simplified();
        if (!docTitle.isEmpty())
            title = docTitle;
    } else {
        text->setPlainText(content);
        // The newest block is at the end.
        text->moveCursor(QTextCursor::End);
        text->ensureCursorVisible();
    }
    setWindowTitle(title + QStringLiteral(" - ") + Desktop::Title);
    return true;
}

QString frmViewer::shownText() const
{
    return page ? page->toPlainText() : text->toPlainText();
}
