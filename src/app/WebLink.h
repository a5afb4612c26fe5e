#pragma once

class QAbstractButton;
class QUrl;

// The pill buttons that lead to one of the vendor's web pages.
namespace WebLink {

// Each click of `button` opens `url` in the user's browser. The page stays as it is whatever the
// browser does; an empty or invalid address simply opens nothing.
void openOnClick(QAbstractButton *button, const QUrl &url);

} // namespace WebLink
