#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into the program's normal close, so that logging out,
// Ctrl+C in a terminal or a service manager's stop save what a close saves.
//
// The handler does nothing but write one byte to a socket pair; the notifier on the other
// end emits closeRequested() from the event loop, where anything may be done. A signal that
// comes before listen() waits in the socket until then.
class SignalClose : public QObject {
    Q_OBJECT
public:
    // Installs the handlers. One object at a time.
    explicit SignalClose(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~SignalClose() override;

    // Starts delivering closeRequested(), from the event loop.
    void listen();

signals:
    void closeRequested(int signal);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false; // false when no socket pair could be made
};
