#pragma once

#include "platform/Desktop.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Records every call; opening and viewing succeed unless told otherwise.
class FakeDesktop : public Desktop {
public:
    struct Call {
        // "warn", "fatal", "info", "ask", "beep", "openFile", "openUrl", "viewPage",
        // "viewText", "endProgram"
        QString kind;
        QString text;
    };

    void warn(const QString& text) override
    {
        calls.append({QStringLiteral("warn"), text});
        if (whileShown)
            whileShown();
    }
    void fatal(const QString& text) override { calls.append({QStringLiteral("fatal"), text}); }
    void info(const QString& text) override { calls.append({QStringLiteral("info"), text}); }
    int ask(const QString& text, const QStringList& buttons, int defaultIndex) override
    {
        calls.append({QStringLiteral("ask"), text});
        if (whileShown)
            whileShown();
        const qsizetype i = answer.isEmpty() ? -1 : buttons.indexOf(answer);
        return i < 0 ? defaultIndex : int(i);
    }
    void beep() override { calls.append({QStringLiteral("beep"), QString()}); }
    bool openFile(const QString& path, std::function<void()> notOpened) override
    {
        calls.append({QStringLiteral("openFile"), path});
        if (openSucceeds && openFindsNothing && notOpened)
            notOpened();
        return openSucceeds;
    }
    bool openUrl(const QString& url) override
    {
        calls.append({QStringLiteral("openUrl"), url});
        return openSucceeds;
    }
    bool view(const QString& path, ViewAs as) override
    {
        calls.append(
            {as == ViewAs::Page ? QStringLiteral("viewPage") : QStringLiteral("viewText"), path});
        return viewSucceeds;
    }

    void endProgram(int code) override
    {
        calls.append({QStringLiteral("endProgram"), QString::number(code)});
    }

    int count(const QString& kind) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.kind == kind ? 1 : 0;
        return n;
    }
    QStringList texts(const QString& kind) const
    {
        QStringList out;
        for (const Call& c : calls)
            if (c.kind == kind)
                out << c.text;
        return out;
    }

    // Runs inside warn() and ask(), as a message box's own event loop would run timers and
    // queued work while the box is up.
    std::function<void()> whileShown;
    QList<Call> calls;
    // The caption of the button ask() answers with; the default button when it names none.
    QString answer;
    bool openSucceeds = true;
    // The opener starts, then reports that it opened nothing.
    bool openFindsNothing = false;
    bool viewSucceeds = true;
};
