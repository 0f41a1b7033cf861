#pragma once

#include <QString>

// Who makes the program and how its users reach us.
namespace ProductInfo {
// The maker's web domain, fixed when the program is built.
QString MakerDomain();
// "Kestrel Radio by " and the domain: the main window's caption, the
// profile's application name and the single-instance key.
QString ApplicationTitle();
// The reverse-DNS id the desktop knows the program by (its desktop entry's
// name, the Wayland app_id, the portals' application id), made from the
// maker's domain when the program is built.
QString ApplicationId();
// The address that messages and the about box give for support.
QString SupportAddress();
// The maker's web site as the status bar names it.
QString WebSiteName();
}
