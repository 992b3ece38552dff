#pragma once
// A group of controls (the keys of the keyboard picture) that Tab enters and
// leaves as one stop: only one member at a time is in the Tab chain, and the
// arrow keys walk from member to member by their places on the window:
// Left and Right along a row, Up and Down to the nearest member above or below.
#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace orvane {

class CKeyFocusGroup : public QObject {
    Q_OBJECT
  public:
    explicit CKeyFocusGroup(QObject* parent = nullptr);

    void Add(QWidget* member);
    // The member Tab enters the group at (the last one focused).
    QWidget* Current() const { return m_current; }
    void SetCurrent(QWidget* member);
    // The nearest enabled, visible member from `from` in the arrow key's
    // direction, or null.
    QWidget* Neighbour(const QWidget* from, int arrowKey) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Reachable(const QWidget* member) const;
    // Exactly one reachable member takes Tab: the current one when it can.
    void UpdateTabStop();

    std::vector<QPointer<QWidget>> m_members;
    QPointer<QWidget> m_current;
};

} // namespace orvane
