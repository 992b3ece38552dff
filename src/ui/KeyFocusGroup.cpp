#include "ui/KeyFocusGroup.h"

#include <algorithm>
#include <climits>
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
    const bool horizontal = arrowKey == Qt::Key_Left || arrowKey == Qt::Key_Right;
    const int sign = (arrowKey == Qt::Key_Right || arrowKey == Qt::Key_Down) ? 1 : -1;
    if (!horizontal && arrowKey != Qt::Key_Up && arrowKey != Qt::Key_Down) return nullptr;
    const QRect r = from->geometry();
    const QPoint c = r.center();
    QWidget* best = nullptr;
    long bestScore = LONG_MAX;
    for (const auto& m : m_members) {
        if (!Reachable(m) || m == from) continue;
        const QRect g = m->geometry();
        // A key is in the same row when its rectangle spans this key's middle.
        const bool sameRow = g.top() <= c.y() && c.y() <= g.bottom();
        long score = 0;
        if (horizontal) {
            const long along = sign * (g.center().x() - c.x());
            if (!sameRow || along <= 0) continue;
            score = along;
        } else {
            const long along = sign * (g.center().y() - c.y());
            if (sameRow || along <= 0) continue;
            // The key straight above or below wins; straying sideways costs.
            const long sideways = c.x() < g.left()    ? g.left() - c.x()
                                  : c.x() > g.right() ? c.x() - g.right()
                                                      : 0;
            score = along + 4 * sideways;
        }
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
