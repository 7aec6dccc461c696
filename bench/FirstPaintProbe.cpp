#include "FirstPaintProbe.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long NowNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

FirstPaintProbe::FirstPaintProbe(long long launchedNs) : m_launchedNs(launchedNs)
{
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_painted && event->type() == QEvent::Paint) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && qobject_cast<QDialog*>(widget->window())) {
            m_painted = true;
            std::printf("%.1f\n", (NowNs() - m_launchedNs) / 1e6);
            std::fflush(stdout);
            QWidget* window = widget->window();
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

long long LaunchTimeFromArguments(int argc, char** argv)
{
    return argc > 1 ? std::atoll(argv[1]) : NowNs();
}
