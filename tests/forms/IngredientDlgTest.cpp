// The ingredient picker on its own, driven through its real widgets under
// the offscreen platform: the database read as entries, the preselection,
// the ways out, and a database that cannot be opened.

#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogUnits.h"
#include "FormTestSupport.h"
#include "IngredientDlg.h"
#include "Resources.h"
#include "RunTable.h"
#include "TestSeam.h"
#include "WinApp.h"

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

constexpr int kList = 1035;

QListView* List(CDialog& picker)
{
    return qobject_cast<QListView*>(picker.GetDlgItem(kList));
}

std::vector<std::string> Entries(CDialog& picker)
{
    std::vector<std::string> entries;
    for (int i = 0; i < picker.ListBoxGetCount(kList); ++i)
        entries.push_back(picker.ListBoxGetText(kList, i));
    return entries;
}

}  // namespace

class IngredientDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linesBecomeEntries_data();
    void linesBecomeEntries();
    void longLineKeepsLaterNumbers();
    void entriesShownOnOneLineAndCut();
    void preselection_data();
    void preselection();
    void waysOut_data();
    void waysOut();
    void databaseReadAtEveryOpening();
    void missingDatabaseIsReportedAndCancels();
    void layoutFollowsTheTemplate();

private:
    // Runs a picker modally; ACT drives it while it is open.
    int RunPicker(const std::function<void(CDialog&)>& act);

    std::unique_ptr<ScratchWorkingDirectory> m_work;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

void IngredientDlgTest::initTestCase()
{
    UseCLocaleForNumbers();
}

void IngredientDlgTest::init()
{
    m_work = std::make_unique<ScratchWorkingDirectory>();
    QVERIFY(m_work->IsReady());
    m_boxes = std::make_unique<MessageBoxRecorder>();
    g_pickedIngredient = 0;
}

void IngredientDlgTest::cleanup()
{
    m_boxes.reset();
    m_work.reset();
}

int IngredientDlgTest::RunPicker(const std::function<void(CDialog&)>& act)
{
    ModalDialogAnswerer answerer(act);
    CIngredientDlg picker;
    return picker.DoModal();
}

// Catches a carriage return kept, a line feed trimmed, an empty line
// skipped, a line end added to the last line, or the entries reordered.
void IngredientDlgTest::linesBecomeEntries_data()
{
    QTest::addColumn<QByteArray>("database");
    QTest::addColumn<std::vector<std::string>>("entries");

    QTest::newRow("LF lines") << QByteArray("b first\na second\n")
                              << std::vector<std::string>{"b first\n", "a second\n"};
    QTest::newRow("CR LF lines") << QByteArray("b first\r\na second\r\n")
                                 << std::vector<std::string>{"b first\n", "a second\n"};
    QTest::newRow("last line without a line end")
        << QByteArray("first\nlast") << std::vector<std::string>{"first\n", "last"};
    QTest::newRow("empty line in between")
        << QByteArray("first\n\nthird\n") << std::vector<std::string>{"first\n", "\n", "third\n"};
    QTest::newRow("empty database") << QByteArray() << std::vector<std::string>{};
}

