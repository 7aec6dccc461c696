#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class CDialog;
class QWidget;

// The process's working directory moved into a fresh temporary folder for
// as long as the object lives, with fake "tharsel" and "notepad" programs
// that append their name and arguments to "commands.log" there.
class ScratchWorkingDirectory {
public:
    ScratchWorkingDirectory();
    ~ScratchWorkingDirectory();

    bool IsReady() const { return m_ready; }
    QString Path() const { return m_directory.path(); }
    // Replaces the fake PROGRAM with one that logs and exits with STATUS.
    void WriteFakeProgram(const QString& program, int status = 0);
    // The lines of commands.log: "tharsel", "notepad case.out", ...
    QStringList CommandLog() const;
    QByteArray ReadFile(const QString& name) const;
    // Writes BYTES as file NAME, replacing what was there.
    bool WriteFile(const QString& name, const QByteArray& bytes);
    bool Remove(const QString& name);
    bool Exists(const QString& name) const;

private:
    QTemporaryDir m_directory;
    QString m_previous;
    bool m_ready = false;
};

// The texts of labels, check boxes, buttons and group boxes in WINDOW that
// need more room than their control gives them.
QStringList TextsThatDoNotFit(QWidget* window);

// Saves a rendering of WINDOW as NAME.png under the build tree's
// renderings folder; returns the file's path, empty on failure.
QString SaveRendering(QWidget* window, const QString& name);

// Moves the focus to field ID of DIALOG as the dialog manager does (its text
// selected), then types TEXT over it as a person would.  False, with nothing
// typed, when the field does not take the focus (a disabled field).
bool TypeInto(CDialog& dialog, int id, const QString& text);

// COUNT lines "ingredient 1" to "ingredient COUNT", each ending in LINEEND.
QByteArray NumberedLines(int count, const QByteArray& lineEnd = "\n");

// Clicks, or double-clicks, entry INDEX of list box ID in DIALOG as a
// person would, scrolling it into view first.
void ClickListEntry(CDialog& dialog, int id, int index);
void DoubleClickListEntry(CDialog& dialog, int id, int index);
// Whether entry INDEX of list box ID is in view.
bool ListEntryInView(CDialog& dialog, int id, int index);

// The captions of the windows shown while it lives, in order.
class ShownWindows : public QObject {
public:
    ShownWindows();
    ~ShownWindows() override;
    const QStringList& Captions() const { return m_captions; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_captions;
};
