#pragma once
// A picture control of the lighting panel that reports clicks, like a static
// with the notify style: the direction, tick, option, tool, switch and
// preset pictures. Space activates it when it has the focus.
#include <QLabel>
#include <QPixmap>

namespace orvane {

class CPictureStatic : public QLabel {
    Q_OBJECT
  public:
    CPictureStatic(QWidget* parent, int controlId);
    void SetPicture(const QPixmap& picture);
    int ControlId() const { return m_id; }
    // The name of the picture shown, for the panel's own bookkeeping and tests.
    void SetPictureName(const std::string& name) { m_name = name; }
    const std::string& PictureName() const { return m_name; }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int m_id;
    bool m_pressed = false;
    std::string m_name;
};

} // namespace orvane
