#include "shell/Startup.h"

#include "dialogs/frmViewer.h"
#include "panels/Artwork.h"
#include "platform/InterfaceLanguage.h"
#include "shell/QtDesktop.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QStyleFactory>

namespace Startup {

void prepareApplication(QApplication& app)
{
    // Fusion draws the same frames everywhere, so the panels fit side by side exactly.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setApplicationDisplayName(QString());
    app.setWindowIcon(Artwork::icon());
    QtDesktop::setViewer([](QWidget* parent, const QString& path, Desktop::ViewAs as) {
        const auto format =
            as == Desktop::ViewAs::Page ? frmViewer::Format::Html : frmViewer::Format::PlainText;
        return frmViewer::showFile(parent, path, format) != nullptr;
    });
    // The locale's language until the settings store is read: a second copy says so in it.
    InterfaceLanguage::apply(InterfaceLanguage::forLocale(QLocale()));
    // The devices' fonts, mapped to the free fonts that look like them.
    const QString ming = QStringLiteral("AR PL UMing TW");
    QFont::insertSubstitution(QStringLiteral("新細明體"), ming);
    QFont::insertSubstitution(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QStringLiteral("Arial Narrow"),
                               {QStringLiteral("Liberation Sans Narrow"), ming});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), ming});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), ming});
    // Menus and captions: Latin letters and digits in a proportional face, as in any
    // desktop program, Chinese in the same Traditional Chinese face as the devices (not in
    // whatever the system offers first, often a second CJK font with mainland forms).
    QFont ui = QApplication::font();
    ui.setFamilies({QStringLiteral("DejaVu Sans"), ming});
    QApplication::setFont(ui);
}

namespace {

// --help's texts: English for most terminals, Chinese where the locale asks for it.
struct HelpTexts {
    const char16_t* description;
    const char16_t* usage;
    const char16_t* options;
    const char16_t* help;
    const char16_t* version;
};

constexpr HelpTexts English = {
    u": a simulator of a bus's fare-card equipment, the passenger\n"
    u"card processor and the driver console side by side, worked with\n"
    u"the mouse or the keyboard (Ctrl+P switches it on, Insert taps the\n"
    u"card, F1 shows the keys). See pelumo(1) for the keyboard map and\n"
    u"where it keeps its files.",
    u"Usage: pelumo [options]\n", u"Options:", u"Print this help and exit.",
    u"Print the version and exit."};

constexpr HelpTexts Chinese = {u"：巴士收費機的模擬器，乘客處理機與車長控制器並排，\n"
                               u"以滑鼠或鍵盤操作（Ctrl+P 開機，Insert 拍卡，F1 顯示按鍵）。\n"
                               u"鍵盤對照及檔案存放位置見 pelumo(1)。",
                               u"用法：pelumo [選項]\n", u"選項：", u"顯示本說明後結束。",
                               u"顯示版本後結束。"};

} // namespace

UiLanguage commandLineLanguage()
{
    // The first of these that is set names the locale, as the C library reads them.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            return locale.startsWith(u"zh") ? UiLanguage::Chinese : UiLanguage::English;
    }
    return UiLanguage::English;
}

CommandLine readCommandLine(const QStringList& arguments, UiLanguage language)
{
    const HelpTexts& texts = language == UiLanguage::Chinese ? Chinese : English;
    QCommandLineParser parser;
    parser.setApplicationDescription(Desktop::Title + QString::fromUtf16(texts.description));
    // "-reverse" is one of QApplication's own options, not -r -e -v...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QString::fromUtf16(texts.help));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QString::fromUtf16(texts.version));
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // unknown options are left to QApplication, or ignored

    if (parser.isSet(help)) {
        // The usage line names the command, not the path it was started by. No translation
        // is loaded this early, so the parser's own heading is replaced here.
        QString options = parser.helpText().section(u'\n', 1);
        options.replace(QStringLiteral("\nOptions:\n"),
                        u'\n' + QString::fromUtf16(texts.options) + u'\n');
        return {false, QString::fromUtf16(texts.usage) + options};
    }
    if (parser.isSet(version))
        return {false, QStringLiteral("pelumo ") + Version + u'\n'};
    return {};
}

CommandLine readCommandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return readCommandLine(arguments, commandLineLanguage());
}

} // namespace Startup
