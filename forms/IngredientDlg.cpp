#include "IngredientDlg.h"

#include <cstdio>
#include <memory>
#include <string>

#include "Resources.h"
#include "RunTable.h"

namespace {

constexpr int kIngredientList = 1035;
// A number of 0 or less preselects the 41st entry.
constexpr int kIndexForNoNumber = 40;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The whole file as bytes; reading stops early at a read error.
std::string ReadAll(std::FILE* file)
{
    std::string contents;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        contents.append(chunk, got);
    return contents;
}

}  // namespace

CIngredientDlg::CIngredientDlg(QWidget* parent) : CDialog(kIngredientDialogTemplate, parent)
{
    MapDoubleClicked(kIngredientList, [this] { OnDblclkIngredientList(); });
}

bool CIngredientDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!FillIngredientList()) {
        // The form behind keeps everything typed into it: the picker just
        // closes as if cancelled.
        MessageBox("Error opening data file", "Error", MB_OK);
        EndDialog(IDCANCEL);
        return false;
    }
    SelectPickedIngredient();
    return true;
}

// One entry per line of the database, in file order, whatever a line's
// length, so that an entry's position is always its line number.  Each
// entry is its line as read in text mode: a carriage return before the line
// feed is dropped, the line feed stays, and a last line without a line end
// gets none.
bool CIngredientDlg::FillIngredientList()
{
    const File file(std::fopen(kIngredientDatabase, "rb"));
    if (!file)
        return false;
    const std::string contents = ReadAll(file.get());
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t feed = contents.find('\n', start);
        if (feed == std::string::npos) {
            ListBoxAddString(kIngredientList, contents.substr(start));
            break;
        }
        std::size_t end = feed;
        if (end > start && contents[end - 1] == '\r')
            --end;
        std::string entry = contents.substr(start, end - start);
        entry += '\n';
        ListBoxAddString(kIngredientList, entry);
        start = feed + 1;
    }
    return true;
}

void CIngredientDlg::SelectPickedIngredient()
{
    const int index = g_pickedIngredient <= 0 ? kIndexForNoNumber : g_pickedIngredient - 1;
    ListBoxSetCurSel(kIngredientList, index);
}

void CIngredientDlg::OnDblclkIngredientList()
{
    g_pickedIngredient = ListBoxGetCurSel(kIngredientList) + 1;
    CDialog::OnOK();
}
