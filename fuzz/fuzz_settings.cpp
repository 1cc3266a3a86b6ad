// The settings store with any content: five texts written into its keys, or a whole
// hand-edited file. Loading the card must always give a card the processor can hold and
// the boot wait must stay in range; a card saved and loaded again comes back as itself.
#include "bcp/StoredCard.h"
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_settings: %s\n", what);
        std::abort();
    }
}

QTemporaryDir* g_dir = nullptr;
QString g_file;

void checkCard(const StoredCard::Values& v)
{
    check(v.purse >= Money::dollars(-35) && v.purse <= Money::cents(99990),
          "loaded value out of range");
    check(int(v.type) >= 0 && int(v.type) <= 4, "loaded type out of range");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // A store in memory-backed storage where there is one: every run writes it many times.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    g_dir = new QTemporaryDir(base + QStringLiteral("/pelumo-fuzz-XXXXXX"));
    check(g_dir->isValid(), "no temporary directory");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, g_dir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, g_dir->path());
    g_file = QSettings(QSettings::UserScope, QStringLiteral("Quillmere"), QStringLiteral("pelumo"))
                 .fileName();
    check(QDir().mkpath(QFileInfo(g_file).path()), "no folder for the store");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static qint64 stamp = QDateTime::currentMSecsSinceEpoch();
    FuzzedDataProvider in(data, size);
    const bool wholeFile = in.ConsumeBool();
    const bool roundTrip = in.ConsumeIntegral<uint8_t>() < 16;
    if (wholeFile) {
        QFile f(g_file);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the store");
        const std::string bytes = in.ConsumeRemainingBytesAsString();
        f.write(bytes.data(), qint64(bytes.size()));
        f.close();
        // A new time on every run, so the store never takes the file for one it has read.
        f.setFileTime(QDateTime::fromMSecsSinceEpoch(stamp += 1000),
                      QFileDevice::FileModificationTime);
    } else {
        // All five keys in one go, as texts; the program's own writes come in the round
        // trip below.
        QSettings store(QSettings::UserScope, QStringLiteral("Quillmere"),
                        QStringLiteral("pelumo"));
        store.beginGroup(QStringLiteral("pelumo.exe"));
        for (const QString& key : {Settings::Loadtime, Settings::Lastroute, Settings::PurseValue,
                                   Settings::CardType, Settings::Language})
            store.setValue(key, QString::fromStdString(in.ConsumeRandomLengthString(40)));
        store.sync();
    }

    const StoredCard::Values card = StoredCard::load();
    checkCard(card);
    // What the store left on disk gives QSettings nothing to decode but text.
    {
        QSettings raw(g_file, QSettings::IniFormat);
        for (const QString& key : raw.allKeys()) {
            // Some listed keys ("a//b") cannot be looked up and read as invalid; an empty one
            // would only draw a warning.
            if (key.isEmpty())
                continue;
            const QVariant value = raw.value(key);
            const QVariantList elements =
                value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList{value};
            for (const QVariant& v : elements) {
                const int type = v.typeId();
                check(type == QMetaType::QString || type == QMetaType::QStringList ||
                          type == QMetaType::UnknownType,
                      "a value decoded as something else than text");
            }
        }
    }
    const int wait = Settings::loadtimeMs();
    check(wait >= 5000 && wait <= 30000, "boot wait out of range");

    // Saving and loading gives the same card back, to the cent. Each save
    // rewrites the store three times, so only some runs take this path.
    if (!roundTrip)
        return 0;
    const QString route = Settings::lastRoute();
    Settings::Write(Settings::Lastroute, route);
    check(Settings::lastRoute() == route, "a route reads back changed");
    StoredCard::save(card.purse.shortText(), card.type, card.language);
    const StoredCard::Values again = StoredCard::load();
    checkCard(again);
    check(again.type == card.type && again.language == card.language, "type or language changed");
    check(again.purse == card.purse, "value changed on saving");
    // A top-up's text is kept as written.
    StoredCard::save(QStringLiteral("200.00"), again.type, again.language);
    check(Settings::Read(Settings::PurseValue, QString()) == QStringLiteral("200.00"),
          "top-up text");
    return 0;
}
