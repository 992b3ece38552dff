#pragma once
// The main window's hidden test button: bound, never configured, never shown.
#include <QPushButton>

#include "ui/ControlMessages.h"

namespace orvane {

class CButtonST : public QPushButton {
    Q_OBJECT
  public:
    explicit CButtonST(QWidget* parent = nullptr, int controlId = 0) : QPushButton(parent) {
        SetControlId(this, controlId);
        hide();
    }
};

} // namespace orvane
