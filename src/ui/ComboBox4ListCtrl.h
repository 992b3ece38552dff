#pragma once
// The drop-down a report list places over a cell for choices instead of text.
#include <QComboBox>

namespace orvane {

class CReportCtrl;

class CComboBox4ListCtrl : public QComboBox {
    Q_OBJECT
  public:
    CComboBox4ListCtrl(CReportCtrl* list, int row, int column);
    int Row() const { return m_row; }
    int Column() const { return m_column; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    CReportCtrl* m_list;
    int m_row;
    int m_column;
};

} // namespace orvane
