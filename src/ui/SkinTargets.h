#pragma once
// Places any widget from a skin file: the adapter the skin readers need for
// controls that are not image buttons.
#include <QWidget>

#include "app/SkinReaders.h"

namespace orvane {

class CWidgetSkinTarget final : public CSkinTarget {
  public:
    explicit CWidgetSkinTarget(QWidget* widget) : m_widget(widget) {}
    void SkinSetGeometry(const SkinRect& r, bool repaint) override {
        m_widget->setGeometry(r.x, r.y, r.w, r.h);
        if (repaint) m_widget->update();
    }
    void SkinMove(int x, int y, bool repaint) override {
        m_widget->move(x, y);
        if (repaint) m_widget->update();
    }
    void SkinEnable(bool enabled) override { m_widget->setEnabled(enabled); }

  private:
    QWidget* m_widget;
};

inline SkinRect PlaceControl(QWidget* widget, const std::string& skinFile, const std::string& key) {
    CWidgetSkinTarget target(widget);
    return SkinPlaceControl(target, skinFile, key);
}

inline SkinRect MoveControl(QWidget* widget, const std::string& skinFile, const std::string& key) {
    CWidgetSkinTarget target(widget);
    return SkinMoveControl(target, skinFile, key);
}

} // namespace orvane
