#include "platform/HelpPages.h"

#include "platform/AppPaths.h"
#include "platform/Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace HelpPages {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Both pages end with the same small print.
const QStringList Notice = {QStringLiteral("本說明由 Quillmere 為巴士Pelumo機模擬器編寫，"),
                            QStringLiteral("只供模擬及訓練之用。")};
const QStringList EnglishNotice = {
    QStringLiteral("This help was written by Quillmere for the Pelumo Bus Fare-Card Simulator,"),
    QStringLiteral("for simulation and training only.")};

// Where this copy writes the trip log: beside the program, or the user's data directory.
QString logFileLine()
{
    return QDir::toNativeSeparators(AppPaths::logFile()).toHtmlEscaped() + QStringLiteral(")<p>");
}

QStringList consoleLines()
{
    QStringList l = {
        QStringLiteral("<html><head><meta charset=\"utf-8\"><title>"),
        QStringLiteral("車長控制器說明"),
        QStringLiteral("</title></head><body>"),
        QStringLiteral("<b>車長控制器說明</b><p>"),
        QStringLiteral("<font size=2>"),
        QStringLiteral("車長控制器簡寫為 DDU。，是用來對"),
        QStringLiteral("乘客處理機(BCP) 作出收費等資料更"),
        QStringLiteral("改的。<p>"),
        QString(),
        QStringLiteral("<b>【輸入路線】</b><br>"),
        QStringLiteral("按「路線」→ 輸入路線號→ 按「輸"),
        QStringLiteral("入」。<p>"),
        QStringLiteral("<b>【輸入含英文字的路線】</b><br>"),
        QStringLiteral("輸入英文字：按「英文字 SHIFT」→ "),
        QStringLiteral("選擇要輸入的英文字。<p>"),
        QStringLiteral("<b>【選擇分段】</b><br>"),
        QStringLiteral("按「↑」或「↓」按鈕可選擇上或下"),
        QStringLiteral("一個分段。<p>"),
        QStringLiteral("<b>【轉換目的地方向】</b><br>"),
        QStringLiteral("按「終點」→ 按「輸入」<p>"),
        QStringLiteral("<b>【輸出記錄至總部】</b><br>"),
        QStringLiteral("按「輸出」→ 按「輸入」<br>"),
        QStringLiteral("(註：記錄將儲存到以下檔案：<br>"),
        logFileLine(),
        QStringLiteral("<b>【開啟或關閉車長控制器】</b><br>"),
        QStringLiteral("按「開/關」<p>"),
        QStringLiteral("<p><b>【不能使用的按鈕】</b><br>"),
        QStringLiteral("真實之Pelumo程式功能很多，有很多東西"),
        QStringLiteral("實在不能在程式內模擬。這些按鈕包括(不包括輸入英文字)：<p>"),
        QStringLiteral("事故、F1、F2、F3、F4、F5、錢箱、光暗、對比度及退出<p>"),
        QStringLiteral("<b>【以鍵盤操作】</b><br>"),
        QStringLiteral("主視窗在前時，鍵盤可代替滑鼠操作車長控制器：<br>"),
        QStringLiteral("0 至 9：數字鍵　Enter：輸入　Esc：取消<br>"),
        QStringLiteral("↑ ↓：上或下一個分段　空白鍵：空格<br>"),
        QStringLiteral("F3：英文字 SHIFT　F5：路線　F6：起點<br>"),
        QStringLiteral("F7：終點　F8：方向　F9：輸出<br>"),
        QStringLiteral("Shift+F1 至 Shift+F4：控制器上的 F1 至 F4<br>"),
        QStringLiteral("Ctrl+P：開/關（單按一個鍵不會開關機器）<br>"),
        QStringLiteral("輸入路線時，按英文字母鍵即輸入該字母，與按「英文字 SHIFT」"),
        QStringLiteral("再按印有該字母的按鈕相同。<br>"),
        QStringLiteral("顯示 (Y/N) 的問題：Y 即「輸入」，N 即「取消」。<br>"),
        QStringLiteral("Insert：把Pelumo咭拍在讀卡器上，乘客處理機回應後自動拿走。<br>"),
        QStringLiteral("Shift+Insert：把Pelumo咭拍在讀卡範圍以外，乘客處理機會要求再拍卡。<br>"),
        QStringLiteral("F1：本說明　Ctrl+Q：結束程式<p>"),
        QStringLiteral("<hr><font size=1>"),
    };
    l << Notice << QStringLiteral("</body></html>");
    return l;
}

