#include "ui/KeyFocusGroup.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <QKeyEvent>
#include <QWidget>

namespace orvane {

CKeyFocusGroup::CKeyFocusGroup(QObject* parent) : QObject(parent) {}

void CKeyFocusGroup::Add(QWidget* member) {
    if (!member) return;
    m_members.emplace_back(member);
    member->installEventFilter(this);
    if (!m_current) m_current = member;
    UpdateTabStop();
}

void CKeyFocusGroup::SetCurrent(QWidget* member) {
    m_current = member;
    UpdateTabStop();
}

bool CKeyFocusGroup::Reachable(const QWidget* member) const {
    return member && member->isEnabled() && !member->isHidden();
}

void CKeyFocusGroup::UpdateTabStop() {
    QWidget* stop = Reachable(m_current) ? m_current.data() : nullptr;
    for (const auto& m : m_members)
        if (!stop && Reachable(m)) stop = m;
    for (const auto& m : m_members)
        if (m) m->setFocusPolicy(m == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

QWidget* CKeyFocusGroup::Neighbour(const QWidget* from, int arrowKey) const {
    if (!from) return nullptr;
    const QPoint c = from->geometry().center();
    QWidget* best = nullptr;
    long bestScore = LONG_MAX;
    for (const auto& m : m_members) {
        if (!Reachable(m) || m == from) continue;
        const QPoint d = m->geometry().center() - c;
        long along = 0, across = 0;
        switch (arrowKey) {
        case Qt::Key_Right:
            along = d.x(), across = d.y();
            break;
        case Qt::Key_Left:
            along = -d.x(), across = d.y();
            break;
        case Qt::Key_Down:
            along = d.y(), across = d.x();
            break;
        case Qt::Key_Up:
            along = -d.y(), across = d.x();
            break;
        default:
            return nullptr;
        }
        if (along <= 0) continue;
        // Keys in the same row (or column) first: straying sideways costs more.
        const long score = along + 4 * std::labs(across);
        if (score < bestScore) {
            bestScore = score;
            best = m;
        }
    }
    return best;
}

bool CKeyFocusGroup::eventFilter(QObject* watched, QEvent* event) {
    auto* member = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (member != m_current) SetCurrent(member);
        break;
    case QEvent::EnabledChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        UpdateTabStop();
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
            if (QWidget* next = Neighbour(member, key)) {
                SetCurrent(next);
                // A keyboard move: the focus mark shows, as after Tab.
                next->window()->setAttribute(Qt::WA_KeyboardFocusChange);
                next->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
