#include "platform/hotkeys/PortalTrigger.h"

#include "platform/hotkeys/GlobalHotKeys.h"
#include "platform/hotkeys/VirtualKeySymbols.h"

#include <QSet>
#include <QStringList>
#include <utility>

namespace {
// The modifiers in the order the desktops write them.
constexpr std::pair<unsigned, const char*> kModifierNames[] = {
    {IGlobalHotKeys::kModifierControl, "CTRL"},
    {IGlobalHotKeys::kModifierAlt, "ALT"},
    {IGlobalHotKeys::kModifierShift, "SHIFT"},
    {IGlobalHotKeys::kModifierSuper, "LOGO"},
};

// Other spellings of the modifiers in the desktops' descriptions.
constexpr std::pair<const char*, const char*> kModifierSynonyms[] = {
    {"CONTROL", "CTRL"}, {"META", "LOGO"}, {"SUPER", "LOGO"}, {"WIN", "LOGO"}, {"MOD4", "LOGO"}, {"MOD1", "ALT"},
};

struct Keys {
    QSet<QString> modifiers;
    QString strKey;
};

Keys Parse(const QString& strText)
{
    Keys keys;
    QStringList parts = strText.toUpper().remove(QLatin1Char(' ')).split(QLatin1Char('+'));
    keys.strKey = parts.isEmpty() ? QString() : parts.takeLast();
    for (QString strModifier : std::as_const(parts)) {
        for (const auto& [pszSynonym, pszName] : kModifierSynonyms) {
            if (strModifier == QLatin1String(pszSynonym))
                strModifier = QLatin1String(pszName);
        }
        keys.modifiers.insert(strModifier);
    }
    return keys;
}
}

namespace PortalTrigger {

QString FromVirtualKey(unsigned nModifiers, unsigned nVirtualKey)
{
    const QString strKey = KeySymNameFromVirtualKey(nVirtualKey);
    if (strKey.isEmpty())
        return QString();
    QStringList parts;
    for (const auto& [nBit, pszName] : kModifierNames) {
        if (nModifiers & nBit)
            parts << QLatin1String(pszName);
    }
    parts << strKey;
    return parts.join(QLatin1Char('+'));
}

bool NamesSameKeys(const QString& strDescription, const QString& strTrigger)
{
    const Keys description = Parse(strDescription);
    const Keys trigger = Parse(strTrigger);
    return !description.strKey.isEmpty() && description.strKey == trigger.strKey &&
        description.modifiers == trigger.modifiers;
}

}