QStringList cardLines()
{
    QStringList l = {
        QStringLiteral("<html><head><meta charset=\"utf-8\"><title>"),
        QStringLiteral("Pelumo咭設定說明"),
        QStringLiteral("</title></head><body>"),
        QStringLiteral("<b>Pelumo咭設定說明</b><p>"),
        QStringLiteral("<font size=2>"),
        QStringLiteral("使用「Pelumo咭設定」對話方塊可以"),
        QStringLiteral("更改Pelumo咭的類型、剩餘值及介面"),
        QStringLiteral("語言<p>"),
        QString(),
        QStringLiteral("<b>【更改Pelumo咭類型】</b><br>"),
        QStringLiteral("於「Pelumo咭類別」的清單方塊中選"),
        QStringLiteral("擇Pelumo卡的類型。不同的類型有不"),
        QStringLiteral("同的特性<p>"),
        QStringLiteral("成人/學生 Pelumo咭：收取全費車資。<br>"),
        QStringLiteral("小童/長者 Pelumo咭：收取半費車資。<br>"),
        QStringLiteral("開機咭：必須先使用此卡開機，但當平"),
        QStringLiteral("常使用時會出現「剩餘值不足」字句。"),
        QStringLiteral("另外剩餘值和語言對開機卡是沒有影響"),
        QStringLiteral("的。<p>"),
        QStringLiteral("<b>【更改Pelumo咭語言】</b><br>"),
        QStringLiteral("非本地使用者可以在購買Pelumo時選擇"),
        QStringLiteral("其介面語言。這個選項可選擇於拍卡時"),
        QStringLiteral("BCP 機出現的語言<p>"),
        QStringLiteral("<b>【更改Pelumo咭剩餘值】</b><br>"),
        QStringLiteral("現時的剩餘值將顯示在文字方塊內，"),
        QStringLiteral("按「增值一百元」可將剩餘值增加一"),
        QStringLiteral("百元，最高額為 $999.90<p>"),
        QStringLiteral("<hr><font size=1>"),
    };
    l << Notice << QStringLiteral("</body></html>");
    return l;
}

// The English pages follow the Chinese ones section by section. The console's keys keep
// their Chinese captions on the artwork, so each is quoted as printed with its meaning.
QStringList englishConsoleLines()
{
    QStringList l = {
        QStringLiteral("<html lang=\"en\"><head><meta charset=\"utf-8\"><title>"),
        QStringLiteral("Driver Console Help"),
        QStringLiteral("</title></head><body>"),
        QStringLiteral("<b>Driver Console Help</b><p>"),
        QStringLiteral("<font size=2>"),
        QStringLiteral("The driver console, DDU for short, is where the driver changes"),
        QStringLiteral("the fare and the other data of the passenger card processor"),
        QStringLiteral("(BCP).<p>"),
        QString(),
        QStringLiteral("<b>[Entering a route]</b><br>"),
        QStringLiteral("Press 路線 (Route), key in the route number, then press"),
        QStringLiteral("輸入 (Enter).<p>"),
        QStringLiteral("<b>[Entering a route with letters]</b><br>"),
        QStringLiteral("To key in a letter: press 英文字 SHIFT (Letters SHIFT), then"),
        QStringLiteral("the key printed with the letter you want.<p>"),
        QStringLiteral("<b>[Choosing a fare section]</b><br>"),
        QStringLiteral("Press ↑ or ↓ to choose the section before or after the one"),
        QStringLiteral("shown.<p>"),
        QStringLiteral("<b>[Turning the route round]</b><br>"),
        QStringLiteral("Press 終點 (Terminus), then 輸入 (Enter).<p>"),
        QStringLiteral("<b>[Sending the trip log to the depot]</b><br>"),
        QStringLiteral("Press 輸出 (Output), then 輸入 (Enter).<br>"),
        QStringLiteral("(Note: the log is saved to this file:<br>"),
        logFileLine(),
        QStringLiteral("<b>[Switching the driver console on or off]</b><br>"),
        QStringLiteral("Press 開/關 (On/Off).<p>"),
        QStringLiteral("<p><b>[Keys that do nothing here]</b><br>"),
        QStringLiteral("The real equipment does a great deal that this program cannot"),
        QStringLiteral("simulate. These keys do nothing (except when keying in letters):<p>"),
        QStringLiteral("事故 (Incident), F1, F2, F3, F4, F5, 錢箱 (Cash Box), 光暗 (Brightness), "
                       "對比度 (Contrast) and 退出 (Exit).<p>"),
        QStringLiteral("<b>[Working it from the keyboard]</b><br>"),
        QStringLiteral("While the main window is in front, the keyboard works the driver console "
                       "in place of the mouse:<br>"),
        QStringLiteral("0 to 9: the digit keys; Enter: 輸入 (Enter); Esc: 取消 (Cancel)<br>"),
        QStringLiteral("↑ ↓: the section before or after; Space bar: 空格 (Space)<br>"),
        QStringLiteral("F3: 英文字 SHIFT (Letters SHIFT); F5: 路線 (Route); F6: 起點 (Origin)<br>"),
        QStringLiteral("F7: 終點 (Terminus); F8: 方向 (Direction); F9: 輸出 (Output)<br>"),
        QStringLiteral("Shift+F1 to Shift+F4: the console's keys F1 to F4<br>"),
        QStringLiteral(
            "Ctrl+P: 開/關 (On/Off) (no single key switches the equipment on or off)<br>"),
        QStringLiteral("In route entry, a letter key enters that letter, just as pressing "
                       "英文字 SHIFT (Letters SHIFT)"),
        QStringLiteral("and then the key printed with that letter does.<br>"),
        QStringLiteral("At a question ending in (Y/N): Y is 輸入 (Enter), N is 取消 (Cancel).<br>"),
        QStringLiteral("Insert: taps the Pelumo card on the reader; it is taken away once the "
                       "card processor has answered.<br>"),
        QStringLiteral("Shift+Insert: taps the Pelumo card outside the reader's range; the card "
                       "processor asks for it again.<br>"),
        QStringLiteral("F1: this help; Ctrl+Q: end the program<p>"),
        QStringLiteral("<hr><font size=1>"),
    };
    l << EnglishNotice << QStringLiteral("</body></html>");
    return l;
}

