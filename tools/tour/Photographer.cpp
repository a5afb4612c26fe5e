#include "Photographer.h"

#include "app/Core.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QStackedWidget>
#include <QTimer>

Photographer::Photographer(QWidget *window, const QDir &out, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_out(out)
{
    qApp->installEventFilter(this);
    // Taken once the new page is in the stack and before any work it schedules on itself.
    connect(Core::instance(), &Core::currentPageChanged, this, [this](QWidget *page) {
        const QPointer<QWidget> guarded(page);
        QTimer::singleShot(0, this, [this, guarded] {
            if (guarded) {
                photographPage(guarded, false);
            }
        });
    });
}

Photographer::~Photographer()
{
    qApp->removeEventFilter(this);
}

void Photographer::beginRoute(const QString &title)
{
    for (const RouteMoment &moment : std::as_const(m_moments)) {
        m_problems.append(QStringLiteral("the moment %1 never came").arg(moment.name));
    }
    m_moments.clear();
    m_answers.clear();
    m_sections.append({title, {}});
}

void Photographer::expect(const QList<RouteAnswer> &answers)
{
    m_answers.append(answers);
}

QStringList Photographer::problems() const
{
    QStringList problems = m_problems;
    for (const RouteMoment &moment : m_moments) {
        problems.append(QStringLiteral("the moment %1 never came").arg(moment.name));
    }
    return problems;
}

void Photographer::follow(const QList<RouteMoment> &moments)
{
    m_moments.append(moments);
    checkMoments();
}

void Photographer::checkMoments()
{
    m_momentCheckQueued = false;
    auto *stack = m_window
                      ? m_window->findChild<QStackedWidget *>(QStringLiteral("ContainerWidget"))
                      : nullptr;
    QWidget *page = stack ? stack->currentWidget() : nullptr;
    if (!page) {
        return;
    }
    for (qsizetype i = 0; i < m_moments.size();) {
        if (m_moments.at(i).reached(page)) {
            photographVariant(page, m_moments.at(i).name);
            m_moments.removeAt(i);
        } else {
            ++i;
        }
    }
}

bool Photographer::eventFilter(QObject *object, QEvent *event)
{
    // A page that works by itself changes what it shows between two turns of the event loop;
    // each repaint of the window is a chance to catch a moment, once the painting is over.
    if (event->type() == QEvent::Paint && !m_moments.isEmpty() && !m_momentCheckQueued &&
        object->isWidgetType() && static_cast<QWidget *>(object)->window() == m_window) {
        m_momentCheckQueued = true;
        QTimer::singleShot(0, this, &Photographer::checkMoments);
    }
    if (event->type() == QEvent::Show &&
        (object->inherits("PopupDialog") || object->inherits("NeedHelpDialog") ||
         object->inherits("SerialDialog"))) {
        RouteAnswer answer{QStringLiteral("unexpected"), false};
        if (m_answers.isEmpty()) {
            m_problems.append(QStringLiteral("an unexpected pop-up on %1").arg(currentPageName()));
        } else {
            answer = m_answers.takeFirst();
        }
        // Once the pop-up is laid out and its own event loop runs, as a user would see it.
        const QPointer<QDialog> popup(static_cast<QDialog *>(object));
        QTimer::singleShot(0, this, [this, popup, answer] {
            if (popup) {
                photographPopup(popup, answer);
            }
        });
    }
    return false;
}

QString Photographer::currentPageName() const
{
    auto *stack = m_window
                      ? m_window->findChild<QStackedWidget *>(QStringLiteral("ContainerWidget"))
                      : nullptr;
    return stack && stack->currentWidget() ? stack->currentWidget()->objectName() : QString();
}

void Photographer::rephotograph(QWidget *page)
{
    photographPage(page, true);
}

void Photographer::photographVariant(QWidget *page, const QString &variant)
{
    const QString key = page->objectName() + QLatin1Char('-') + variant;
    if (m_window && !m_taken.contains(key)) {
        m_taken.insert(key);
        save(m_window->grab(), key, key);
    }
}

void Photographer::photographPage(QWidget *page, bool again)
{
    if (!m_window) {
        return;
    }
    const auto first = m_pages.constFind(page->objectName());
    if (first == m_pages.constEnd()) {
        const QString file = save(m_window->grab(), page->objectName(), page->objectName());
        m_pages.insert(page->objectName(), {page, file});
    } else if (again && first->first == page && !first->second.isEmpty()) {
        m_window->grab().save(m_out.filePath(first->second));
    }
}

void Photographer::photographPopup(QDialog *popup, const RouteAnswer &answer)
{
    if (!answer.text.isEmpty()) {
        if (auto *edit = popup->findChild<QLineEdit *>()) {
            edit->setText(answer.text);
        } else {
            m_problems.append(QStringLiteral("nowhere to type %1").arg(answer.text));
        }
    }
    const QString page = currentPageName();
    const QString key = page + QLatin1Char('-') + answer.name;
    if (m_window && !m_taken.contains(key)) {
        m_taken.insert(key);
        // The dimmed window with the pop-up where it stands over it.
        const QPixmap window = m_window->grab();
        const QPixmap dialog = popup->grab();
        const QPoint offset = popup->mapToGlobal(QPoint()) - m_window->mapToGlobal(QPoint());
        const QRect area = QRect(QPoint(), window.deviceIndependentSize().toSize())
                               .united(QRect(offset, dialog.deviceIndependentSize().toSize()));
        QPixmap picture(area.size() * window.devicePixelRatio());
        picture.setDevicePixelRatio(window.devicePixelRatio());
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawPixmap(-area.topLeft(), window);
        painter.drawPixmap(offset - area.topLeft(), dialog);
        painter.end();
        save(picture, key, page + QStringLiteral(": ") + answer.name);
    }
    // The serial pop-up has the same two buttons as every pop-up.
    const bool popupDialog = !popup->inherits("NeedHelpDialog");
    const char *name = answer.accept ? (popupDialog ? "RightPopupButton" : "OkButton")
                                     : (popupDialog ? "LeftPopupButton" : "CloseButton");
    if (auto *button = popup->findChild<QAbstractButton *>(QLatin1String(name))) {
        button->click();
    } else {
        m_problems.append(QStringLiteral("no %1 on the pop-up %2").arg(name, key));
        popup->reject();
    }
}

QString Photographer::save(const QPixmap &picture, const QString &name, const QString &caption)
{
    const QString file =
        QStringLiteral("%1-%2.png").arg(++m_count, 2, 10, QLatin1Char('0')).arg(name);
    if (!picture.save(m_out.filePath(file))) {
        m_problems.append(QStringLiteral("could not save %1").arg(m_out.filePath(file)));
        return QString();
    }
    if (m_sections.isEmpty()) {
        m_sections.append({QString(), {}});
    }
    m_sections.last().pictures.append({file, caption});
    return file;
}

bool Photographer::writeIndex(const QString &language) const
{
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>HalvornSync page tour (%1)</title>\n<style>\n"
            "body { font-family: sans-serif; margin: 24px; }\n"
            "figure { display: inline-block; margin: 0 16px 24px 0; vertical-align: top; }\n"
            "figcaption { font-size: 13px; max-width: 400px; }\n"
            "img { border: 1px solid #ccc; }\n</style>\n</head>\n<body>\n"
            "<h1>HalvornSync page tour (%1)</h1>\n")
            .arg(language.toHtmlEscaped());
    for (const Section &section : m_sections) {
        if (section.pictures.isEmpty()) {
            continue;
        }
        html += QStringLiteral("<h2>%1</h2>\n").arg(section.title.toHtmlEscaped());
        for (const Picture &picture : section.pictures) {
            html += QStringLiteral("<figure><img src=\"%1\" alt=\"%2\"><figcaption>%1</figcaption>"
                                   "</figure>\n")
                        .arg(picture.file.toHtmlEscaped(), picture.caption.toHtmlEscaped());
        }
    }
    html += QStringLiteral("</body>\n</html>\n");

    QFile index(m_out.filePath(QStringLiteral("index.html")));
    return index.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           index.write(html.toUtf8()) == html.toUtf8().size();
}
