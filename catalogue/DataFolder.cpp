#include "catalogue/DataFolder.h"

#include "platform/datafolder/UserDataFolder.h"

namespace {
const char kDataFolderFormat[] = "%1/KestrelRadio";
const char kStationListFileName[] = "/StationList.zip";
const char kSeparator[] = "/";
const char kDoubledSeparator[] = "//";

std::optional<CString>& BaseOverride()
{
    static std::optional<CString> base;
    return base;
}

CString BaseFolder()
{
    return BaseOverride() ? *BaseOverride() : CUserDataFolder::Path();
}
}

void GetDataFolder(CString& strFolder)
{
    CString strBase = BaseFolder();
    // An empty or one-character answer is no folder we can use.
    if (strBase.size() <= 1)
        GetModuleFolder(strBase);
    strFolder = CollapseDoubledSeparators(QString::fromLatin1(kDataFolderFormat).arg(strBase));
    // Only the last level is created; an existing folder is fine and a
    // failure shows later, when the folder is used.
    CUserDataFolder::CreateFolder(strFolder);
}

void GetModuleFolder(CString& strFolder)
{
    strFolder.clear();
    const CString strPath = CUserDataFolder::ExecutablePath();
    const qsizetype nLastSeparator = strPath.lastIndexOf(QLatin1String(kSeparator));
    if (nLastSeparator >= 0)
        strFolder = strPath.left(nLastSeparator);
}

void GetModulePath(CString& strPath)
{
    strPath = CUserDataFolder::ExecutablePath();
}

CString GetStationListPath()
{
    CString strFolder;
    GetDataFolder(strFolder);
    return CollapseDoubledSeparators(strFolder + QLatin1String(kStationListFileName));
}

CString CollapseDoubledSeparators(const CString& strPath)
{
    CString strCollapsed = strPath;
    strCollapsed.replace(QLatin1String(kDoubledSeparator), QLatin1String(kSeparator));
    return strCollapsed;
}

CDataFolderBaseOverride::CDataFolderBaseOverride(const CString& strBase)
    : m_previous(std::exchange(BaseOverride(), strBase))
{
}

CDataFolderBaseOverride::~CDataFolderBaseOverride()
{
    BaseOverride() = std::move(m_previous);
}
