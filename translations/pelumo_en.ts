<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>CardProcessor</name>
    <message>
        <source>計算錯誤，離開。</source>
        <translation>Calculation error; the program ends.</translation>
    </message>
    <message>
        <source>
%1的車資「%2」不是數字。</source>
        <translation>
The fare “%2” on %1 is not a number.</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>不能讀取路線檔案 %1（%2），沒有載入任何路線。</source>
        <translation>Cannot read the route file %1 (%2); no routes were loaded.</translation>
    </message>
    <message>
        <source>不能寫入記錄檔案 %1：%2
記錄已保留，下次輸出時會一併寫入。</source>
        <translation>Cannot write the log file %1: %2
The entries are kept and go with the next output.</translation>
    </message>
    <message>
        <source>不能讀取上次保留的行車記錄 %1（%2）。</source>
        <translation>Cannot read the trip log kept last time %1 (%2).</translation>
    </message>
    <message>
        <source>不能寫入記錄檔案 %1：%2
未寫入的記錄已保留在 %3，下次啟動後輸出時會一併寫入。</source>
        <translation>Cannot write the log file %1: %2
The unwritten entries are kept in %3 and will be written with the first output after the next start.</translation>
    </message>
    <message>
        <source>不能寫入記錄檔案 %1：%2
也不能保留在 %3（%4），未寫入的記錄已經失去。</source>
        <translation>Cannot write the log file %1: %2
Nor can they be kept in %3 (%4); the unwritten entries are lost.</translation>
    </message>
</context>
<context>
    <name>Desktop</name>
    <message>
        <source>巴士Pelumo機模擬器</source>
        <translation>Pelumo Bus Simulator</translation>
    </message>
</context>
<context>
    <name>HelpPages</name>
    <message>
        <source>不能取得車長控制器說明檔案。</source>
        <translation>Cannot write the driver console help page.</translation>
    </message>
    <message>
        <source>不能取得Pelumo咭設定說明檔案。</source>
        <translation>Cannot write the Pelumo card settings help page.</translation>
    </message>
    <message>
        <source>不能啟動瀏覽器開啟說明頁。</source>
        <translation>Cannot start a browser to open the help page.</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>不能使用事件日誌 %1：%2
本次執行不寫入事件日誌，檔案保持原狀；設備、記錄檔案和卡不受影響。</source>
        <translation>Cannot use the event journal %1: %2
Nothing is journalled in this run and the file is left as it is; the equipment, the log file and the card are not affected.</translation>
    </message>
    <message>
        <source>另一個程式正在使用這個檔案</source>
        <translation>another program is using this file</translation>
    </message>
    <message>
        <source>檔案已損壞，或不是資料庫（%1）</source>
        <translation>the file is damaged or is not a database (%1)</translation>
    </message>
    <message>
        <source>缺少 Qt 的 SQLite 驅動程式</source>
        <translation>Qt&apos;s SQLite driver is missing</translation>
    </message>
    <message>
        <source>由較新版本的程式寫成（格式 %1，本程式只認得格式 %2 或以前的）</source>
        <translation>written by a newer version of the program (format %1; this program knows formats up to %2)</translation>
    </message>
    <message>
        <source>不能改用預寫式記錄（WAL）</source>
        <translation>cannot switch to write-ahead logging (WAL)</translation>
    </message>
</context>
<context>
    <name>KeyRegion</name>
    <message>
        <source>英文字 SHIFT</source>
        <translation>Letters (SHIFT)</translation>
    </message>
    <message>
        <source>光暗</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>對比度</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>事故</source>
        <translation>Accident</translation>
    </message>
    <message>
        <source>錢箱</source>
        <translation>Cash box</translation>
    </message>
    <message>
        <source>輸出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>空格</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>輸入</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>開/關</source>
        <translation>Power on/off</translation>
    </message>
    <message>
        <source>↑</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>↓</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>路線</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>起點</source>
        <translation>Origin</translation>
    </message>
    <message>
        <source>終點</source>
        <translation>Terminus</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>車長控制器按鍵「%1」</source>
        <translation>Driver console key “%1”</translation>
    </message>
    <message>
        <source>（字母 %1）</source>
        <translation> (letter %1)</translation>
    </message>
    <message>
        <source>，按英文字 SHIFT 後輸入 %1</source>
        <translation>, types %1 after Letters (SHIFT)</translation>
    </message>
    <message>
        <source>
