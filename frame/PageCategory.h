#pragma once

// The program's pages, one to each ribbon category. The order is the
// ribbon's and the document templates': a category's index is the index of
// the template that makes its page, and what "LastCategory" stores.
enum class PageCategory { OnlineRadioPlayer, Settings, MoreSoftwares, SendUsYourSong };

inline constexpr PageCategory kPageCategories[] = {PageCategory::OnlineRadioPlayer, PageCategory::Settings,
                                                   PageCategory::MoreSoftwares, PageCategory::SendUsYourSong};

// The ribbon category's label.
const char* CategoryName(PageCategory category);
