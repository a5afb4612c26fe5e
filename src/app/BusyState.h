#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Shows that the program waits for the service: the busy cursor, and the page that started the
// wait disabled so it cannot start a second one. end() undoes both, once; so does destruction.
class BusyState : public QObject
{
    Q_OBJECT

public:
    explicit BusyState(QWidget *origin, QObject *parent = nullptr);
    ~BusyState() override;

    void end();

private:
    QPointer<QWidget> m_origin;
    bool m_active = true;
};
