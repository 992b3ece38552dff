#include "ui/ControlAccessibility.h"

#include <functional>
#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/BitmapSlider.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"
#include "ui/SkinColorBtn.h"

namespace orvane {
namespace {

// A control the user presses: its name falls back from the owner's
// accessible name (or a label whose buddy it is) to a text of its own.
class CPressableAccessible : public QAccessibleWidget {
  public:
    CPressableAccessible(QWidget* w, QAccessible::Role role, std::function<QString()> ownText,
                         std::function<QString()> value, std::function<void()> press)
        : QAccessibleWidget(w, role), m_ownText(std::move(ownText)), m_value(std::move(value)),
          m_press(std::move(press)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            QString name = QAccessibleWidget::text(t);
            return name.isEmpty() && m_ownText ? m_ownText() : name;
        }
        if (t == QAccessible::Value && m_value) return m_value();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* button = qobject_cast<CPngButton*>(widget()); button && button->IsChecked()) {
            s.checkable = true;
            s.checked = true;
        }
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled())
            m_press();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    std::function<QString()> m_ownText;
    std::function<QString()> m_value;
    std::function<void()> m_press;
};

class CSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit CSliderAccessible(CBitmapSlider* s) : QAccessibleWidget(s, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Slider()->Pos());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Slider()->Pos(); }
    void setCurrentValue(const QVariant& value) override {
        if (Slider()->isEnabled()) Slider()->MoveBy(value.toInt());
    }
    QVariant maximumValue() const override { return std::max(Slider()->RangeMin(), Slider()->RangeMax()); }
    QVariant minimumValue() const override { return std::min(Slider()->RangeMin(), Slider()->RangeMax()); }
    QVariant minimumStepSize() const override { return 1; }

  private:
    CBitmapSlider* Slider() const { return static_cast<CBitmapSlider*>(widget()); }
};

QAccessibleInterface* ControlFactory(const QString&, QObject* object) {
    if (auto* slider = qobject_cast<CBitmapSlider*>(object)) return new CSliderAccessible(slider);
    if (auto* button = qobject_cast<CPngButton*>(object))
        return new CPressableAccessible(
            button, QAccessible::Button,
            [button] { return button->text().isEmpty() ? button->TooltipText() : button->text(); }, nullptr,
            [button] { button->click(); });
    if (auto* link = qobject_cast<CHyperLink*>(object))
        return new CPressableAccessible(
            link, QAccessible::Link, [link] { return link->text(); }, [link] { return link->URL(); },
            [link] { link->Open(); });
    if (auto* picker = qobject_cast<CSkinColorBtn*>(object))
        return new CPressableAccessible(
            picker, QAccessible::ButtonDropDown, [picker] { return picker->toolTip(); },
            [picker] { return ColourFromRef(picker->GetColor()).name(); }, [picker] { picker->click(); });
    return nullptr;
}

} // namespace

void EnsureControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ControlFactory);
        return true;
    }();
    (void)installed;
}

} // namespace orvane
