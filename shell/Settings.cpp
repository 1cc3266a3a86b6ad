#include "shell/Settings.h"

#include "common/Numbers.h"
#include "shell/StoreFile.h"

#include <QSettings>

#include <algorithm>
#include <memory>

namespace {

// ~/.config/Quillmere/pelumo.conf, opened by its name in the plain-text format: QSettings
// reads no file but that one, and never decodes a value as anything but text.
std::unique_ptr<QSettings> openStore()
{
    auto s = std::make_unique<QSettings>(StoreFile::path(), StoreFile::format());
    s->beginGroup(QStringLiteral("pelumo.exe"));
    return s;
}

} // namespace

QString Settings::Read(const QString& key, const QString& defaultText)
{
    return openStore()->value(key, defaultText).toString();
}

void Settings::Write(const QString& key, const QString& text)
{
    const auto s = openStore();
    s->setValue(key, text);
    s->sync();
}

int Settings::loadtimeMs()
{
    const auto v = Numbers::wholeNumber(Read(Loadtime, QStringLiteral("20000")));
    if (!v)
        return 20000;
    return static_cast<int>(std::clamp<qint64>(*v, 5000, 30000));
}

QString Settings::lastRoute()
{
    return Read(Lastroute, QString());
}
