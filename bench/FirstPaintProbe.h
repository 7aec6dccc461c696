#pragma once

#include <QObject>

// Prints how long the process took from the launch time given on its
// command line (CLOCK_REALTIME nanoseconds, taken by the script just before
// it started the process) to the first paint of a dialog window, then
// closes that window.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(long long launchedNs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    long long m_launchedNs;
    bool m_painted = false;
};

long long LaunchTimeFromArguments(int argc, char** argv);
