#include "ListBox.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <vector>

// The entries as bytes; the text shown is made only for the entries drawn.
// Appended entries are announced to the view together, once the program
// has finished adding them or asks the list about them: one announcement
// per entry would cost more than the entries themselves.
class ListBoxModel : public QAbstractListModel {
public:
    ListBoxModel(QObject* parent, bool sorted) : QAbstractListModel(parent), m_sorted(sorted) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_announced;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_announced || role != Qt::DisplayRole)
            return {};
        return Shown(m_entries[static_cast<std::size_t>(index.row())]);
    }

    int Add(const std::string& text)
    {
        if (m_sorted)
            return Insert(SortedRow(text), text);
        m_entries.push_back(text);
        if (m_entries.size() == static_cast<std::size_t>(m_announced) + 1)
            QMetaObject::invokeMethod(this, [this] { Announce(); }, Qt::QueuedConnection);
        return static_cast<int>(m_entries.size()) - 1;
    }

    void Clear()
    {
        beginResetModel();
        m_entries.clear();
        m_announced = 0;
        endResetModel();
    }

    // Tells the view about the entries added since it was last told.
    void Announce()
    {
        const int count = static_cast<int>(m_entries.size());
        if (count == m_announced)
            return;
        beginInsertRows(QModelIndex(), m_announced, count - 1);
        m_announced = count;
        endInsertRows();
    }

    const std::string& Entry(int row) const { return m_entries[static_cast<std::size_t>(row)]; }
    int Count() const { return static_cast<int>(m_entries.size()); }

private:
    // The entry without its line end, on one line.  Bytes that are not
    // UTF-8 are read as Latin-1, as older data files are written.
    static QString Shown(const std::string& entry)
    {
        std::size_t length = entry.size();
        while (length > 0 && (entry[length - 1] == '\n' || entry[length - 1] == '\r'))
            --length;
        const QByteArrayView bytes(entry.data(), static_cast<qsizetype>(length));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString shown = utf8.decode(bytes);
        if (utf8.hasError())
            shown = QString::fromLatin1(bytes);
        shown.replace('\n', ' ').replace('\r', ' ');
        return shown;
    }

    int Insert(int row, const std::string& text)
    {
        Announce();
        beginInsertRows(QModelIndex(), row, row);
        m_entries.insert(m_entries.begin() + row, text);
        ++m_announced;
        endInsertRows();
        return row;
    }

    // Sorted lists keep their entries in order of their text, regardless of
    // case; an entry goes after those equal to it.
    int SortedRow(const std::string& text) const
    {
        const auto before = [](const std::string& a, const std::string& b) {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
            });
        };
        return static_cast<int>(std::upper_bound(m_entries.begin(), m_entries.end(), text, before)
                                - m_entries.begin());
    }

    std::vector<std::string> m_entries;
    int m_announced = 0;
    bool m_sorted;
};

CListBox::CListBox(QWidget* parent, bool sorted) : QListView(parent), m_model(new ListBoxModel(this, sorted))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    // Every entry is one line high: the view lays out a long list at once.
    setUniformItemSizes(true);
}

int CListBox::AddString(const std::string& text)
{
    return m_model->Add(text);
}

void CListBox::ResetContent()
{
    m_model->Clear();
}

int CListBox::GetCount() const
{
    return m_model->Count();
}

std::string CListBox::GetText(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return m_model->Entry(index);
}

void CListBox::SetCurSel(int index)
{
    m_model->Announce();
    if (index < 0 || index >= GetCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex entry = m_model->index(index);
    selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    scrollTo(entry);
}

int CListBox::GetCurSel() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

int CListBox::EntryHeight()
{
    m_model->Announce();
    if (GetCount() > 0)
        return std::max(1, sizeHintForRow(0));
    m_model->Add("X");
    m_model->Announce();
    const int height = std::max(1, sizeHintForRow(0));
    m_model->Clear();
    return height;
}
