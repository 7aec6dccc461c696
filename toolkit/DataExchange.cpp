#include "DataExchange.h"

#include <QString>

#include "Dialog.h"
#include "NumberText.h"
#include "WinApp.h"

namespace {

std::string Filled(const char* message, int first, int second = 0)
{
    return QString::fromUtf8(message).arg(first).arg(second).toStdString();
}

std::string FilledOne(const char* message, int first)
{
    return QString::fromUtf8(message).arg(first).toStdString();
}

}  // namespace

CDataExchange::CDataExchange(CDialog& dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(&dialog)
{
}

void CDataExchange::PrepareCtrl(int id)
{
    m_lastControl = id;
}

void CDataExchange::Fail(const std::string& message)
{
    m_failed = true;
    m_pDlgWnd->MessageBox(message, AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
    m_pDlgWnd->FocusAndSelect(m_pDlgWnd->GetDlgItem(m_lastControl));
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    dx.PrepareCtrl(id);
    if (!dx.m_bSaveAndValidate) {
        dx.m_pDlgWnd->SetDlgItemText(id, FormatIntegerText(value));
        return;
    }
    if (!ParseIntegerText(dx.m_pDlgWnd->GetDlgItemText(id), value))
        dx.Fail(kParseIntMessage);
}

void DDX_Text(CDataExchange& dx, int id, double& value)
{
    if (dx.Failed())
        return;
    dx.PrepareCtrl(id);
    if (!dx.m_bSaveAndValidate) {
        dx.m_pDlgWnd->SetDlgItemText(id, FormatRealText(value));
        return;
    }
    if (!ParseRealText(dx.m_pDlgWnd->GetDlgItemText(id), value))
        dx.Fail(kParseRealMessage);
}

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    if (dx.Failed())
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = dx.m_pDlgWnd->GetDlgItemText(id);
    else
        dx.m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Check(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = dx.m_pDlgWnd->IsDlgButtonChecked(id);
    else
        dx.m_pDlgWnd->CheckDlgButton(id, value);
}

void DDV_MaxChars(CDataExchange& dx, const std::string& value, int nChars)
{
    if (dx.Failed())
        return;
    if (!dx.m_bSaveAndValidate) {
        dx.m_pDlgWnd->LimitDlgItemText(dx.LastControl(), nChars);
        return;
    }
    if (QString::fromStdString(value).size() > nChars)
        dx.Fail(FilledOne(kStringSizeMessage, nChars));
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minVal, int maxVal)
{
    if (dx.Failed() || !dx.m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal)
        dx.Fail(Filled(kIntRangeMessage, minVal, maxVal));
}
