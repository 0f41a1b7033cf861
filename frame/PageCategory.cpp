#include "frame/PageCategory.h"

#include "res/StringTable.h"

const char* CategoryName(PageCategory category)
{
    switch (category) {
    case PageCategory::OnlineRadioPlayer:
        return Texts::kCategoryOnlineRadioPlayer;
    case PageCategory::Settings:
        return Texts::kCategorySettings;
    case PageCategory::MoreSoftwares:
        return Texts::kCategoryMoreSoftwares;
    case PageCategory::SendUsYourSong:
        return Texts::kCategorySendUsYourSong;
    }
    return "";
}
