#include "AboutDlg.h"

#include "Resources.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(kAboutDialogTemplate, parent)
{
}
