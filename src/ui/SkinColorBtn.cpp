#include "ui/SkinColorBtn.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QVBoxLayout>

#include "services/Prompt.h"
#include "ui/ControlAccessibility.h"
#include "ui/ControlMessages.h"
#include "ui/FocusMark.h"
#include "ui/PngButton.h"

namespace orvane {

CSkinColorBtn::CSkinColorBtn(QWidget* parent, int controlId) : QPushButton(parent) {
    SetControlId(this, controlId);
    EnsureControlAccessibility();
    setAutoDefault(false); // Space opens the palette; Enter stays the dialog's
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, &CSkinColorBtn::ShowPalette);
}

CSkinColorBtn::~CSkinColorBtn() {
    delete m_popup;
}

const std::array<uint32_t, 40>& CSkinColorBtn::PaletteColours() {
    // Four rows of ten: greys, then pure, light and dark hues (0x00BBGGRR).
    static const std::array<uint32_t, 40> kColours = {
        0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x003399, 0x0066CC, 0x3399FF, 0x99CCFF, 0xCCE5FF,
        0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF80, 0x00FF00, 0x80FF00, 0xFFFF00, 0xFF8000, 0xFF0000, 0xFF00FF,
        0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FFC0, 0x80FF80, 0xC0FF80, 0xFFFF80, 0xFFC080, 0xFF8080, 0xFF80FF,
        0x000080, 0x004080, 0x008080, 0x008040, 0x008000, 0x408000, 0x808000, 0x804000, 0x800000, 0x800080,
    };
    return kColours;
}

void CSkinColorBtn::SetColor(uint32_t colourRef) {
    m_colour = colourRef & 0xFFFFFF;
    update();
}

void CSkinColorBtn::ClearColor() {
    m_colour.reset();
    update();
}

void CSkinColorBtn::Pick(uint32_t colourRef) {
    ClosePalette();
    SetColor(colourRef);
    Chosen();
}

void CSkinColorBtn::Chosen() {
    PostToParent(this, UM_COLOUR_CHOSEN, uintptr_t(ControlIdOf(this)), intptr_t(GetColor()));
}

void CSkinColorBtn::ClosePalette() {
    if (m_popup) {
        m_popup->hide();
        m_popup->deleteLater();
        m_popup = nullptr;
    }
}

void CSkinColorBtn::ChooseOther() {
    ClosePalette();
    if (std::optional<uint32_t> chosen = Prompt().ChooseColour(GetColor())) Pick(*chosen);
}

void CSkinColorBtn::ShowPalette() {
    ClosePalette();
    // Placed by the window it drops from (on Wayland a popup needs one).
    m_popup = new QFrame(window(), Qt::Popup);
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto* box = new QVBoxLayout(m_popup);
    box->setContentsMargins(4, 4, 4, 4);
    box->setSpacing(4);
    if (!m_defaultText.isEmpty()) {
        auto* automatic = new QToolButton(m_popup);
        automatic->setText(m_defaultText);
        connect(automatic, &QToolButton::clicked, this, [this] {
            ClosePalette();
            ClearColor();
            Chosen();
        });
        box->addWidget(automatic);
    }
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const auto& colours = PaletteColours();
    for (int i = 0; i < int(colours.size()); ++i) {
        auto* cell = new QToolButton(m_popup);
        cell->setFixedSize(18, 18);
        cell->setObjectName(QStringLiteral("colour%1").arg(i));
        const QColor c = ColourFromRef(colours[i]);
        cell->setStyleSheet(QStringLiteral("QToolButton{background:%1;border:1px solid #555;}"
                                           "QToolButton:hover{border:1px solid #fff;}")
                                .arg(c.name()));
        const uint32_t value = colours[i];
        connect(cell, &QToolButton::clicked, this, [this, value] { Pick(value); });
        grid->addWidget(cell, i / m_columns, i % m_columns);
    }
    box->addLayout(grid);
    if (!m_customText.isEmpty()) {
        auto* other = new QToolButton(m_popup);
        other->setObjectName(QStringLiteral("other"));
        other->setText(m_customText);
        other->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(other, &QToolButton::clicked, this, &CSkinColorBtn::ChooseOther);
        box->addWidget(other);
    }
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    // A keyboard user goes on from the first colour with Tab and Space.
    if (auto* first = m_popup->findChild<QToolButton*>(QStringLiteral("colour0")))
        first->setFocus(Qt::PopupFocusReason);
}

void CSkinColorBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect face = rect();
    const int middle = face.height() / 2;
    // Swatch: the left half plus 5 pixels, in a sunken frame.
    QRect swatch(face.left(), face.top(), face.width() / 2 + 5, face.height());
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = swatch;
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    if (isEnabled() && m_colour) p.fillRect(swatch.adjusted(2, 2, -2, -2), ColourFromRef(*m_colour));

    // Drop-down box with its arrow. Hot: a light outline and a lighter box;
    // disabled: a flat grey box and a grey arrow.
    const bool enabled = isEnabled();
    QRect box(swatch.right() + 1, face.top(), face.right() - swatch.right(), face.height());
    QColor fill = ColourFromRef(kBoxColour);
    if (!enabled)
        fill = QColor(0x60, 0x62, 0x66);
    else if (m_hot)
        fill = fill.lighter(135);
    p.setPen(enabled && m_hot ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x20, 0x20, 0x20));
    p.setBrush(fill);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    const int right = face.right() + 1;
    QPainterPath triangle;
    triangle.moveTo(right - 11, middle - 2);
    triangle.lineTo(right - 5, middle - 2);
    triangle.lineTo(right - 8, middle + 1);
    triangle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? QColor(Qt::black) : QColor(0x9A, 0x9C, 0xA0));
    p.drawPath(triangle);
    if (!enabled) // the empty swatch alone does not say "disabled" on the dark skin
        p.fillRect(swatch.adjusted(2, 2, -2, -2), QColor(0x60, 0x62, 0x66, 0xC0));
    if (WantsFocusMark(this)) DrawFocusMark(p, face);
}

void CSkinColorBtn::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    m_hot = true;
    update();
}

void CSkinColorBtn::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    m_hot = false;
    update();
}

} // namespace orvane
