#pragma once

#include <QLineEdit>

// A single-line edit whose typing limit holds back what the user types or
// pastes, but never cuts text that the program puts in.
class CEditControl : public QLineEdit {
public:
    explicit CEditControl(QWidget* parent);

    // 0: no limit.
    void SetTypingLimit(int maxChars);
    int TypingLimit() const { return m_limit; }
    // Puts TEXT in whole, whatever the limit.
    void SetProgramText(const QString& text);

    // Cuts what was just inserted into INPUT so that it keeps to the limit.
    bool KeepToLimit(QString& input, int& cursor) const;

private:
    int m_limit = 0;
    bool m_programText = false;
    QString m_previous;
};
