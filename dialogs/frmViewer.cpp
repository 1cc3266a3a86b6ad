#include "dialogs/frmViewer.h"

#include "platform/Desktop.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QPushButton* findButton(const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setAutoDefault(false); // Enter in the field finds; it must not press a button
    return b;
}

} // namespace

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
    findBar = new QWidget(this);
    findBar->setObjectName(QStringLiteral("findBar"));
    auto* bar = new QHBoxLayout(findBar);
    bar->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(findBar);
    label->setObjectName(QStringLiteral("findLabel"));
    findText = new QLineEdit(findBar);
    findText->setObjectName(QStringLiteral("findText"));
    label->setBuddy(findText);
    auto* previous = findButton(QStringLiteral("findPrevious"), findBar);
    auto* next = findButton(QStringLiteral("findNext"), findBar);
    findStatus = new QLabel(findBar);
    findStatus->setObjectName(QStringLiteral("findStatus"));
    bar->addWidget(label);
    bar->addWidget(findText, 1);
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(findStatus);
    findBar->hide();
    layout->addWidget(findBar);
    connect(previous, &QPushButton::clicked, this, [this] { find(true); });
    connect(next, &QPushButton::clicked, this, [this] { find(false); });
    // While typing, the match grows from where it began.
    connect(findText, &QLineEdit::textEdited, this, [this] {
        QTextCursor at = textCursor();
        at.setPosition(at.selectionStart());
        setTextCursor(at);
        if (findText->text().isEmpty())
            findStatus->clear();
        else
            find(false);
    });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            &frmViewer::openFind);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { find(false); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { find(true); });

    buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    retranslate();
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
    m_title = title;
    setWindowTitle(m_title + QStringLiteral(" - ") + Desktop::title());
    return true;
}

void frmViewer::retranslate()
{
    findBar->findChild<QLabel*>(QStringLiteral("findLabel"))->setText(tr("尋找(&F)："));
    findBar->findChild<QPushButton*>(QStringLiteral("findPrevious"))->setText(tr("上一個(&P)"));
    findBar->findChild<QPushButton*>(QStringLiteral("findNext"))->setText(tr("下一個(&N)"));
    buttons->button(QDialogButtonBox::Close)->setText(tr("關閉(&C)"));
    findStatus->clear(); // said in the language that is gone
    if (!m_title.isEmpty())
        setWindowTitle(m_title + QStringLiteral(" - ") + Desktop::title());
}

void frmViewer::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange && buttons)
        retranslate();
    QDialog::changeEvent(e);
}

QString frmViewer::shownText() const
{
    return page ? page->toPlainText() : text->toPlainText();
}

QString frmViewer::foundText() const
{
    return textCursor().selectedText();
}

void frmViewer::openFind()
{
    findBar->show();
    findText->setFocus(Qt::ShortcutFocusReason);
    findText->selectAll();
}

void frmViewer::find(bool backward)
{
    const QString wanted = findText->text();
    if (wanted.isEmpty()) {
        openFind();
        return;
    }
    findBar->show();
    QTextDocument* doc = page ? page->document() : text->document();
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = doc->find(wanted, textCursor(), flags);
    bool wrapped = false;
    if (found.isNull()) {
        // Past the last match, round again from the other end.
        QTextCursor end(doc);
        if (backward)
            end.movePosition(QTextCursor::End);
        found = doc->find(wanted, end, flags);
        wrapped = !found.isNull();
    }
    if (found.isNull()) {
        // What is still marked is no match of this text.
        QTextCursor at = textCursor();
        at.setPosition(at.selectionStart());
        setTextCursor(at);
        findStatus->setText(tr("找不到「%1」").arg(wanted));
        Desktop::instance().beep();
        return;
    }
    findStatus->setText(!wrapped ? QString() : backward ? tr("已從結尾再找") : tr("已從開頭再找"));
    setTextCursor(found);
}

QTextCursor frmViewer::textCursor() const
{
    return page ? page->textCursor() : text->textCursor();
}

void frmViewer::setTextCursor(const QTextCursor& at)
{
    if (page) {
        page->setTextCursor(at);
        page->ensureCursorVisible();
    } else {
        text->setTextCursor(at);
        text->ensureCursorVisible();
    }
}

void frmViewer::keyPressEvent(QKeyEvent* e)
{
    // Enter in the find field finds (with Shift, backwards); Esc closes the field first.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && findText->hasFocus()) {
        find(e->modifiers() & Qt::ShiftModifier);
        return;
    }
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && findBar->isVisible()) {
        findBar->hide();
        findStatus->clear();
        (page ? static_cast<QWidget*>(page) : text)->setFocus();
        return;
    }
    QDialog::keyPressEvent(e);
}
