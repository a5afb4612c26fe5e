#pragma once

class QAbstractButton;
class QUrl;

// The pill buttons that lead to one of the vendor's web pages.
namespace WebLink {

// True for an http or https address with a host: the only addresses taken from the service that
// the program opens or downloads from.
bool isWebAddress(const QUrl &url);

// Opens `url` in the user's browser. The addresses come from the vendor's service, so only web
// addresses are opened: a file:, smb: or other scheme would hand the system's own handlers a path
// on this computer or a share. Anything else, empty or invalid included, opens nothing.
void open(const QUrl &url);

// Each click of `button` opens `url` as open() does. The page stays as it is whatever the browser
// does.
void openOnClick(QAbstractButton *button, const QUrl &url);

} // namespace WebLink
