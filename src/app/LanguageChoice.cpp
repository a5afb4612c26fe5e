#include "app/LanguageChoice.h"

#include "app/SupportLog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QList>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace {

// The translators of the current choice, removed when another language is chosen, so an earlier
// French choice cannot keep translating texts after English has been chosen.
QList<QPointer<QTranslator>> &installed()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

bool install(const QString &file, const QStringList &directories)
{
    for (const QString &directory : directories) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(file, directory) && QCoreApplication::installTranslator(translator)) {
            installed().append(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace

namespace LanguageChoice {

bool apply(const QString &code)
{
    for (const QPointer<QTranslator> &translator : std::as_const(installed())) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installed().clear();

    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Where `cmake --install` and the package put the program's own, beside its executable's
    // folder wherever the install lies.
    const QString installed = QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                              QStringLiteral(HALVORNSYNC_INSTALLED_TRANSLATIONS);
    const bool ownLoaded = install(QStringLiteral("halvornsync_") + code,
                                   {qtTranslations, installed, QStringLiteral(":/translations")});
    install(QStringLiteral("qtbase_") + code, {qtTranslations});

    QLocale::setDefault(QLocale(code == QLatin1String("fr") ? QLocale::French : QLocale::English));
    SupportLog::write(QStringLiteral("language: ") + code);
    return ownLoaded;
}

} // namespace LanguageChoice
