#pragma once
// A transparent label with its own text colour and font height.
#include <QLabel>

namespace orvane {

class ColorStatic : public QLabel {
    Q_OBJECT
  public:
    explicit ColorStatic(QWidget* parent = nullptr, int controlId = 0);
    // Colours are 0x00BBGGRR; each setter schedules a redraw. No background
    // is painted: the dialog's picture shows through.
    void SetTextColor(uint32_t colourRef);
    void SetFontHeight(int pixels);
    uint32_t TextColor() const { return m_text; }

  private:
    // White, the captions' colour on every skin: black would vanish on the
    // dark pictures the label is drawn over.
    uint32_t m_text = 0xFFFFFF;
};

} // namespace orvane
