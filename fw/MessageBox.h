#pragma once

#include "fw/Types.h"

#include <functional>

class QWidget;

// Message box buttons and icons, and the answers a box gives.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_ICONERROR = 0x0010;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONWARNING = 0x0030;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// A modal message box captioned with the application title. Every box the
// program shows goes through here, so that a test can answer it.
int AfxMessageBox(const CString& strText, UINT nType = MB_OK, QWidget* pOwner = nullptr);

// What a box would have shown, for whoever answers it instead of a person.
struct MessageBoxRequest {
    CString strCaption;
    CString strText;
    UINT nType;
};
using MessageBoxAnswerer = std::function<int(const MessageBoxRequest&)>;

// Replaces the modal box by pAnswerer until the returned guard goes; tests
// use it so that no test waits on a modal loop.
class CMessageBoxAnswerer
{
public:
    explicit CMessageBoxAnswerer(MessageBoxAnswerer answerer);
    ~CMessageBoxAnswerer();
    CMessageBoxAnswerer(const CMessageBoxAnswerer&) = delete;
    CMessageBoxAnswerer& operator=(const CMessageBoxAnswerer&) = delete;

private:
    MessageBoxAnswerer m_previous;
};
