#pragma once

class CChannelCatalogue;
class CListCtrl;

// Loads the catalogue from the station list file and shows it in the
// report list: when the file could be opened, the list's rows and columns
// are replaced; otherwise the list keeps what it shows.
void FillChannelList(CListCtrl& listCtrl, CChannelCatalogue& catalogue);
// The serial number column, the three text columns titled by the header
// line, and the hidden column that carries the stream address.
void InsertChannelColumns(CChannelCatalogue& catalogue, CListCtrl& listCtrl);
// One row per channel, numbered from 1 over the rows shown; channels marked
// "OFF" are left out unless "DisplayNonWorkingChannels" is set.
void InsertChannelItems(CListCtrl& listCtrl, CChannelCatalogue& catalogue);
