#include "ui/ColorStatic.h"

#include "ui/ControlMessages.h"
#include "ui/PngButton.h"

namespace orvane {

ColorStatic::ColorStatic(QWidget* parent, int controlId) : QLabel(parent) {
    SetControlId(this, controlId);
    // The dialog's picture shows through, like a hollow brush.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    SetTextColor(m_text);
}

void ColorStatic::SetTextColor(uint32_t colourRef) {
    m_text = colourRef;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColourFromRef(colourRef));
    setPalette(p);
    update();
}

void ColorStatic::SetFontHeight(int pixels) {
    QFont f = font();
    f.setPixelSize(std::max(1, pixels));
    setFont(f);
    update();
}

} // namespace orvane
