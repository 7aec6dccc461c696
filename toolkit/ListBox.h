#pragma once

#include <QListView>

#include <string>

class ListBoxModel;

// A list box: single selection, entries kept exactly as added (bytes,
// line end included) and each shown on one line without its line end, cut
// at the right edge.  The entries live in a plain model, so a list of a
// hundred thousand entries fills and opens without delay.
class CListBox : public QListView {
public:
    CListBox(QWidget* parent, bool sorted);

    // Appends TEXT, or inserts it in order when the list is sorted; returns
    // its index.
    int AddString(const std::string& text);
    void ResetContent();
    int GetCount() const;
    std::string GetText(int index) const;
    // Selects INDEX and scrolls it into view; an index outside the list
    // selects nothing and leaves the list where it is.
    void SetCurSel(int index);
    // The selected entry, -1 when none is.
    int GetCurSel() const;
    // The height of one entry in pixels (measured on a sample entry when
    // the list is empty).
    int EntryHeight();

private:
    ListBoxModel* m_model;
};