鍵盤：%1</source>
        <translation>
Keyboard: %1</translation>
    </message>
    <message>
        <source>，鍵盤：%1</source>
        <translation>, keyboard: %1</translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>%1的最新訊息</source>
        <translation>%1: latest message</translation>
    </message>
</context>
<context>
    <name>ReportBars</name>
    <message>
        <source>%1 路線 %2 往%3</source>
        <translation>%1 route %2 to %3</translation>
    </message>
    <message>
        <source>%1
%2：%3</source>
        <translation>%1
%2: %3</translation>
    </message>
    <message>
        <source>每個行程的收款</source>
        <translation>Takings per trip</translation>
    </message>
    <message>
        <source>行程（路線及開始時間）</source>
        <translation>Trip (route and start time)</translation>
    </message>
    <message>
        <source>每日收款（%1 個行程，按日顯示）</source>
        <translation>Takings per day (%1 trips, shown by day)</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>每月收款（%1 個行程，按月顯示）</source>
        <translation>Takings per month (%1 trips, shown by month)</translation>
    </message>
    <message>
        <source>月份</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>所選日期內沒有收款</source>
        <translation>No takings on the dates chosen</translation>
    </message>
    <message>
        <source>收款（元）</source>
        <translation>Dollars</translation>
    </message>
</context>
<context>
    <name>ReportTable</name>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>路線</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>結束</source>
        <translation>End</translation>
    </message>
    <message>
        <source>收款</source>
        <translation>Takings</translation>
    </message>
    <message>
        <source>收款（元）</source>
        <translation>Takings ($)</translation>
    </message>
    <message>
        <source>未收費（%1）</source>
        <translation>Not charged (%1)</translation>
    </message>
    <message>
        <source>乘客（%1）</source>
        <translation>Passengers (%1)</translation>
    </message>
    <message>
        <source>成人</source>
        <translation>Adult</translation>
    </message>
    <message>
        <source>小童</source>
        <translation>Child</translation>
    </message>
    <message>
        <source>學童</source>
        <translation>Student</translation>
    </message>
    <message>
        <source>長者</source>
        <translation>Senior</translation>
    </message>
    <message>
        <source>開機卡</source>
        <translation>Start-up card</translation>
    </message>
    <message>
        <source>已付款</source>
        <translation>Already paid</translation>
    </message>
    <message>
        <source>餘額不足</source>
        <translation>Not enough value</translation>
    </message>
    <message>
        <source>讀卡錯誤</source>
        <translation>Misread</translation>
    </message>
    <message>
        <source>拒絕</source>
        <translation>Refused</translation>
    </message>
    <message>
        <source>過熱</source>
        <translation>Overheated</translation>
    </message>
    <message>
        <source>總計</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>全日合計</source>
        <translation>Day total</translation>
    </message>
</context>
<context>
    <name>RouteLine</name>
    <message>
        <source>%1 第 %2 行</source>
        <translation>%1, line %2</translation>
    </message>
</context>
<context>
    <name>RouteTable</name>
    <message>
        <source>第 %1 行超過 %2 個字元</source>
        <translation>line %1 is longer than %2 characters</translation>
    </message>
    <message>
        <source>檔案多於 %1 行</source>
        <translation>the file has more than %1 lines</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>不是一般檔案</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>是符號連結，不是一般檔案</source>
        <translation>a symbolic link, not a regular file</translation>
    </message>
    <message>
        <source>檔案大於 %1 MiB</source>
        <translation>larger than %1 MiB</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>不能讀取設定檔案 %1（%2）。
這次使用預設值，設定的變更不會儲存，檔案保持原狀。</source>
        <translation>Cannot read the settings file %1 (%2).
The defaults are used this time; changes to the settings are not saved and the file stays as it is.</translation>
    </message>
    <message>
        <source>%1 不是資料夾</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>原因不明</source>
        <translation>reason unknown</translation>
    </message>
    <message>
        <source>不能讀取設定檔案 %1（%2）。
設定的變更不會儲存，檔案保持原狀。</source>
        <translation>Cannot read the settings file %1 (%2).
Changes to the settings are not saved and the file stays as it is.</translation>
    </message>
    <message>
        <source>不能寫入設定檔案 %1（%2）。
設定的變更沒有儲存。</source>
        <translation>Cannot write the settings file %1 (%2).
