#include "EditControl.h"

#include <QValidator>

#include <algorithm>

namespace {

// QLineEdit asks its validator about every change, typed, pasted or set;
// the validator is where a change can still be shortened.
class LimitValidator : public QValidator {
public:
    explicit LimitValidator(CEditControl* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int& cursor) const override
    {
        m_edit->KeepToLimit(input, cursor);
        return Acceptable;
    }

private:
    CEditControl* m_edit;
};

}  // namespace

CEditControl::CEditControl(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { m_previous = text; });
}

void CEditControl::SetTypingLimit(int maxChars)
{
    m_limit = std::max(0, maxChars);
}

void CEditControl::SetProgramText(const QString& text)
{
    m_programText = true;
    setText(text);
    m_programText = false;
    m_previous = text;
}

bool CEditControl::KeepToLimit(QString& input, int& cursor) const
{
    if (m_programText || m_limit == 0 || input.size() <= m_limit || input.size() <= m_previous.size())
        return false;
    // The change replaced the middle of the previous text: what is left of
    // it before and after the insertion stays, the insertion is cut.
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(input.size(), m_previous.size());
    while (prefix < shorter && input[prefix] == m_previous[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && input[input.size() - 1 - suffix] == m_previous[m_previous.size() - 1 - suffix])
        ++suffix;
    const qsizetype inserted = input.size() - prefix - suffix;
    const qsizetype room = std::max<qsizetype>(0, m_limit - prefix - suffix);
    const qsizetype allowed = std::min(inserted, room);
    input = input.left(prefix + allowed) + input.right(suffix);
    cursor = static_cast<int>(prefix + allowed);
    return true;
}
