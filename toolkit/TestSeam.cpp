#include "TestSeam.h"

namespace {

ModalDialogHandler& InstalledModalHandler()
{
    static ModalDialogHandler handler;
    return handler;
}

}  // namespace

ModalDialogHandler SetModalDialogHandler(ModalDialogHandler handler)
{
    ModalDialogHandler previous = std::move(InstalledModalHandler());
    InstalledModalHandler() = std::move(handler);
    return previous;
}

ModalDialogHandler CurrentModalDialogHandler()
{
    return InstalledModalHandler();
}

MessageBoxRecorder::MessageBoxRecorder()
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxRecord& box) {
        m_boxes.push_back(box);
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(std::move(m_previous));
}

ModalDialogAnswerer::ModalDialogAnswerer(ModalDialogHandler answer)
{
    m_previous = SetModalDialogHandler([this, answer = std::move(answer)](CDialog& dialog) {
        ++m_count;
        answer(dialog);
    });
}

ModalDialogAnswerer::~ModalDialogAnswerer()
{
    SetModalDialogHandler(std::move(m_previous));
}