The changes to the settings were not saved.</translation>
    </message>
    <message>
        <source>無法取得鎖定檔案 %1</source>
        <translation>cannot take the lock file %1</translation>
    </message>
</context>
<context>
    <name>SingleCopy</name>
    <message>
        <source>不能在 %1 建立檔案</source>
        <translation>cannot create a file in %1</translation>
    </message>
    <message>
        <source>原因不明</source>
        <translation>reason unknown</translation>
    </message>
    <message>
        <source>巴士Pelumo機模擬器已經在執行中。
請使用已開啟的視窗；同一使用者一次只可以執行一個模擬器。</source>
        <translation>Pelumo Bus Simulator is already running.
Please use the window that is open; a user can run one simulator at a time.</translation>
    </message>
    <message>
        <source>%1 不是可以使用的鎖定檔案</source>
        <translation>%1 is not a lock file that can be used</translation>
    </message>
    <message>
        <source>沒有防止同時執行兩個模擬器的鎖定（%1）。
請刪除這個檔案；在此之前，請不要同時開啟兩個模擬器。</source>
        <translation>There is no lock against running two simulators at once (%1).
Please delete this file; until then, do not open two simulators at the same time.</translation>
    </message>
</context>
<context>
    <name>StoreFile</name>
    <message>
        <source>以反斜線結束，會接上下一行</source>
        <translation>ends with a backslash, which joins the next line to it</translation>
    </message>
    <message>
        <source>有引號沒有結束，會吞掉後面各行</source>
        <translation>has a quotation mark that is not closed, which swallows the lines after it</translation>
    </message>
    <message>
        <source>檔案大於 1 MiB</source>
        <translation>larger than 1 MiB</translation>
    </message>
    <message>
        <source>第 %1 行%2</source>
        <translation>line %1 %2</translation>
    </message>
    <message>
        <source>第 %1 行的值以「@」開頭，是序列化的物件而不是文字</source>
        <translation>the value on line %1 begins with “@”: a serialised object, not text</translation>
    </message>
    <message>
        <source>檔案會大於 1 MiB，下次便不能讀取</source>
        <translation>the file would be larger than 1 MiB and could not be read next time</translation>
    </message>
    <message>
        <source>寫出的內容不能讀回</source>
        <translation>what would be written could not be read back</translation>
    </message>
</context>
<context>
    <name>TripLogFile</name>
    <message>
        <source>另一個程式正在寫入這個檔案</source>
        <translation>another program is writing this file</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>關於 巴士Pelumo模擬器</source>
        <translation>About Pelumo Bus Simulator</translation>
    </message>
    <message>
        <source>巴士Pelumo模擬器</source>
        <translation>Pelumo Bus Simulator</translation>
    </message>
    <message>
        <source>版本 1.0 (Revision 1)</source>
        <translation>Version 1.0 (Revision 1)</translation>
    </message>
    <message>
        <source>本程式只供模擬及訓練之用，與任何真實收費系統無關。</source>
        <translation>For simulation and training only; no real fare system.</translation>
    </message>
    <message>
        <source>程式內的路線、車資及網絡位址均屬虛構。</source>
        <translation>Its routes, fares and network addresses are made up.</translation>
    </message>
    <message>
        <source>歡迎經以下網址提出意見。</source>
        <translation>Comments are welcome at the address below.</translation>
    </message>
    <message>
        <source>開啟網址 </source>
        <translation>Open the web address </translation>
    </message>
    <message>
        <source>確定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>不能啟動瀏覽器開啟 %1。</source>
        <translation>Cannot start a browser to open %1.</translation>
    </message>
</context>
<context>
    <name>frmBCP</name>
    <message>
        <source>乘客處理機</source>
        <translation>Card Processor</translation>
    </message>
    <message>
        <source>乘客處理機顯示屏第 %1 行</source>
        <translation>Card processor display, line %1</translation>
    </message>
    <message>
        <source>亮</source>
        <translation>on</translation>
    </message>
    <message>
        <source>熄</source>
        <translation>off</translation>
    </message>
    <message>
        <source>%1燈（%2）</source>
        <translation>%1 lamp (%2)</translation>
    </message>
    <message>
        <source>乘客處理機的%1色指示燈，現時%2</source>
        <translation>The card processor’s %1 lamp, now %2</translation>
    </message>
    <message>
        <source>紅</source>
        <translation>red</translation>
    </message>
    <message>
        <source>黃</source>
        <translation>yellow</translation>
    </message>
    <message>
        <source>綠</source>
        <translation>green</translation>
    </message>
