#pragma once
// The lighting panel's own pictures, loaded once from the skin folder at
// their own size: the switch, direction, option, tick, tool, busy-animation,
// slider and preset pictures. A file that fails to load gives an empty one.
#include <map>
#include <QPixmap>
#include <string>

namespace orvane {

class CPanelBitmaps {
  public:
    explicit CPanelBitmaps(const std::string& skinFolder);
    // The picture of file `name` ("dengup.bmp"); empty for an unknown name.
    const QPixmap& Get(const std::string& name) const;
    int Count() const { return static_cast<int>(m_pictures.size()); }

  private:
    std::map<std::string, QPixmap> m_pictures;
    QPixmap m_none;
};

} // namespace orvane
