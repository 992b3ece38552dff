#pragma once
// The skinned dialog every window of the program derives from: borderless,
// its face a picture from the skin folder, its outline cut from a mask
// picture, dragged by any point of its surface.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <string>

#include "app/SkinIniFile.h"

namespace orvane {

class CBaseDialog : public QDialog {
    Q_OBJECT
  public:
    // Picture colour that lies outside the window, as 0x00BBGGRR.
    static constexpr uint32_t kMaskTransparent = 0xFFFFFF;

    CBaseDialog(QWidget* parent, std::string skinFile, std::string skinFolder);
    ~CBaseDialog() override;

    // Runs OnInitDialog, then the modal loop, like the platform's modal
    // dialogs: a dialog initialises every time it is run. Returns IDOK when
    // it ended by OnOK, IDCANCEL otherwise (the prompt interface's codes).
    int DoModal();
    // Initialisation: loads the skin. Derived dialogs call the base first,
    // and create their controls only while IsFirstInit(): the same object
    // may be run again and must not pile up a second set.
    virtual bool OnInitDialog();
    bool IsFirstInit() const { return m_initCount == 1; }
    // End the dialog, releasing its pictures first.
    virtual void OnOK();
    virtual void OnCancel();

    const std::string& SkinFile() const { return m_skinFile; }
    const std::string& SkinFolder() const { return m_skinFolder; }
    const QPixmap& Background() const { return m_background; }
    const QRegion& Outline() const { return m_outline; }
    bool HasPictures() const { return !m_background.isNull(); }
    bool IsLoadingSkin() const { return m_loadingSkin != 0; }

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

  protected:
    void ApplySkin();
    void ReleasePictures();
    void EndDialogOk() { QDialog::accept(); }
    void EndDialogCancel() { QDialog::reject(); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Whether a press at `pos` lies on one of the dialog's controls, which
    // never drag the window.
    bool PressOnControl(const QPoint& pos) const;

    QPixmap m_background;
    int m_loadingSkin = 0;
    int m_initCount = 0;
    std::string m_skinFile;
    std::string m_skinFolder;
    CIniFile m_ini;
    QRegion m_outline;
    // A press on the background drags once the pointer moves; by hand where
    // the window system will not move the window.
    enum class Drag { None, Pending, Manual };
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    QPoint m_dragOffset;
};

} // namespace orvane
