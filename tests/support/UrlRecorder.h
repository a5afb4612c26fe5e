#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

// While it exists, stands in for the browser and the system's other handlers of `schemes`, and
// records the addresses the program asks them to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(const QStringList &schemes)
        : m_schemes(schemes)
    {
        for (const QString &scheme : m_schemes) {
            QDesktopServices::setUrlHandler(scheme, this, "open");
        }
    }
    ~UrlRecorder() override
    {
        for (const QString &scheme : m_schemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

    QStringList opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url.toString()); }

private:
    const QStringList m_schemes;
};