void IngredientDlgTest::linesBecomeEntries()
{
    QFETCH(QByteArray, database);
    QFETCH(std::vector<std::string>, entries);
    QVERIFY(m_work->WriteFile(kIngredientDatabase, database));
    std::vector<std::string> shown;
    RunPicker([&](CDialog& picker) { shown = Entries(picker); });
    QCOMPARE(shown, entries);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a line longer than the read buffer split into several entries,
// which moves the number of every later ingredient.
void IngredientDlgTest::longLineKeepsLaterNumbers()
{
    const std::string longLine(300, 'x');
    QVERIFY(m_work->WriteFile(kIngredientDatabase, "first\n" + QByteArray::fromStdString(longLine) + "\r\nthird\n"
                                                       + "fourth\n"));
    std::vector<std::string> shown;
    const int result = RunPicker([&](CDialog& picker) {
        shown = Entries(picker);
        DoubleClickListEntry(picker, kList, 3);
    });
    QCOMPARE(shown, (std::vector<std::string>{"first\n", longLine + "\n", "third\n", "fourth\n"}));
    QCOMPARE(result, IDOK);
    QCOMPARE(g_pickedIngredient, 4);
}

// Catches the line feed drawn as a line break (a taller entry), a long
// entry wrapped or given a horizontal scroll bar, or an elided text.
void IngredientDlgTest::entriesShownOnOneLineAndCut()
{
    const QByteArray longLine(300, 'w');
    QVERIFY(m_work->WriteFile(kIngredientDatabase, "short\n" + longLine + "\nend\n"));
    RunPicker([&](CDialog& picker) {
        QListView* list = List(picker);
        const QModelIndex shortEntry = list->model()->index(0, 0);
        const QModelIndex longEntry = list->model()->index(1, 0);
        QCOMPARE(list->model()->data(shortEntry).toString(), QString("short"));
        QCOMPARE(list->model()->data(longEntry).toString(), QString::fromLatin1(longLine));
        QCOMPARE(list->visualRect(longEntry).height(), list->visualRect(shortEntry).height());
        QVERIFY(!list->wordWrap());
        QCOMPARE(list->textElideMode(), Qt::ElideNone);
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        QVERIFY(list->visualRect(shortEntry).height() < 2 * list->fontMetrics().height());
        QVERIFY(!SaveRendering(&picker, "ingredient-picker").isEmpty());
    });
}

// Catches 0 selecting the first entry, an index off by one, a number past
// the end selecting the last entry, or a selection not scrolled into view.
void IngredientDlgTest::preselection_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("passed");
    QTest::addColumn<int>("selected");

    QTest::newRow("12 selects entry 12") << 60 << 12 << 11;
    QTest::newRow("1 selects the first entry") << 60 << 1 << 0;
    QTest::newRow("0 selects entry 41") << 60 << 0 << 40;
    QTest::newRow("-3 selects entry 41") << 60 << -3 << 40;
    QTest::newRow("last entry") << 60 << 60 << 59;
    QTest::newRow("0 with 40 lines selects nothing") << 40 << 0 << LB_ERR;
    QTest::newRow("past the end selects nothing") << 60 << 61 << LB_ERR;
}

void IngredientDlgTest::preselection()
{
    QFETCH(int, lines);
    QFETCH(int, passed);
    QFETCH(int, selected);
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(lines)));
    g_pickedIngredient = passed;
    int current = -2;
    bool inView = false;
    int scrolled = -1;
    const int result = RunPicker([&](CDialog& picker) {
        current = picker.ListBoxGetCurSel(kList);
        inView = selected == LB_ERR || ListEntryInView(picker, kList, selected);
        scrolled = List(picker)->verticalScrollBar()->value();
    });
    QCOMPARE(current, selected);
    QVERIFY(inView);
    if (selected == LB_ERR)
        QCOMPARE(scrolled, 0);
    QCOMPARE(result, IDCANCEL);
    QCOMPARE(g_pickedIngredient, passed);
}

// Catches a way out with the wrong result, Enter on Cancel taken as OK,
// Enter in the list taking the highlighted entry, a double-click taking
// another entry, or the focus not on Cancel at opening.
void IngredientDlgTest::waysOut_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("picked");

    QTest::newRow("Enter straight after opening") << "enter" << IDCANCEL << 12;
    QTest::newRow("Cancel button") << "cancel" << IDCANCEL << 12;
    QTest::newRow("Esc") << "esc" << IDCANCEL << 12;
    QTest::newRow("Close box") << "close" << IDCANCEL << 12;
    QTest::newRow("click on entry 3 then Enter") << "click 2 enter" << IDOK << 12;
    QTest::newRow("arrow down in the list then Enter") << "down enter" << IDOK << 12;
    QTest::newRow("double-click on entry 7") << "double 6" << IDOK << 7;
    QTest::newRow("double-click on entry 1") << "double 0" << IDOK << 1;
}

