#pragma once
// The About box's link: coloured text that opens its address when clicked
// and remembers that it was visited.
#include <functional>
#include <QFont>
#include <QLabel>
#include <string>

namespace orvane {

// The reason text for a failed opening, by the platform's result code.
std::string HyperLinkErrorText(int code);
// Codes above 32 mean the address was opened.
constexpr int kLinkOpened = 33;
// Nothing on this desktop opens addresses: no browser, no xdg-open.
constexpr int kNoLinkOpener = 31;

class CHyperLink : public QLabel {
    Q_OBJECT
  public:
    // 0x00BBGGRR
    static constexpr uint32_t kLinkColour = 0xEE0000;
    static constexpr uint32_t kVisitedColour = 0x8B1A55;
    static constexpr uint32_t kHoverColour = 0x0000FF;

    // Opens an address; returns a result code (> 32 on success).
    using Opener = std::function<int(const QString& url)>;

    explicit CHyperLink(QWidget* parent = nullptr, int controlId = 0);

    // Completes the control once its text is set, as attaching to the
    // dialog's static does: fills an empty address from the text and an
    // empty text from the address, makes the fonts, fits the size.
    void Attach();
    void SetURL(const QString& url);
    QString URL() const { return m_url; }
    void SetAutoSize(bool on) { m_autoSize = on; }
    // The centre-image style: fitting keeps the control's middle instead of its top.
    void SetCentreImage(bool on) { m_centreImage = on; }
    void SetVisited(bool visited);
    bool IsVisited() const { return m_visited; }
    bool IsOver() const { return m_over; }
    // The text colour in force (0x00BBGGRR).
    uint32_t CurrentColour() const;
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    // The default opening: the desktop's URL handler, then xdg-open.
    static int OpenWithShell(const QString& url);
    void Open();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Fit();
    void ApplyColour();
    void Left();

    QString m_url;
    bool m_over = false;
    bool m_visited = false;
    bool m_autoSize = true;
    bool m_centreImage = false;
    bool m_fontsMade = false;
    QFont m_plainFont;
    QFont m_underlinedFont;
    Opener m_opener;
};

} // namespace orvane
