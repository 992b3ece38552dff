#pragma once
// A transparent label with its own text colour and font height.
#include <QLabel>

namespace orvane {

class ColorStatic : public QLabel {
    Q_OBJECT
  public:
    explicit ColorStatic(QWidget* parent = nullptr, int controlId = 0);
    // Colours are 0x00BBGGRR; each setter schedules a redraw.
    void SetTextColor(uint32_t colourRef);
    void SetBkColor(uint32_t colourRef);
    void SetFontHeight(int pixels);
    uint32_t TextColor() const { return m_text; }
    uint32_t BkColor() const { return m_back; }

  private:
    // White, the captions' colour on every skin: black would vanish on the
    // dark pictures the label is drawn over.
    uint32_t m_text = 0xFFFFFF;
    uint32_t m_back = 0xFFFFFF;
};

} // namespace orvane
