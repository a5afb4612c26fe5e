#pragma once

#include <QString>

// Makes a language the language of the run: the program's and Qt's own translations, and the
// default locale that Core::languageCode() reports to the service.
namespace LanguageChoice {

// `code` is "en" or "fr". The program's translation comes from Qt's translations directory, else
// from the install's share folder, else from the copy built into the program; Qt's own only from
// that directory. A missing file leaves the source texts (English). Translations of an earlier
// choice are removed first. Returns whether the program's own translation was loaded.
bool apply(const QString &code);

} // namespace LanguageChoice
