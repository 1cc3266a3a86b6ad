#include "platform/Settings.h"

#include "common/Numbers.h"
#include "platform/StoreFile.h"

#include <QSettings>

#include <algorithm>
#include <memory>

namespace {

// ~/.config/Quillmere/pelumo.conf, opened by its name so that QSettings reads no file but
// the one made plain first. None when that file holds serialised values and cannot be
// mended: its keys then read as their defaults and nothing is written to it.
std::unique_ptr<QSettings> openStore()
{
    const QString path = StoreFile::path();
    if (!StoreFile::makePlain(path))
        return nullptr;
    auto s = std::make_unique<QSettings>(path, QSettings::IniFormat);
    s->beginGroup(QStringLiteral("pelumo.exe"));
    return s;
}

} // namespace

QString Settings::Read(const QString& key, const QString& defaultText)
{
    const auto s = openStore();
    if (!s)
        return defaultText;
    const QVariant v = s->value(key);
    if (!v.isValid())
        return defaultText;
    // A hand-edited list value ("1, 2") comes back as a list, of variants when an element
    // was written with "@@"; take it as one text.
    if (v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void Settings::Write(const QString& key, const QString& text)
{
    const auto s = openStore();
    if (!s)
        return;
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