QStringList englishCardLines()
{
    QStringList l = {
        QStringLiteral("<html lang=\"en\"><head><meta charset=\"utf-8\"><title>"),
        QStringLiteral("Pelumo Card Settings Help"),
        QStringLiteral("</title></head><body>"),
        QStringLiteral("<b>Pelumo Card Settings Help</b><p>"),
        QStringLiteral("<font size=2>"),
        QStringLiteral("The Pelumo Card Settings dialog changes the type of the Pelumo"),
        QStringLiteral("card, the value left on it and the language it shows on the"),
        QStringLiteral("card processor.<p>"),
        QString(),
        QStringLiteral("<b>[Changing the card's type]</b><br>"),
        QStringLiteral("Choose the type of Pelumo card in the card type list. Each type"),
        QStringLiteral("is charged differently:<p>"),
        QStringLiteral("Adult and student Pelumo cards: pay the full fare.<br>"),
        QStringLiteral("Child and elderly Pelumo cards: pay half the fare.<br>"),
        QStringLiteral("Start-up card: the equipment must first be logged in with this"),
        QStringLiteral("card; presented as a fare card, it is refused with 剩餘值不足"),
        QStringLiteral("(not enough value). Its value and language make no difference"),
        QStringLiteral("to it.<p>"),
        QStringLiteral("<b>[Changing the card's language]</b><br>"),
        QStringLiteral("Visitors can choose the language of their Pelumo card when they"),
        QStringLiteral("buy it. This option chooses the language the card processor (BCP)"),
        QStringLiteral("shows when the card is presented.<p>"),
        QStringLiteral("<b>[Changing the value left on the card]</b><br>"),
        QStringLiteral("The value left on the card is shown in the text box; the button"),
        QStringLiteral("beside it adds a hundred dollars to it, up to a highest value of"),
        QStringLiteral("$999.90.<p>"),
        QStringLiteral("<hr><font size=1>"),
    };
    l << EnglishNotice << QStringLiteral("</body></html>");
    return l;
}

// The page is written as a new file: whatever stands at the path is removed first and the
// file is created exclusively, without following a link. In a program directory others can
// write to, a link planted as temphelp.html would otherwise have the page written over any
// file of the user's.
bool writePage(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return false;
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    // A full disk may show only when the file is closed.
    const bool closed = ::close(fd) == 0;
    return done == bytes.size() && closed;
}

} // namespace

QStringList lines(Page page, UiLanguage language)
{
    if (language == UiLanguage::English)
        return page == Page::Console ? englishConsoleLines() : englishCardLines();
    return page == Page::Console ? consoleLines() : cardLines();
}

QString text(Page page, UiLanguage language)
{
    return lines(page, language).join(CrLf);
}

QString failureMessage(Page page)
{
    return page == Page::Console
               ? QCoreApplication::translate("HelpPages", "不能取得車長控制器說明檔案。")
               : QCoreApplication::translate("HelpPages", "不能取得Pelumo咭設定說明檔案。");
}

QString noBrowserMessage()
{
    return QCoreApplication::translate("HelpPages", "不能啟動瀏覽器開啟說明頁。");
}

bool show(Page page, UiLanguage language)
{
    const QString path = AppPaths::helpFile();
    Desktop& desktop = Desktop::instance();
    if (!writePage(path, (text(page, language) + CrLf).toUtf8())) {
        desktop.warn(failureMessage(page));
        return false;
    }
    // No browser: the program's own viewer shows the page instead.
    return Desktop::openOrView(path, Desktop::ViewAs::Page, noBrowserMessage());
}

} // namespace HelpPages
