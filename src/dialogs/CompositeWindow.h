#pragma once
// What the key-assignment dialog needs from the window whose key picture
// opens it. The main window implements it; tests use a stand-in.
#include <QRect>

class QWidget;

namespace orvane {

class CKeyButtonView;

class CCompositeWindow {
  public:
    virtual ~CCompositeWindow() = default;
    // The window the dialog is modal to.
    virtual QWidget* DialogParent() = 0;
    // Screen rectangle of the button with `buttonId`.
    virtual QRect ButtonScreenRect(int buttonId) = 0;
    // Gives the button its editing look while the dialog is open, and its
    // normal key look again afterwards.
    virtual void SetButtonEditing(int buttonId, bool editing) = 0;
    // The key buttons: G-key bank, tooltips, and the window's Apply.
    virtual CKeyButtonView& KeyButtons() = 0;
};

} // namespace orvane