void IngredientDlgTest::waysOut()
{
    QFETCH(QString, way);
    QFETCH(int, result);
    QFETCH(int, picked);
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(20)));
    g_pickedIngredient = 12;
    int focusAtOpening = 0;
    const int closed = RunPicker([&](CDialog& picker) {
        focusAtOpening = picker.GetFocusId();
        const QStringList steps = way.split(' ');
        if (steps[0] == "enter") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (steps[0] == "cancel") {
            QTest::mouseClick(picker.GetDlgItem(IDCANCEL), Qt::LeftButton);
        } else if (steps[0] == "esc") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else if (steps[0] == "close") {
            picker.close();
        } else if (steps[0] == "click") {
            ClickListEntry(picker, kList, steps[1].toInt());
            QCOMPARE(picker.GetFocusId(), kList);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (steps[0] == "down") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(picker.GetFocusId(), kList);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QCOMPARE(picker.ListBoxGetCurSel(kList), 12);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (steps[0] == "double") {
            DoubleClickListEntry(picker, kList, steps[1].toInt());
        }
    });
    QCOMPARE(focusAtOpening, IDCANCEL);
    QCOMPARE(closed, result);
    QCOMPARE(g_pickedIngredient, picked);
    QVERIFY(m_boxes->Boxes().empty());
}

// Catches a list kept from an earlier opening instead of the file's
// current content.
void IngredientDlgTest::databaseReadAtEveryOpening()
{
    QVERIFY(m_work->WriteFile(kIngredientDatabase, "old one\nold two\n"));
    std::vector<std::string> first;
    RunPicker([&](CDialog& picker) { first = Entries(picker); });
    QVERIFY(m_work->WriteFile(kIngredientDatabase, "new one\r\nnew two\r\nnew three\r\n"));
    std::vector<std::string> second;
    RunPicker([&](CDialog& picker) { second = Entries(picker); });
    QCOMPARE(first, (std::vector<std::string>{"old one\n", "old two\n"}));
    QCOMPARE(second, (std::vector<std::string>{"new one\n", "new two\n", "new three\n"}));
}

// Catches the process ended, the picker shown without its database, a
// message other than the one error box, or a result other than IDCANCEL.
void IngredientDlgTest::missingDatabaseIsReportedAndCancels()
{
    g_pickedIngredient = 12;
    int shown = 0;
    int result = 0;
    ShownWindows windows;
    {
        ModalDialogAnswerer answerer([](CDialog&) {});
        CIngredientDlg picker;
        result = picker.DoModal();
        shown = answerer.Count();
        QCOMPARE(m_boxes->Boxes().size(), std::size_t(1));
        QCOMPARE(m_boxes->Boxes().front().owner, &picker);
    }
    QCOMPARE(result, IDCANCEL);
    QCOMPARE(shown, 0);
    const MessageBoxRecord& box = m_boxes->Boxes().front();
    QCOMPARE(box.text, std::string("Error opening data file"));
    QCOMPARE(box.caption, std::string("Error"));
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(g_pickedIngredient, 12);
    QVERIFY(!windows.Captions().contains("Ingredients"));

    // With the database back, the same watch sees the picker shown.
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(3)));
    RunPicker([](CDialog&) {});
    QVERIFY(windows.Captions().contains("Ingredients"));
}

// Catches controls placed otherwise than the template says, a list whose
// height is not whole entries, Cancel made the default button, or a tab
// order other than Cancel then the list.
void IngredientDlgTest::layoutFollowsTheTemplate()
{
    QVERIFY(m_work->WriteFile(kIngredientDatabase, NumberedLines(30)));
    RunPicker([&](CDialog& picker) {
        const QSize units = picker.BaseUnits();
        QCOMPARE(picker.size(), MapDialogRect(QRect(0, 0, 187, 133), units).size());
        QCOMPARE(picker.windowTitle(), QString("Ingredients"));
        QCOMPARE(picker.GetDlgItem(IDCANCEL)->geometry(), MapDialogRect(QRect(67, 112, 50, 14), units));
        QVERIFY(!qobject_cast<QPushButton*>(picker.GetDlgItem(IDCANCEL))->isDefault());
        QListView* list = List(picker);
        const QRect area = MapDialogRect(QRect(7, 7, 173, 100), units);
        QCOMPARE(list->geometry().topLeft(), area.topLeft());
        QCOMPARE(list->width(), area.width());
        QVERIFY(list->height() <= area.height());
        const int entry = list->visualRect(list->model()->index(0, 0)).height();
        QCOMPARE((list->height() - 2 * list->frameWidth()) % entry, 0);
        QVERIFY(area.height() - list->height() < entry);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(picker.GetFocusId(), kList);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(picker.GetFocusId(), IDCANCEL);
    });
}

QTEST_MAIN(IngredientDlgTest)
#include "IngredientDlgTest.moc"
