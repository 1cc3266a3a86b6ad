#include "platform/SignalClose.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

int g_fds[2] = {-1, -1}; // [0] written by the handler, [1] read by the notifier
struct sigaction g_previous[std::size(Signals)];

void onSignal(int sig)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    // Non-blocking: with the socket full, a close is on its way already.
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
    errno = saved;
}

} // namespace

SignalClose::SignalClose(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalClose::readSignal);

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Signals); ++i)
        ::sigaction(Signals[i], &sa, &g_previous[i]);
    m_installed = true;
}

SignalClose::~SignalClose()
{
    if (!m_installed)
        return;
    for (size_t i = 0; i < std::size(Signals); ++i)
        ::sigaction(Signals[i], &g_previous[i], nullptr);
    delete m_notifier;
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

void SignalClose::listen()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}

void SignalClose::readSignal()
{
    unsigned char byte = 0;
    ssize_t n = 0;
    int last = 0;
    // Several signals in a row close once.
    while ((n = ::read(g_fds[1], &byte, 1)) == 1)
        last = byte;
    if (last != 0)
        emit closeRequested(last);
}
