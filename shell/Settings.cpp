#include "shell/Settings.h"

#include "common/Numbers.h"

#include <QSettings>

#include <algorithm>

namespace {

// ~/.config/Quillmere/pelumo.conf on Linux, the registry on Windows.
class Store : public QSettings {
public:
    Store() : QSettings(QSettings::UserScope, QStringLiteral("Quillmere"), QStringLiteral("pelumo"))
    {
        beginGroup(QStringLiteral("pelumo.exe"));
    }
};

} // namespace

QString Settings::Read(const QString& key, const QString& defaultText)
{
    Store s;
    const QVariant v = s.value(key);
    if (!v.isValid())
        return defaultText;
    // A hand-edited list value ("1, 2") comes back as a list; take it as one text.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void Settings::Write(const QString& key, const QString& text)
{
    Store s;
    s.setValue(key, text);
    s.sync();
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