</context>
<context>
    <name>frmCard</name>
    <message>
        <source>Pelumo咭設定</source>
        <translation>Pelumo Card Settings</translation>
    </message>
    <message>
        <source>使用Pelumo咭設定功能以設計Pelumo咭之類型、語言及剩餘值。</source>
        <translation>Set the type, language and remaining value of the simulated Pelumo card.</translation>
    </message>
    <message>
        <source>關閉(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>成人</source>
        <translation>Adult</translation>
    </message>
    <message>
        <source>小童</source>
        <translation>Child</translation>
    </message>
    <message>
        <source>學童</source>
        <translation>Student</translation>
    </message>
    <message>
        <source>長者</source>
        <translation>Senior</translation>
    </message>
    <message>
        <source>開機卡</source>
        <translation>Start-up card</translation>
    </message>
    <message>
        <source>&amp;Pelumo咭類別：</source>
        <translation>Card &amp;type:</translation>
    </message>
    <message>
        <source>中文(&amp;Z)</source>
        <translation>Ch&amp;inese</translation>
    </message>
    <message>
        <source>英文(&amp;E)</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>介面語言(&amp;L)：</source>
        <translation>&amp;Language:</translation>
    </message>
    <message>
        <source>剩餘值(&amp;V)：$</source>
        <translation>&amp;Value: $</translation>
    </message>
    <message>
        <source>剩餘值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>增值一百元(&amp;A)</source>
        <translation>&amp;Add $100</translation>
    </message>
    <message>
        <source>說明(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>增值無效：Pelumo咭剩餘值最大額為 $999.90</source>
        <translation>Top-up refused: a Pelumo card holds at most $999.90</translation>
    </message>
</context>
<context>
    <name>frmDDU</name>
    <message>
        <source>車長控制器</source>
        <translation>Driver Console</translation>
    </message>
    <message>
        <source>車長控制器顯示屏第 %1 行</source>
        <translation>Driver console display, line %1</translation>
    </message>
</context>
<context>
    <name>frmMDI</name>
    <message>
        <source>程式(&amp;P)</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>檢視輸出結果(&amp;L)</source>
        <translation>View Trip &amp;Log</translation>
    </message>
    <message>
        <source>Pelumo咭設定(&amp;S)...</source>
        <translation>Pelumo Card &amp;Settings...</translation>
    </message>
    <message>
        <source>模擬行車震盪(&amp;V)</source>
        <translation>Simulate Road &amp;Vibration</translation>
    </message>
    <message>
        <source>模擬機器過熱(&amp;T)</source>
        <translation>Simulate Over&amp;heating</translation>
    </message>
    <message>
        <source>程式設定(&amp;O)...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>結束(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>檢視(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>放大(&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>說明(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>車長控制器使用說明(&amp;D)</source>
        <translation>&amp;Driver Console Help</translation>
    </message>
    <message>
        <source>關於(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>自上次輸出後的行車記錄尚未寫入記錄檔案，結束程式便會失去這些記錄。
要先輸出再結束嗎？</source>
        <translation>The trip log entries made since the last output are not yet in the log file; ending the program loses them.
Output them before exiting?</translation>
    </message>
    <message>
        <source>輸出後結束(&amp;O)</source>
        <translation>&amp;Output, then Exit</translation>
    </message>
    <message>
        <source>不輸出，結束(&amp;Q)</source>
        <translation>Exit &amp;without Output</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>介面語言(&amp;G)</source>
        <translation>Lan&amp;guage</translation>
    </message>
    <message>
        <source>尚未輸出任何行車記錄（log.txt 不存在）。</source>
        <translation>No trip log has been output yet (there is no log.txt).</translation>
    </message>
    <message>
        <source>不能開啟行車記錄 %1。</source>
        <translation>Cannot open the trip log %1.</translation>
    </message>
    <message>
        <source>行程報告(&amp;R)...</source>
        <translation>Trip &amp;report...</translation>
    </message>
</context>
<context>
    <name>frmOption</name>
    <message>
        <source>設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>開機時間設定(&amp;B)</source>
        <translation>&amp;Boot Time</translation>
    </message>
    <message>
        <source>開機時間（秒）</source>
        <translation>Boot time (seconds)</translation>
    </message>
    <message>
        <source>設定「開機畫面」的模擬連接時間，可選擇由 5 秒至 30 秒。</source>
        <translation>The simulated connection time of the boot screen, from 5 to 30 seconds.</translation>
    </message>
    <message>
        <source>現時設定(秒)(&amp;T)：</source>
        <translation>&amp;Time (seconds):</translation>
    </message>
    <message>
        <source>現時設定（秒）</source>
        <translation>Time (seconds)</translation>
    </message>
    <message>
        <source>關閉(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>frmReport</name>
    <message>
        <source>行程報告</source>
        <translation>Trip report</translation>
    </message>
    <message>
        <source>開始日期</source>
        <translation>Start date</translation>
    </message>
    <message>
        <source>結束日期</source>
        <translation>End date</translation>
    </message>
    <message>
        <source>由(&amp;F)：</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>至(&amp;T)：</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>查詢(&amp;Q)</source>
        <translation>&amp;Query</translation>
    </message>
    <message>
        <source>查詢</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>行程表</source>
        <translation>Trip table</translation>
    </message>
    <message>
        <source>全日合計</source>
        <translation>Day total</translation>
    </message>
    <message>
        <source>圖表無法顯示：%1</source>
        <translation>The chart cannot be shown: %1</translation>
    </message>
    <message>
        <source>收款圖表</source>
        <translation>Takings chart</translation>
    </message>
    <message>
        <source>匯出表格(&amp;E)...</source>
        <translation>&amp;Export table...</translation>
    </message>
    <message>
        <source>匯出表格為 CSV</source>
        <translation>Export the table as CSV</translation>
    </message>
    <message>
        <source>匯出圖表(&amp;G)...</source>
        <translation>Export c&amp;hart...</translation>
    </message>
    <message>
        <source>匯出圖表為 PNG</source>
        <translation>Export the chart as PNG</translation>
    </message>
    <message>
        <source>關閉(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>沒有行程日誌，所以沒有可報告的行程。</source>
        <translation>There is no journal, so there are no trips to report.</translation>
    </message>
    <message>
        <source>沒有行程日誌，所以沒有可報告的行程：%1</source>
        <translation>There is no journal, so there are no trips to report: %1</translation>
    </message>
    <message>
        <source>所選日期內沒有行程。</source>
        <translation>No trips on the dates chosen.</translation>
    </message>
    <message>
        <source>%1 個行程，%2 名乘客，收款 %3 元，%4 次未收費。</source>
        <translation>%1 trips, %2 passengers, takings $%3, %4 reads not charged.</translation>
    </message>
    <message>
        <source>匯出圖表</source>
        <translation>Export chart</translation>
    </message>
    <message>
        <source>匯出表格</source>
        <translation>Export table</translation>
    </message>
    <message>
        <source>PNG 圖片 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>CSV 檔案 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>不能匯出到 %1：%2</source>
        <translation>Cannot export to %1: %2</translation>
    </message>
    <message>
        <source>圖表已匯出到 %1</source>
        <translation>Chart exported to %1</translation>
    </message>
    <message>
        <source>表格已匯出到 %1</source>
        <translation>Table exported to %1</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>啟動中...</source>
        <translation>Starting...</translation>
    </message>
</context>
<context>
    <name>frmViewer</name>
    <message>
        <source>尋找(&amp;F)：</source>
        <translation>&amp;Find:</translation>
    </message>
    <message>
        <source>上一個(&amp;P)</source>
        <translation>&amp;Previous</translation>
    </message>
    <message>
        <source>下一個(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>關閉(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>找不到「%1」</source>
        <translation>“%1” not found</translation>
    </message>
    <message>
        <source>已從結尾再找</source>
        <translation>Continued from the end</translation>
    </message>
    <message>
        <source>已從開頭再找</source>
        <translation>Continued from the beginning</translation>
    </message>
    <message>
        <source>%1 有 %2 MiB，這裡只顯示最後 256 KiB。</source>
        <translation>%1 is %2 MiB; only its last 256 KiB are shown here.</translation>
    </message>
    <message>
        <source>超過 %1 個字元的行只顯示開頭。</source>
        <translation>Lines over %1 characters show only their beginning.</translation>
    </message>
</context>
</TS>
