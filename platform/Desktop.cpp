#include "platform/Desktop.h"

#include <QtGlobal>

#include <cstdlib>
#include <memory>

namespace {

// What the models have before a window system is there (tools, model tests): a message
// is a line on the standard error stream, and nothing can be opened or viewed.
class PlainDesktop : public Desktop {
public:
    void warn(const QString& text) override { qWarning("%s", qUtf8Printable(text)); }
    void fatal(const QString& text) override { qCritical("%s", qUtf8Printable(text)); }
    void info(const QString& text) override { qInfo("%s", qUtf8Printable(text)); }
    int ask(const QString& text, const QStringList&, int defaultIndex) override
    {
        qInfo("%s", qUtf8Printable(text));
        return defaultIndex;
    }
    void beep() override {}
    bool openFile(const QString&, std::function<void()>) override { return false; }
    bool openUrl(const QString&) override { return false; }
    bool view(const QString&, ViewAs) override { return false; }
    void endProgram(int code) override { std::_Exit(code); }
};

std::unique_ptr<Desktop>& current()
{
    static std::unique_ptr<Desktop> desktop;
    return desktop;
}

} // namespace

Desktop& Desktop::instance()
{
    if (!current())
        current() = std::make_unique<PlainDesktop>();
    return *current();
}

void Desktop::install(Desktop* desktop)
{
    current().reset(desktop);
}

bool Desktop::openOrView(const QString& path, ViewAs as, const QString& failure)
{
    // The desktop in place when the opener gives up, which may be a moment later.
    const auto inViewer = [path, as, failure] {
        Desktop& desktop = instance();
        if (desktop.view(path, as))
            return true;
        desktop.warn(failure);
        return false;
    };
    return instance().openFile(path, [inViewer] { inViewer(); }) || inViewer();
}

QString Desktop::title()
{
    return QCoreApplication::translate("Desktop", TitleText);
}
