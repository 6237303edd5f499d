#include "gui/main_window/central_area.h"

#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include "app/window_layout.h"
#include "gui/main_window/menu_icons.h"
#include "gui/main_window/strip_painting.h"

namespace lexora {
namespace {

LayoutRect areaRect(const QWidget& area) { return LayoutRect{0, 0, area.width(), area.height()}; }

}  // namespace

CentralArea::CentralArea(QWidget* parent) : QWidget(parent) {
  selectDictButton_ = new QToolButton(this);
  selectDictButton_->setObjectName(QStringLiteral("selectDictButton"));
  selectDictButton_->setIcon(selectDictIcon());
  selectDictButton_->setToolTip(QStringLiteral("Select Dict"));
  lookupButton_ = new QToolButton(this);
  lookupButton_->setObjectName(QStringLiteral("lookupButton"));
  lookupButton_->setIcon(lookupIcon());
  lookupButton_->setToolTip(QStringLiteral("Look up"));
  for (QToolButton* button : {selectDictButton_, lookupButton_}) {
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  wordBox_ = new QLineEdit(this);
  wordBox_->setObjectName(QStringLiteral("wordBox"));
  wordBox_->setFrame(false);
}

void CentralArea::setPanes(std::vector<QWidget*> panes) {
  panes_ = std::move(panes);
  placeAll();
}

void CentralArea::placeAll() {
  const WindowLayout layout = computeLayout(areaRect(*this));
  placeChildren(layout, selectDictButton_, wordBox_, lookupButton_, {});
  for (QWidget* pane : panes_) {
    pane->setGeometry(layout.pane.x, layout.pane.y, layout.pane.width, layout.pane.height);
  }
}

void CentralArea::resizeEvent(QResizeEvent*) { placeAll(); }

void CentralArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintTopStrip(painter, areaRect(*this));
}

}  // namespace lexora
