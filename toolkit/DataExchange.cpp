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
    m_pDlgWnd->FocusRefusedField(m_pDlgWnd->GetDlgItem(m_lastControl));
}

namespace {

// A number field: shown with FORMAT, taken with PARSE or refused with MESSAGE.
template <typename Number>
void ExchangeNumber(CDataExchange& dx, int id, Number& value, std::string (*format)(Number),
                    bool (*parse)(std::string_view, Number&), const char* message)
{
    if (dx.Failed())
        return;
    dx.PrepareCtrl(id);
    if (!dx.m_bSaveAndValidate)
        dx.m_pDlgWnd->SetDlgItemText(id, format(value));
    else if (!parse(dx.m_pDlgWnd->GetDlgItemText(id), value))
        dx.Fail(message);
}

std::string FormatReal(double value)
{
    return FormatRealText(value);
}

}  // namespace

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    ExchangeNumber(dx, id, value, FormatIntegerText, ParseIntegerText, kParseIntMessage);
}

void DDX_Text(CDataExchange& dx, int id, double& value)
{
    ExchangeNumber(dx, id, value, FormatReal, ParseRealText, kParseRealMessage);
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
