#include "catalogue/FillChannelList.h"

#include "catalogue/CChannelCatalogue.h"
#include "catalogue/CTextArena.h"
#include "fw/CListCtrl.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <charconv>

namespace {
const char kSerialNumberTitle[] = "Sr No";
constexpr QStringView kNonWorkingMark = u"OFF";

enum ChannelColumn { kSerialNumberColumn, kColumn1, kColumn2, kColumn3, kStreamUrlColumn };

constexpr int kSerialNumberWidth = 50;
constexpr int kColumn1Width = 150;
constexpr int kColumn2Width = 300;
constexpr int kColumn3Width = 150;
// The stream address travels with the row but is not shown.
constexpr int kStreamUrlWidth = 0;

// The serial number as "%d" formats it, kept in serialNumbers' blocks
// rather than in an allocation of its own.
CString DecimalText(int nValue, CTextArena& serialNumbers)
{
    char digits[16];
    const char* pEnd = std::to_chars(std::begin(digits), std::end(digits), nValue).ptr;
    char16_t text[16];
    std::copy(std::cbegin(digits), pEnd, std::begin(text));
    return serialNumbers.Copy(QStringView(text, pEnd - digits));
}
}

void FillChannelList(CListCtrl& listCtrl, CChannelCatalogue& catalogue)
{
    if (catalogue.LoadStationList() == 0)
        return;
    listCtrl.DeleteAllItems();
    for (int nColumn = listCtrl.GetHeaderCtrl().GetItemCount() - 1; nColumn >= 0; --nColumn)
        listCtrl.DeleteColumn(nColumn);
    InsertChannelColumns(catalogue, listCtrl);
    InsertChannelItems(listCtrl, catalogue);
}

void InsertChannelColumns(CChannelCatalogue& catalogue, CListCtrl& listCtrl)
{
    const CChannelRecord& header = catalogue.m_header;
    listCtrl.InsertColumn(kSerialNumberColumn, QString::fromLatin1(kSerialNumberTitle), LVCFMT_LEFT,
                          kSerialNumberWidth);
    listCtrl.InsertColumn(kColumn1, header.GetColumn1Text(), LVCFMT_LEFT, kColumn1Width);
    listCtrl.InsertColumn(kColumn2, header.GetColumn2Text(), LVCFMT_CENTER, kColumn2Width);
    listCtrl.InsertColumn(kColumn3, header.GetColumn3Text(), LVCFMT_LEFT, kColumn3Width);
    listCtrl.InsertColumn(kStreamUrlColumn, header.GetStreamUrl(), LVCFMT_LEFT, kStreamUrlWidth);
}

void InsertChannelItems(CListCtrl& listCtrl, CChannelCatalogue& catalogue)
{
    const bool bShowNonWorking =
        GetSettingInt(SettingNames::kDisplayNonWorkingChannels, SettingDefaults::kDisplayNonWorkingChannels) != 0;
    listCtrl.SetItemCount(listCtrl.GetItemCount() + static_cast<int>(catalogue.m_channels.size()));
    CTextArena serialNumbers;
    for (const CChannelRecord& channel : std::as_const(catalogue.m_channels)) {
        if (!bShowNonWorking && channel.GetStatus().contains(kNonWorkingMark))
            continue;
        const int nRow = listCtrl.GetItemCount();
        listCtrl.InsertItem(nRow, DecimalText(nRow + 1, serialNumbers));
        listCtrl.SetItemText(nRow, kColumn1, channel.GetColumn1Text());
        listCtrl.SetItemText(nRow, kColumn2, channel.GetColumn2Text());
        listCtrl.SetItemText(nRow, kColumn3, channel.GetColumn3Text());
        listCtrl.SetItemText(nRow, kStreamUrlColumn, channel.GetStreamUrl());
    }
}
