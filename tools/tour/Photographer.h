#pragma once

#include "Route.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

class QDialog;

// Takes a picture of every page the main window shows and of every pop-up that opens over it,
// once each, and answers the pop-ups as the route says. The pictures are numbered in the order
// they were taken: NN-<PageClass>.png, NN-<PageClass>-<variant>.png for a page a route asks to
// see again, NN-<PageClass>-<popup>.png; index.html shows them all.
class Photographer : public QObject
{
    Q_OBJECT

public:
    Photographer(QWidget *window, const QDir &out, QObject *parent = nullptr);
    ~Photographer() override;

    // Forgets the answers a route before left unused.
    void beginRoute(const QString &title);
    // Takes the page again as it stands now, in place of its first picture, when it is still
    // the page first photographed: so a picture shows what a page offers once it is ready.
    void rephotograph(QWidget *page);
    // Takes the page as it stands now as NN-<PageClass>-<variant>.png, once per variant.
    void photographVariant(QWidget *page, const QString &variant);
    void expect(const QList<RouteAnswer> &answers);
    // Pictures the shown page in each of `moments` as it reaches them; a moment never reached
    // by the end of the route is a problem.
    void follow(const QList<RouteMoment> &moments);
    int pendingAnswers() const { return int(m_answers.size()); }

    // Including the moments still awaited.
    QStringList problems() const;
    bool writeIndex(const QString &language) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    struct Picture
    {
        QString file;
        QString caption;
    };
    struct Section
    {
        QString title;
        QList<Picture> pictures;
    };

    void photographPage(QWidget *page, bool again);
    void checkMoments();
    void photographPopup(QDialog *popup, const RouteAnswer &answer);
    QString save(const QPixmap &picture, const QString &name, const QString &caption);
    QString currentPageName() const;

    QPointer<QWidget> m_window;
    QDir m_out;
    QList<RouteAnswer> m_answers;
    QList<RouteMoment> m_moments;
    bool m_momentCheckQueued = false;
    QSet<QString> m_taken;
    // The page instance each page class was first photographed on, and its picture.
    QHash<QString, QPair<QPointer<QWidget>, QString>> m_pages;
    QList<Section> m_sections;
    QStringList m_problems;
    int m_count = 0;
};
