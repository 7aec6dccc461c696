#pragma once

#include <functional>
#include <vector>

#include "MessageBox.h"

class CDialog;

// How tests answer what would wait for a person.
//
// A modal-dialog handler runs inside the modal loop of every dialog opened
// with DoModal, once the dialog is open and has the focus; it drives the
// dialog as a person would (keys, clicks).  A dialog still open when the
// handler returns is cancelled, so a test never hangs.
using ModalDialogHandler = std::function<void(CDialog&)>;
ModalDialogHandler SetModalDialogHandler(ModalDialogHandler handler);
ModalDialogHandler CurrentModalDialogHandler();

// Records every message box while it lives and answers each with OK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxRecord>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    std::vector<MessageBoxRecord> m_boxes;
    MessageBoxHandler m_previous;
};

// Answers every modal dialog opened while it lives with ANSWER and counts
// the dialogs.
class ModalDialogAnswerer {
public:
    explicit ModalDialogAnswerer(ModalDialogHandler answer);
    ~ModalDialogAnswerer();
    ModalDialogAnswerer(const ModalDialogAnswerer&) = delete;
    ModalDialogAnswerer& operator=(const ModalDialogAnswerer&) = delete;

    int Count() const { return m_count; }

private:
    int m_count = 0;
    ModalDialogHandler m_previous;
};
