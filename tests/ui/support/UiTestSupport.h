#pragma once
// Shared pieces of the widget tests: a parent that records the messages its
// controls send, and faces with known pixels.
#include <memory>
#include <QWidget>
#include <vector>

#include "ui/ControlMessages.h"
#include "ui/SkinFace.h"

namespace orvane::test {

struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// A dialog stand-in: keeps every message its child controls post or send.
class CRecordingParent : public QWidget {
  public:
    CRecordingParent() { SetMessageReceiver(this); }
    std::vector<Message> messages;
    // Waits for posted messages to arrive.
    void Drain();

  protected:
    bool event(QEvent* event) override;
};

// A face whose pixel (x, y) is FacePixel(tag, x, y): tells which face and
// which rectangle of it a button shows.
QRgb FacePixel(int tag, int x, int y);
std::unique_ptr<CSkinFace> MakeFace(int tag, int width = 300, int height = 200);

} // namespace orvane::test
