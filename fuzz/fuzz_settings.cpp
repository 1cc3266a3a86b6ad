// The settings store's format with any content, in memory: a whole hand-edited file, or
// five texts written into the program's keys. Reading never decodes anything but text;
// what is read writes back to a file that reads as the same, and that file is written the
// same again; texts written read back as themselves.
#include "platform/StoreFile.h"

#include <fuzzer/FuzzedDataProvider.h>

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

const char* const Keys[] = {"Loadtime", "Lastroute", "PurseValue", "CardType", "Language"};

void checkTexts(const QSettings::SettingsMap& map)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        check(it.value().typeId() == QMetaType::QString,
              "a value read as something else than text");
        check(!it.key().isEmpty() && !it.key().startsWith(u'/') && !it.key().endsWith(u'/') &&
                  !it.key().contains(QStringLiteral("//")),
              "a key QSettings could not look up");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool wholeFile = in.ConsumeBool();
    const uint8_t extra = in.ConsumeIntegral<uint8_t>();

    QSettings::SettingsMap map;
    if (wholeFile) {
        const std::string bytes = in.ConsumeRemainingBytesAsString();
        QString error;
        const bool ok =
            StoreFile::read(QByteArrayView(bytes.data(), qsizetype(bytes.size())), map, &error);
        check(ok == error.isEmpty(), "a failure without a reason, or a reason without one");
        checkTexts(map);
        if (!ok)
            return 0;
    } else {
        // The program's keys with any texts, and a few keys of other groups.
        for (const char* key : Keys)
            map.insert(QStringLiteral("pelumo.exe/") + QLatin1String(key),
                       QString::fromStdString(in.ConsumeRandomLengthString(40)));
        for (int i = 0; i < extra % 4; ++i) {
            const QString group = QString::fromStdString(in.ConsumeRandomLengthString(8));
            const QString key = QString::fromStdString(in.ConsumeRandomLengthString(8));
            const QString name = (group + u'/' + key).split(u'/', Qt::SkipEmptyParts).join(u'/');
            if (!name.isEmpty())
                map.insert(name, QString::fromStdString(in.ConsumeRandomLengthString(40)));
        }
    }

    const QByteArray written = StoreFile::write(map);
    QSettings::SettingsMap back;
    QString error;
    check(StoreFile::read(written, back, &error), "a written file cannot be read");
    check(back == map, "a written file reads back otherwise");
    check(StoreFile::write(back) == written, "a file read back is written otherwise");
    return 0;
}
