#include "dialogs/ProfileMenu.h"

#include <QAction>
#include <QMenu>

#include "device/DeviceCommands.h"
#include "dialogs/ProfileNames.h"
#include "services/Language.h"
#include "transfer/ActiveProfile.h"
#include "ui/PngButton.h"

namespace orvane {

ProfileMenuModel MakeProfileMenu(int activeProfile) {
    ProfileMenuModel model;
    model.items.push_back({kProfileMenuDefaultItem, Text("DEFAULT_PROFILE_NAME"), false});
    model.items.push_back({0, std::string(), false});
    for (int p = 0; p < PROFILE_COUNT; ++p)
        model.items.push_back({kProfileMenuFirstItem + p, ProfileName(p), false});
    const size_t checked = activeProfile >= 0 && activeProfile < PROFILE_COUNT ? activeProfile + 2 : 0;
    model.items[checked].checked = true;
    model.caption = model.items[checked].text;
    model.tooltip = Text("PROFILE_TIP") + model.caption;
    model.trayTip = Text("KEYBOARD_TRAY_DESC");
    if (checked != 0) model.trayTip += "\n" + model.tooltip;
    return model;
}

ProfileMenuModel BuildProfileMenu(CPngButton& button, QMenu* menu) {
    const ProfileMenuModel model = MakeProfileMenu(GetActiveProfile());
    if (menu) {
        menu->clear();
        for (const ProfileMenuItem& item : model.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromStdString(item.text));
            action->setData(item.id);
            action->setCheckable(true);
            action->setChecked(item.checked);
        }
    }
    button.setText(QString::fromStdString(model.caption));
    button.SetTooltipText(QString::fromStdString(model.tooltip), true);
    button.update();
    return model;
}

} // namespace orvane
