#include "mainwnd/PanelBitmaps.h"

#include <QString>
#include <vector>

namespace orvane {

namespace {

std::vector<std::string> PanelBitmapNames() {
    std::vector<std::string> names = {
        "dengup.bmp",  "dengdown.bmp",   "leftup.bmp",  "leftdown.bmp",  "rightup.bmp", "rightdown.bmp",
        "upup.bmp",    "updown.bmp",     "downup.bmp",  "downdown.bmp",  "julong.bmp",  "julongdown.bmp",
        "kuosan.bmp",  "kuosandown.bmp", "hong.bmp",    "hongok.bmp",    "huang.bmp",   "huangok.bmp",
        "lv.bmp",      "lvok.bmp",       "lan.bmp",     "lanok.bmp",     "sjsup.bmp",   "sjsdown.bmp",
        "user1up.bmp", "user1down.bmp",  "user2up.bmp", "user2down.bmp",
    };
    for (int i = 1; i <= 10; ++i)
        names.push_back("jdt" + std::to_string(i) + ".bmp");
    for (int i = 0; i <= 25; ++i)
        names.push_back(std::to_string(i) + ".bmp");
    for (int i = 1; i <= 8; ++i)
        names.push_back("Color" + std::to_string(i) + ".bmp");
    return names;
}

} // namespace

CPanelBitmaps::CPanelBitmaps(const std::string& skinFolder) {
    for (const std::string& name : PanelBitmapNames())
        m_pictures[name] = QPixmap(QString::fromStdString(skinFolder + name));
}

const QPixmap& CPanelBitmaps::Get(const std::string& name) const {
    auto it = m_pictures.find(name);
    return it == m_pictures.end() ? m_none : it->second;
}

} // namespace orvane
