#include "catalogue/FillChannelList.h"

#include "catalogue/CChannelCatalogue.h"
#include "fw/CListCtrl.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <array>
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

// Room for any int as "%d" formats it.
using DecimalBuffer = std::array<char16_t, 12>;

// nValue as "%d" formats it, written into buffer.
QStringView DecimalText(int nValue, DecimalBuffer& buffer)
{
    char digits[std::tuple_size_v<DecimalBuffer>];
    const char* pEnd = std::to_chars(std::begin(digits), std::end(digits), nValue).ptr;
    std::copy(std::cbegin(digits), pEnd, buffer.begin());
    return QStringView(buffer.data(), pEnd - digits);
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
    listCtrl.InsertColumn(kColumn1, header.GetColumn1Text().toString(), LVCFMT_LEFT, kColumn1Width);
    listCtrl.InsertColumn(kColumn2, header.GetColumn2Text().toString(), LVCFMT_CENTER, kColumn2Width);
    listCtrl.InsertColumn(kColumn3, header.GetColumn3Text().toString(), LVCFMT_LEFT, kColumn3Width);
    listCtrl.InsertColumn(kStreamUrlColumn, header.GetStreamUrl().toString(), LVCFMT_LEFT, kStreamUrlWidth);
}

void InsertChannelItems(CListCtrl& listCtrl, CChannelCatalogue& catalogue)
{
    const bool bShowNonWorking =
        GetSettingInt(SettingNames::kDisplayNonWorkingChannels, SettingDefaults::kDisplayNonWorkingChannels) != 0;
    listCtrl.SetItemCount(listCtrl.GetItemCount() + static_cast<int>(catalogue.m_channels.size()));
    DecimalBuffer serialNumber;
    for (const CChannelRecord& channel : std::as_const(catalogue.m_channels)) {
        if (!bShowNonWorking && channel.GetStatus().contains(kNonWorkingMark))
            continue;
        // The row's text and its sub-items, in column order, in one step.
        const int nRow = listCtrl.GetItemCount();
        const QStringView texts[] = {DecimalText(nRow + 1, serialNumber), channel.GetColumn1Text(),
                                     channel.GetColumn2Text(), channel.GetColumn3Text(), channel.GetStreamUrl()};
        listCtrl.InsertItemTexts(nRow, texts);
    }
}
