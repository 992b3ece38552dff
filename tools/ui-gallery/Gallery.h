#pragma once
// The gallery of every skinned control in each of its states, built on the
// shipped skin pictures. The ui-gallery tool draws it into a PNG file or
// shows it as a window; the keyboard tests walk it.
#include <memory>
#include <QString>
#include <QWidget>

namespace orvane {

class CGallery {
  public:
    // `programFolder` holds Skins/ (ends with '/'). Null when its pictures
    // cannot be read.
    static std::unique_ptr<CGallery> Build(const QString& programFolder);
    ~CGallery();

    QWidget* Window() const { return m_window.get(); }
    // Opens a cell edit in the report list, for the picture of that state.
    void OpenCellEdit();

  private:
    CGallery();
    struct Faces;
    std::unique_ptr<Faces> m_faces; // the buttons refer to them: they outlive the window
    std::unique_ptr<QWidget> m_window;
};

} // namespace orvane
