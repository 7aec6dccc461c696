#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QListView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "IngredientDlg.h"
#include "RunTable.h"
#include "WinApp.h"

// picker_open_bench LINES [RUNS]: how long the ingredient picker takes to
// open on a database of LINES lines (read, list filled, preselected entry
// scrolled into view, first paint), beside the time just to read the file
// and split it into lines.  Prints the median and the best of RUNS runs.

namespace {

// An ingredient line of the usual width: number, name, formula, heat.
QByteArray DatabaseLines(int count)
{
    QByteArray lines;
    for (int n = 1; n <= count; ++n) {
        char line[128];
        std::snprintf(line, sizeof line, "%5d AMMONIUM PERCHLORATE %-8d   1CL   4H   1N   4O    -70.690  0.0702\r\n",
                      n, n);
        lines += line;
    }
    return lines;
}

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

// Reading alone: the whole file, then its lines as strings.
std::size_t ReadLinesOnly()
{
    std::FILE* file = std::fopen(kIngredientDatabase, "rb");
    if (file == nullptr)
        return 0;
    std::string contents;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        contents.append(chunk, got);
    std::fclose(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t feed = contents.find('\n', start);
        if (feed == std::string::npos)
            feed = contents.size();
        lines.emplace_back(contents, start, feed - start);
        start = feed + 1;
    }
    return lines.size();
}

// The picker with its opening timed.
class TimedPicker : public CIngredientDlg {
public:
    qint64 initNs = 0;

protected:
    bool OnInitDialog() override
    {
        QElapsedTimer timer;
        timer.start();
        const bool result = CIngredientDlg::OnInitDialog();
        initNs = timer.nsecsElapsed();
        return result;
    }
};

// Notes the first paint of the list.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

struct Run {
    double readMs;
    double initMs;
    double shownMs;
    double closedMs;
};

Run OneRun()
{
    Run run{};
    QElapsedTimer timer;
    timer.start();
    const std::size_t lines = ReadLinesOnly();
    run.readMs = Ms(timer.nsecsElapsed());
    if (lines == 0)
        return run;

    PaintWatch watch;
    timer.restart();
    {
        TimedPicker picker;
        picker.findChild<QListView*>("1035")->viewport()->installEventFilter(&watch);
        picker.Create();
        while (!watch.painted && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        run.shownMs = Ms(timer.nsecsElapsed());
        run.initMs = Ms(picker.initNs);
        timer.restart();
        picker.EndDialog(IDCANCEL);
    }
    run.closedMs = Ms(timer.nsecsElapsed());
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Best(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    UseCLocaleForNumbers();
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path()))
        return 2;
    QFile database(kIngredientDatabase);
    if (!database.open(QIODevice::WriteOnly) || database.write(DatabaseLines(count)) < 0)
        return 2;
    database.close();
    g_pickedIngredient = count / 2;

    OneRun();  // warms the file cache and Qt's first-use costs
    std::vector<double> read, init, shown, closed;
    for (int i = 0; i < runs; ++i) {
        const Run run = OneRun();
        read.push_back(run.readMs);
        init.push_back(run.initMs);
        shown.push_back(run.shownMs);
        closed.push_back(run.closedMs);
    }

    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << count << " lines, " << database.size() << " bytes, " << runs << " runs (median / best, ms)\n";
    out << "  just read the file into lines:         " << Median(read) << " / " << Best(read) << "\n";
    out << "  OnInitDialog (read, fill, preselect):  " << Median(init) << " / " << Best(init) << "\n";
    out << "  construction to first paint:           " << Median(shown) << " / " << Best(shown) << "\n";
    out << "  closed and destroyed:                  " << Median(closed) << " / " << Best(closed) << "\n";
    return 0;
}
