#pragma once
// The image button of every skinned window, the keys of the keyboard picture
// included. It owns no picture: each state's face is cut from a whole-window
// picture at the button's own position in that window.
#include <array>
#include <functional>
#include <optional>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <vector>

#include "app/SkinReaders.h"
#include "ui/SkinFace.h"

namespace orvane {

// Text-drawing flags, with the platform's values, as the skins and language
// styles give them.
constexpr unsigned DT_LEFT = 0x00, DT_CENTER = 0x01, DT_RIGHT = 0x02, DT_VCENTER = 0x04, DT_BOTTOM = 0x08,
                   DT_SINGLELINE = 0x20;

class CPngButton : public QPushButton, public CSkinTarget {
    Q_OBJECT
  public:
    // Called when the face the button shows has changed (and once when it is
    // first shown), with whether it is now the normal face. It runs outside
    // any paint, so it may change and redraw other buttons freely; buttons
    // that must be drawn over this one belong above it (RedrawAfter).
    using AfterPaint = std::function<void(CPngButton* button, bool normalDrawn)>;

    explicit CPngButton(QWidget* parent = nullptr, int controlId = 0);

    void SetPicturesAt(int x, int y, const CSkinFace* normal, const CSkinFace* hover,
                       const CSkinFace* pressed, const CSkinFace* disabled, const CSkinFace* checked,
                       bool redraw);
    void SetPictures(const CSkinFace* normal, const CSkinFace* hover, const CSkinFace* pressed,
                     const CSkinFace* disabled, const CSkinFace* checked, bool redraw);
    void SetSource(int x, int y, bool redraw);
    void SetChecked(bool checked, bool redraw);
    void SetMarkPictures(const CSkinFace* unmarked, const CSkinFace* marked, bool markMode, bool mark,
                         bool redraw);
    void SetOutline(uint32_t colour, bool on); // colour 0x00BBGGRR
    bool OutlineOn() const { return m_outline; }
    uint32_t OutlineColour() const { return m_outlineColour; }
    // Colours are 0x00BBGGRR; `format` takes the DT_ flags above.
    void SetTextStyle(bool on, int pointSize, const QString& face, uint32_t normal, uint32_t hover,
                      uint32_t pressed, uint32_t disabled, uint32_t checked, unsigned format);
    void SetTextAngle(int tenthsOfDegree, bool angled);
    void SetTooltipText(const QString& text, bool activate);
    void SetAfterPaint(AfterPaint callback);
    // What a screen reader says for a key of the keyboard picture: its name
    // and what it is assigned to. Other buttons are named by their caption,
    // else their tooltip; an owner whose button has neither sets
    // accessibleName itself.
    void SetAccessibleKey(const QString& keyName, const QString& assignedTo);

    int ControlId() const { return m_id; }
    bool IsChecked() const { return m_checked; }
    bool IsHover() const { return m_hover; }
    QPoint Source() const { return {m_sourceX, m_sourceY}; }
    const CSkinFace* Face(SkinFaceSlot slot) const { return m_faces[slot]; }
    // The picture and caption colour the next paint uses, and the last drawn.
    const CSkinFace* ChoosePicture(uint32_t* textColour = nullptr) const;
    const CSkinFace* CurrentPicture() const { return m_current; }
    // Tooltip state, for the owner and for tests.
    bool HasTooltip() const { return m_tip.has_value(); }
    bool TooltipActive() const { return m_tip && m_tip->active; }
    QString TooltipText() const { return m_tipText; }
    int TooltipDelayMs() const { return m_tip ? m_tip->delayMs : 0; }
    bool TooltipPending() const { return m_tipTimer.isActive(); }

    // CSkinTarget
    void SkinSetGeometry(const SkinRect& rect, bool repaint) override;
    void SkinMove(int x, int y, bool repaint) override;
    void SkinSetFaces(int x, int y, const SkinFaceSet& faces) override;
    void SkinEnable(bool enabled) override { setEnabled(enabled); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws what lies under the button's own picture, with the painter the
    // button paints with (one painter a repaint: the preview repaints keys
    // 20 times a second).
    virtual void PaintUnder(QPainter& painter) { (void)painter; }
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Hovered();
    // Schedules a paint (when asked) and tells the after-paint callback of a
    // new face.
    void Refresh(bool redraw = true);
    void DrawCaption(QPainter& painter, uint32_t colour);

    int m_id;
    std::array<const CSkinFace*, FACE_SLOTS> m_faces{};
    const CSkinFace* m_current = nullptr;
    const CSkinFace* m_unmarked = nullptr;
    const CSkinFace* m_marked = nullptr;
    bool m_hover = false;
    bool m_tracking = false;
    bool m_checked = false;
    bool m_markMode = false;
    bool m_mark = false;
    int m_sourceX = 0;
    int m_sourceY = 0;
    bool m_textOn = false;
    int m_fontSize = 8;
    QString m_fontFace = QStringLiteral("Tahoma Unicode MS");
    std::array<uint32_t, FACE_SLOTS> m_textColours{};
    unsigned m_textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    int m_textAngle = 0;
    bool m_angled = false;
    bool m_outline = false;
    uint32_t m_outlineColour = 0;
    AfterPaint m_afterPaint;
    const CSkinFace* m_notifiedFace = nullptr;
    bool m_notified = false;
    bool m_inCallback = false;

    struct Tooltip {
        bool active = true;
        bool hasTool = false;
        int delayMs = 0;
    };
    std::optional<Tooltip> m_tip;
    QString m_tipText;
    QTimer m_tipTimer;
};

// Redraw chaining of overlapping buttons: each of `then` is drawn after
// `drawn` wherever they overlap. Qt paints overlapping siblings in stacking
// order within one paint, so this places them just above `drawn`, in order;
// call it again when the set that must show changes.
void RedrawAfter(QWidget* drawn, const std::vector<QWidget*>& then);

QColor ColourFromRef(uint32_t colourRef); // 0x00BBGGRR
uint32_t ColourToRef(const QColor& colour);

} // namespace orvane
