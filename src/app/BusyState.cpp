#include "app/BusyState.h"

#include <QGuiApplication>
#include <QWidget>

BusyState::BusyState(QWidget *origin, QObject *parent)
    : QObject(parent)
    , m_origin(origin)
{
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    if (m_origin) {
        m_origin->setEnabled(false);
    }
}

BusyState::~BusyState()
{
    end();
}

void BusyState::end()
{
    if (!m_active) {
        return;
    }
    m_active = false;
    QGuiApplication::restoreOverrideCursor();
    if (m_origin) {
        m_origin->setEnabled(true);
    }
}
