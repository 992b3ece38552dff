#pragma once
// The lighting panel's colour pickers: a swatch and a drop-down arrow; the
// drop-down offers a palette and an "other colours" button that asks the
// user through the prompt interface. A choice reaches the window as
// UM_COLOUR_CHOSEN, like the other controls' messages.
#include <array>
#include <cstdint>
#include <optional>
#include <QPushButton>
#include <QString>

class QFrame;

namespace orvane {

// wParam: the picker's control id; lParam: the chosen colour (0x00BBGGRR).
constexpr uint32_t UM_COLOUR_CHOSEN = 0xA713;

class CSkinColorBtn : public QPushButton {
    Q_OBJECT
  public:
    static constexpr uint32_t kBoxColour = 0x8B9294; // 0x00BBGGRR

    explicit CSkinColorBtn(QWidget* parent = nullptr, int controlId = 0);
    ~CSkinColorBtn() override;

    // The chosen colour, or the automatic colour when none is chosen (0x00BBGGRR).
    uint32_t GetColor() const { return m_colour.value_or(m_automatic); }
    bool HasColor() const { return m_colour.has_value(); }
    void SetColor(uint32_t colourRef);
    void ClearColor();
    void SetDefaultColor(uint32_t colourRef) { m_automatic = colourRef; }
    void SetColumnsNumber(int columns) { m_columns = std::max(1, columns); }
    int ColumnsNumber() const { return m_columns; }
    // Text of the "other colours" button; empty hides it.
    void SetCustomText(const QString& text) { m_customText = text; }
    // Text of the automatic-colour button; empty means none.
    void SetDefaultText(const QString& text) { m_defaultText = text; }

    // Opens the drop-down palette below the button.
    void ShowPalette();
    QFrame* Palette() const { return m_popup; }
    // What a click on "other" does: the prompt's colour dialog.
    void ChooseOther();
    bool IsHot() const { return m_hot; }

    static const std::array<uint32_t, 40>& PaletteColours();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void Pick(uint32_t colourRef);
    void Chosen();
    void ClosePalette();

    std::optional<uint32_t> m_colour;
    uint32_t m_automatic = 0;
    int m_columns = 5;
    QString m_customText = QStringLiteral("Other colour...");
    QString m_defaultText;
    QFrame* m_popup = nullptr;
    bool m_hot = false;
};

} // namespace orvane
