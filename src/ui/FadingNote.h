#pragma once
// A short confirmation laid over a window ("Your changes are on the
// keyboard."): it shows at once, stays a moment and fades away by itself, so
// a success needs no click. Failures keep their message boxes.
#include <QLabel>
#include <QTimer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace orvane {

class CFadingNote : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kHoldMs = 2500;
    static constexpr int kFadeMs = 700;

    explicit CFadingNote(QWidget* parent);
    // Shows `text` near the bottom of the parent, restarting the fade.
    void Show(const QString& text);
    bool Fading() const;

  signals:
    // The note has faded out and is hidden again.
    void Faded();

  private:
    void Place();

    QGraphicsOpacityEffect* m_opacity;
    QPropertyAnimation* m_fade;
    QTimer m_hold;
};

} // namespace orvane
